#pragma once
// Message boxes, behind a small interface so that window tests can answer them.

#include <QString>
#include <functional>
#include <memory>

namespace pellwick {

// A message on screen; it closes when this goes, unless the user closed it before.
class ShownMessage {
 public:
  virtual ~ShownMessage() = default;
};

class UserMessages {
 public:
  virtual ~UserMessages() = default;

  // Modal, with an OK button; returns when dismissed.
  virtual void critical(const QString& title, const QString& text) = 0;
  // The others block nothing: they return at once, and the message stays until the user
  // closes it. A warning wears the warning icon, a notice the information icon.
  virtual void warning(const QString& title, const QString& text) = 0;
  virtual void notice(const QString& title, const QString& text) = 0;
  // A notice with a button of its own beside "Close": choosing it runs `chosen`.
  virtual std::unique_ptr<ShownMessage> noticeWithButton(const QString& title, const QString& text,
                                                         const QString& buttonCaption,
                                                         std::function<void()> chosen) = 0;
};

class MessageBoxes : public UserMessages {
 public:
  void critical(const QString& title, const QString& text) override;
  void warning(const QString& title, const QString& text) override;
  void notice(const QString& title, const QString& text) override;
  std::unique_ptr<ShownMessage> noticeWithButton(const QString& title, const QString& text,
                                                 const QString& buttonCaption,
                                                 std::function<void()> chosen) override;
};

}  // namespace pellwick
