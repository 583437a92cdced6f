#include "window/crypt_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "window/code_page.h"
#include "window/text_crypt.h"

namespace quistel {
namespace {

const QString kFolderName = QStringLiteral("The Crypt");

bool MakeWritableFolder(const QString& path) {
  return QDir().mkpath(path) && QFileInfo(path).isWritable();
}

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

QString LocateCryptFolder(const CryptPlaces& places) {
  const QString beside = QDir(places.programFolder).filePath(kFolderName);
  if (MakeWritableFolder(beside)) return beside;
  const QString own = QDir(places.userDataFolder).filePath(kFolderName);
  QDir().mkpath(own);
  return own;
}

SaveResult SaveToCrypt(const QString& folder, const QByteArray& content) {
  if (!QDir().mkpath(folder)) {
    return {{}, QString("The folder %1 is missing and cannot be created.").arg(Native(folder))};
  }
  const QDir dir(folder);
  for (int n = 1; n <= kLastCryptNumber; ++n) {
    const QString path = dir.filePath(QStringLiteral("crypt%1.txt").arg(n));
    if (FileExists(path)) continue;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
      if (QFileInfo::exists(path)) continue;  // taken meanwhile, or by a folder of that name
      return {{},
              QString("The file %1 cannot be created: %2.").arg(Native(path), file.errorString())};
    }
    const bool written = file.write(content) == content.size() && file.flush();
    const QString reason = file.errorString();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
      file.remove();
      return {{}, QString("The file %1 cannot be written: %2.").arg(Native(path), reason)};
    }
    return {path, {}};
  }
  return {{},
          QString("All names from crypt1.txt to crypt%1.txt in %2 are taken. Move some files away, "
                  "then save again.")
              .arg(kLastCryptNumber)
              .arg(Native(folder))};
}

ReadResult ReadCryptFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {std::nullopt,
            QString("The file %1 cannot be opened: %2.").arg(Native(path), file.errorString())};
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    return {std::nullopt,
            QString("The file %1 cannot be read: %2.").arg(Native(path), file.errorString())};
  }
  if (bytes.endsWith("\r\n")) bytes.chop(2);
  return {FromCodePage(bytes), {}};
}

}  // namespace quistel
