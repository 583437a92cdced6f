#pragma once
// Message boxes that are answered at once and remembered.

#include <functional>
#include <memory>
#include <vector>

#include "platform/user_messages.h"

namespace pellwick::testing {

class FakeUserMessages : public UserMessages {
 public:
  struct Message {
    bool critical;
    QString title;
    QString text;
    bool modal = true;
    QString buttonCaption = {};
    std::function<void()> button = {};
    // False once the program closed the message through its handle.
    std::shared_ptr<bool> open = std::make_shared<bool>(true);
  };
  void critical(const QString& title, const QString& text) override {
    shown.push_back({true, title, text});
  }
  void warning(const QString& title, const QString& text) override {
    shown.push_back({false, title, text, false});
  }
  void notice(const QString& title, const QString& text) override {
    shown.push_back({false, title, text, false});
  }
  std::unique_ptr<ShownMessage> noticeWithButton(const QString& title, const QString& text,
                                                 const QString& buttonCaption,
                                                 std::function<void()> chosen) override {
    shown.push_back({false, title, text, false, buttonCaption, std::move(chosen)});
    return std::make_unique<Handle>(shown.back().open);
  }
  std::vector<Message> shown;

 private:
  struct Handle : ShownMessage {
    explicit Handle(std::shared_ptr<bool> open) : open(std::move(open)) {}
    ~Handle() override { *open = false; }
    std::shared_ptr<bool> open;
  };
};

}  // namespace pellwick::testing
