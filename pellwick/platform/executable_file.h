#pragma once
// The running program's executable file.

#include <string>

namespace pellwick {

struct ExecutableFile {
  std::string path;  // absolute, as the system started it, in UTF-8
  std::string name;  // the file name without its extension, e.g. "pellwick"
};

// Needs a running QCoreApplication.
ExecutableFile runningExecutable();

}  // namespace pellwick
