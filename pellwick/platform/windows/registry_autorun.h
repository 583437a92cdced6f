#pragma once
// The start-at-login entry as a string value under the per-user Run key of the registry,
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run.

#include "platform/autorun.h"

namespace pellwick::win32 {

class RegistryAutoRun : public AutoRun {
 public:
  // The value `name` holds the quoted native path, so that a path with blanks starts that
  // program and nothing else. A path holding a double quote is refused. A failure names
  // the value under its key and the system's reason.
  AutoRunResult setEntry(const std::string& name, const std::string& executablePath) override;
  AutoRunResult clearEntry(const std::string& name) override;
};

// The path of the running executable, as the system reports it (no length limit).
std::string runningExecutablePath();

}  // namespace pellwick::win32
