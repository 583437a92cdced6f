#include "platform/linux/xdg_autorun.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <string_view>

namespace pellwick {
namespace {

constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

// The escapes every string value of a desktop entry gets, after the Exec quoting.
std::string escapeStringValue(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

QString localPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

std::string xdgConfigHome(const char* xdgConfigHome, const std::string& home) {
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return xdgConfigHome;
  return home + "/.config";
}

std::string desktopEntryCommand(const std::string& executablePath) {
  std::string argument;
  const bool quoted = executablePath.find_first_of(kReservedInExec) != std::string::npos;
  for (char c : executablePath) {
    if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) argument += '\\';
    argument += c;
    if (c == '%') argument += '%';  // a literal percent sign, not a field code
  }
  if (quoted) argument = '"' + argument + '"';
  return escapeStringValue(argument);
}

std::string autostartEntry(const std::string& name, const std::string& executablePath) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         escapeStringValue(name) +
         "\n"
         "Exec=" +
         desktopEntryCommand(executablePath) +
         "\n"
         "Terminal=false\n";
}

XdgAutoRun::XdgAutoRun(std::string configHome) : configHome_(std::move(configHome)) {}

std::string XdgAutoRun::entryPath(const std::string& name) const {
  return configHome_ + "/autostart/" + name + ".desktop";
}

bool XdgAutoRun::setEntry(const std::string& name, const std::string& executablePath) {
  if (!QDir().mkpath(localPath(configHome_ + "/autostart"))) return false;
  QSaveFile file(localPath(entryPath(name)));
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string text = autostartEntry(name, executablePath);
  file.write(text.data(), static_cast<qint64>(text.size()));
  return file.commit();
}

bool XdgAutoRun::clearEntry(const std::string& name) {
  QFile file(localPath(entryPath(name)));
  return !file.exists() || file.remove();
}

}  // namespace pellwick
