#pragma once
// The per-user "start at login" entry.

#include <string>

namespace pellwick {

// What became of a change to the entry. When it failed, `entry` says where the entry lives
// as a user would look for it (e.g. "~/.config/autostart/pellwick.desktop") and `reason`
// why, in the system's words (e.g. "Permission denied").
struct AutoRunResult {
  bool done = false;
  std::string entry;
  std::string reason;
};

class AutoRun {
 public:
  virtual ~AutoRun() = default;

  // Writes the entry `name` that starts `executablePath` at login, replacing an older one.
  // Quoting the path is the implementation's business; a path it cannot write faithfully
  // is refused.
  virtual AutoRunResult setEntry(const std::string& name, const std::string& executablePath) = 0;
  // Removes the entry `name`; done also when there was none.
  virtual AutoRunResult clearEntry(const std::string& name) = 0;
};

}  // namespace pellwick
