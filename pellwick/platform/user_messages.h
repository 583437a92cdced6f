#pragma once
// Message boxes, behind a small interface so that window tests can answer them.

#include <QString>

namespace pellwick {

class UserMessages {
 public:
  virtual ~UserMessages() = default;

  // Modal, with an OK button; return when dismissed.
  virtual void critical(const QString& title, const QString& text) = 0;
  virtual void warning(const QString& title, const QString& text) = 0;
  // Not modal: returns at once; the message stays until the user closes it.
  virtual void notice(const QString& title, const QString& text) = 0;
};

class MessageBoxes : public UserMessages {
 public:
  void critical(const QString& title, const QString& text) override;
  void warning(const QString& title, const QString& text) override;
  void notice(const QString& title, const QString& text) override;
};

}  // namespace pellwick
