#include "platform/linux/xdg_autorun.h"

#include <QFile>
#include <QSaveFile>
#include <filesystem>
#include <string_view>
#include <system_error>

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

// One argument of an Exec key: quoted when it holds a reserved character, a percent sign
// doubled so that it is no field code.
std::string execArgument(const std::string& text) {
  std::string argument;
  const bool quoted = text.find_first_of(kReservedInExec) != std::string::npos;
  for (char c : text) {
    if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) argument += '\\';
    argument += c;
    if (c == '%') argument += '%';
  }
  return quoted ? '"' + argument + '"' : argument;
}

bool isUtf8(const std::string& text) {
  return QString::fromUtf8(text).toUtf8() == QByteArray::fromStdString(text);
}

QString localPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

std::string xdgConfigHome(const char* xdgConfigHome, const std::string& home) {
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return xdgConfigHome;
  return home + "/.config";
}

std::string desktopEntryCommand(const std::string& executablePath) {
  std::string command = execArgument(executablePath);
  // GLib checks that the program exists before it turns "%%" into "%": the program run
  // is the shell, which gets the path as its $0.
  if (executablePath.find('%') != std::string::npos) {
    command = "/bin/sh -c " + execArgument("exec \"$0\"") + ' ' + command;
  }
  return escapeStringValue(command);
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

XdgAutoRun::XdgAutoRun(std::string configHome, std::string home)
    : configHome_(std::move(configHome)), home_(std::move(home)) {}

std::string XdgAutoRun::entryPath(const std::string& name) const {
  return configHome_ + "/autostart/" + name + ".desktop";
}

AutoRunResult XdgAutoRun::failed(const std::string& path, const QString& reason) const {
  const bool inHome = !home_.empty() && path.starts_with(home_ + '/');
  const std::string shown = inHome ? '~' + path.substr(home_.size()) : path;
  return {false, QString::fromUtf8(shown).toStdString(), reason.toStdString()};
}

AutoRunResult XdgAutoRun::setEntry(const std::string& name, const std::string& executablePath) {
  const std::string entry = entryPath(name);
  if (executablePath.empty() || name.empty()) {
    return failed(entry, "the system tells no path of Pellwick's program file");
  }
  if (!isUtf8(executablePath)) {
    return failed(entry, QString("the path of Pellwick's program file, %1, is not valid UTF-8")
                             .arg(QString::fromUtf8(executablePath)));
  }
  std::error_code error;
  std::filesystem::create_directories(configHome_ + "/autostart", error);
  if (error) return failed(entry, QString::fromStdString(error.message()));
  QSaveFile file(localPath(entry));
  const std::string text = autostartEntry(name, executablePath);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    return failed(entry, file.errorString());
  }
  return {true, {}, {}};
}

AutoRunResult XdgAutoRun::clearEntry(const std::string& name) {
  QFile file(localPath(entryPath(name)));
  if (!file.exists() || file.remove()) return {true, {}, {}};
  return failed(entryPath(name), file.errorString());
}

}  // namespace pellwick
