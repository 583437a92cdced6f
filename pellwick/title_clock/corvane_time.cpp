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
}

// The timer starts once the copy is known to be the only one: a second copy, ending behind
// its warning, neither rewrites a caption nor loads the tray host.
void CorvaneTime::load() {
  if (windows_.passesSingleInstanceTest()) Timer1.start();
}

void CorvaneTime::tick() {
  const DisplayMarks marks = windows_.frmSysTray().displayMarks();
  if (onTick_) onTick_(marks);
}

}  // namespace pellwick
