#include "tray_host/user_messages.h"

#include <QMessageBox>

namespace pellwick {

void MessageBoxes::critical(const QString& title, const QString& text) {
  QMessageBox::critical(nullptr, title, text);
}

void MessageBoxes::warning(const QString& title, const QString& text) {
  QMessageBox::warning(nullptr, title, text);
}

}  // namespace pellwick
