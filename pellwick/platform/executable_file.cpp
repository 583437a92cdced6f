#include "platform/executable_file.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace pellwick {

ExecutableFile runningExecutable() {
  // UTF-8 on every system, as the platform layers expect: on Windows QFile::encodeName
  // would give the ANSI code page, which garbles a path like C:\Users\Zoë.
  const QFileInfo file(QCoreApplication::applicationFilePath());
  return {file.absoluteFilePath().toStdString(), file.completeBaseName().toStdString()};
}

}  // namespace pellwick
