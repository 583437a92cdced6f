#include "platform/user_messages.h"

#include <QMessageBox>

namespace pellwick {

void MessageBoxes::critical(const QString& title, const QString& text) {
  QMessageBox::critical(nullptr, title, text);
}

void MessageBoxes::warning(const QString& title, const QString& text) {
  QMessageBox::warning(nullptr, title, text);
}

void MessageBoxes::notice(const QString& title, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

}  // namespace pellwick
