#pragma once
// Start at login on a Linux desktop: an XDG autostart entry, <config>/autostart/<name>.desktop.

#include <QString>
#include <string>

#include "platform/autorun.h"

namespace pellwick {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// <home>/.config. `xdgConfigHome` may be null (variable not set).
std::string xdgConfigHome(const char* xdgConfigHome, const std::string& home);

// `executablePath` as the command of a desktop entry's Exec key, quoted and escaped so that
// blanks and shell characters in the path survive. A path with a percent sign is run by
// /bin/sh: launchers built on GLib look for the program under its escaped name ("%%").
std::string desktopEntryCommand(const std::string& executablePath);

// The whole desktop entry that starts `executablePath` at login.
std::string autostartEntry(const std::string& name, const std::string& executablePath);

class XdgAutoRun : public AutoRun {
 public:
  // `home` only shortens the places named in failures to "~/...".
  XdgAutoRun(std::string configHome, std::string home);

  // Refuses an empty path and one that is no UTF-8: a desktop entry holds UTF-8 only.
  AutoRunResult setEntry(const std::string& name, const std::string& executablePath) override;
  AutoRunResult clearEntry(const std::string& name) override;

  std::string entryPath(const std::string& name) const;

 private:
  AutoRunResult failed(const std::string& path, const QString& reason) const;

  std::string configHome_;
  std::string home_;
};

}  // namespace pellwick
