#include "platform/user_messages.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace pellwick {
namespace {

// A box that goes when closed and leaves every other window usable meanwhile. Its text
// can be selected and copied: it may name a file the user wants to look at.
QMessageBox* makeModelessBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                             QMessageBox::StandardButtons buttons) {
  auto* box = new QMessageBox(icon, title, text, buttons);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  return box;
}

class ShownBox : public ShownMessage {
 public:
  explicit ShownBox(QMessageBox* box) : box_(box) {}
  ~ShownBox() override {
    if (box_) box_->close();
  }

 private:
  QPointer<QMessageBox> box_;
};

}  // namespace

void MessageBoxes::critical(const QString& title, const QString& text) {
  QMessageBox::critical(nullptr, title, text);
}

void MessageBoxes::warning(const QString& title, const QString& text) {
  makeModelessBox(QMessageBox::Warning, title, text, QMessageBox::Ok)->show();
}

void MessageBoxes::notice(const QString& title, const QString& text) {
  makeModelessBox(QMessageBox::Information, title, text, QMessageBox::Ok)->show();
}

std::unique_ptr<ShownMessage> MessageBoxes::noticeWithButton(const QString& title,
                                                             const QString& text,
                                                             const QString& buttonCaption,
                                                             std::function<void()> chosen) {
  QMessageBox* box = makeModelessBox(QMessageBox::Information, title, text, QMessageBox::Close);
  QPushButton* button = box->addButton(buttonCaption, QMessageBox::AcceptRole);
  box->setDefaultButton(QMessageBox::Close);
  box->setEscapeButton(QMessageBox::Close);
  QObject::connect(button, &QPushButton::clicked, box, std::move(chosen));
  box->show();
  return std::make_unique<ShownBox>(box);
}

}  // namespace pellwick
