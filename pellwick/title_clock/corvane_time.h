#pragma once
// The clock window: never seen, it carries the title-bar clock's 500 ms timer. Each tick
// reads the display-mode marks from the tray host; the first read creates the tray host.

#include <QTimer>
#include <functional>

#include "title_clock/display_marks.h"
#include "tray_host/hidden_window.h"

namespace pellwick {

class ProgramWindows;

class CorvaneTime : public HiddenWindow {
  Q_OBJECT

 public:
  // What one tick does with the marks it read.
  using TickHandler = std::function<void(const DisplayMarks& marks)>;

  CorvaneTime(ProgramWindows& windows, TickHandler onTick);

  // The single-instance test; the timer runs from here on.
  void load();
  QTimer& timer() { return Timer1; }

 private:
  void tick();

  ProgramWindows& windows_;
  TickHandler onTick_;
  QTimer Timer1{this};
};

}  // namespace pellwick
