#pragma once
// Start at login on a Linux desktop: an XDG autostart entry, <config>/autostart/<name>.desktop.

#include <string>

#include "platform/autorun.h"

namespace pellwick {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// <home>/.config. `xdgConfigHome` may be null (variable not set).
std::string xdgConfigHome(const char* xdgConfigHome, const std::string& home);

// `executablePath` as the command of a desktop entry's Exec key, quoted and escaped so that
// blanks and shell characters in the path survive.
std::string desktopEntryCommand(const std::string& executablePath);

// The whole desktop entry that starts `executablePath` at login.
std::string autostartEntry(const std::string& name, const std::string& executablePath);

class XdgAutoRun : public AutoRun {
 public:
  explicit XdgAutoRun(std::string configHome);

  bool setEntry(const std::string& name, const std::string& executablePath) override;
  bool clearEntry(const std::string& name) override;

  std::string entryPath(const std::string& name) const;

 private:
  std::string configHome_;
};

}  // namespace pellwick
