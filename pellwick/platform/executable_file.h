#pragma once
// The running program's executable file.

#include <string>

namespace pellwick {

struct ExecutableFile {
  // Absolute, as the system started it: in UTF-8 wherever the system's path has a UTF-8
  // form; on Linux otherwise the file system's bytes, which are no UTF-8. Empty when the
  // system tells no path.
  std::string path;
  std::string name;  // the file name without its extension, e.g. "pellwick"
};

// Needs a running QCoreApplication.
ExecutableFile runningExecutable();

}  // namespace pellwick
