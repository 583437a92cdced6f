#include "platform/executable_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <filesystem>

namespace pellwick {

ExecutableFile runningExecutable() {
  // UTF-8 on every system, as the platform layers expect: on Windows QFile::encodeName
  // would give the ANSI code page, which garbles a path like C:\Users\Zoë.
  const QFileInfo file(QCoreApplication::applicationFilePath());
  if (!file.filePath().isEmpty()) {
    return {file.absoluteFilePath().toStdString(), file.completeBaseName().toStdString()};
  }
  // Qt finds no file when a folder's name is no UTF-8; Linux's link to the running file
  // still holds the bytes, and the autorun judges what it can write of them.
  std::error_code error;
  const std::filesystem::path link = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !std::filesystem::exists(link, error)) return {};
  return {link.string(), link.stem().string()};
}

}  // namespace pellwick
