#pragma once
// Helpers for the window tests: answering a modal dialog from the test. window_testing.cpp
// gives the test program its QApplication.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace quistel {

// Waits (up to 5 s) for a modal dialog of the given type and hands it to `answer`. Any other
// modal widget, or none, fails the test and is closed so that the test does not hang.
template <typename Dialog>
void answerNextDialog(std::function<void(Dialog*)> answer) {
  auto* timer = new QTimer;
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, ticks, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = qobject_cast<Dialog*>(modal);
    if (dialog == nullptr && ++*ticks < 500) return;
    timer->stop();
    timer->deleteLater();
    if (dialog != nullptr) return answer(dialog);
    ADD_FAILURE() << "the expected dialog did not appear";
    if (modal != nullptr) modal->close();
  });
  timer->start(10);
}

}  // namespace quistel
