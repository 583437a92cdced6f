#pragma once
// Message boxes that are answered at once and remembered.

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
  };
  void critical(const QString& title, const QString& text) override {
    shown.push_back({true, title, text});
  }
  void warning(const QString& title, const QString& text) override {
    shown.push_back({false, title, text});
  }
  void notice(const QString& title, const QString& text) override {
    shown.push_back({false, title, text, false});
  }
  std::vector<Message> shown;
};

}  // namespace pellwick::testing
