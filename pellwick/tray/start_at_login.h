#pragma once
// Start at login: the entry is named after the executable and starts the very executable
// that is running, wherever it is installed and whatever it is called.

#include "platform/autorun.h"
#include "platform/executable_file.h"

namespace pellwick {

// Writes the entry when `on`, removes it otherwise.
inline AutoRunResult setStartAtLogin(AutoRun& autoRun, const ExecutableFile& executable, bool on) {
  return on ? autoRun.setEntry(executable.name, executable.path)
            : autoRun.clearEntry(executable.name);
}

}  // namespace pellwick
