#pragma once
// The per-user "start at login" entry.

#include <string>

namespace pellwick {

class AutoRun {
 public:
  virtual ~AutoRun() = default;

  // Writes the entry `name` that starts `executablePath` at login, replacing an older one.
  // Quoting the path is the implementation's business. False when it could not be written.
  virtual bool setEntry(const std::string& name, const std::string& executablePath) = 0;
  // Removes the entry `name`; true also when there was none. False when it could not be removed.
  virtual bool clearEntry(const std::string& name) = 0;
};

}  // namespace pellwick
