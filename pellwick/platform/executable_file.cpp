#include "platform/executable_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace pellwick {

ExecutableFile runningExecutable() {
  const QFileInfo file(QCoreApplication::applicationFilePath());
  return {QFile::encodeName(file.absoluteFilePath()).toStdString(),
          QFile::encodeName(file.completeBaseName()).toStdString()};
}

}  // namespace pellwick
