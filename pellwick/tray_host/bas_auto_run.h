#pragma once
// Start at login: the entry is named after the executable and starts the very executable
// that is running, wherever it is installed and whatever it is called.

#include "platform/autorun.h"
#include "platform/executable_file.h"

namespace pellwick {

// False when the entry could not be written.
inline bool SetAutoRun(AutoRun& autoRun, const ExecutableFile& executable) {
  return autoRun.setEntry(executable.name, executable.path);
}

// False when an entry is left behind.
inline bool ClearAutoRun(AutoRun& autoRun, const ExecutableFile& executable) {
  return autoRun.clearEntry(executable.name);
}

}  // namespace pellwick
