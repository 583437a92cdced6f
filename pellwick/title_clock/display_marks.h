#pragma once
// The four display-mode check marks of the tray menu, as the clock reads them each tick.

namespace pellwick {

struct DisplayMarks {
  bool mesldate = false;  // long date
  bool messdate = false;  // short date
  bool mestime = false;   // long date and time
  bool mesdate = false;   // short date and time
};

}  // namespace pellwick
