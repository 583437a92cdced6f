#include "title_clock/corvane_time.h"

#include "tray_host/frm_sys_tray.h"
#include "tray_host/program_windows.h"

namespace pellwick {

CorvaneTime::CorvaneTime(ProgramWindows& windows, TickHandler onTick)
    : HiddenWindow("Form1"), windows_(windows), onTick_(std::move(onTick)) {
  // The default font; the clock divides the window width by its size in points.
  QFont defaultFont = font();
  defaultFont.setPointSizeF(8.25);
  setFont(defaultFont);
  Timer1.setInterval(500);
  connect(&Timer1, &QTimer::timeout, this, &CorvaneTime::tick);
  Timer1.start();
}

void CorvaneTime::load() { windows_.passesSingleInstanceTest(); }

void CorvaneTime::tick() {
  const DisplayMarks marks = windows_.frmSysTray().displayMarks();
  if (onTick_) onTick_(marks);
}

}  // namespace pellwick
