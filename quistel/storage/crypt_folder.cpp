#include "storage/crypt_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "text/code_page.h"

namespace quistel {
namespace {

const QString kFolderName = QStringLiteral("The Crypt");

// Tried with a file of our own, created and removed again: permission bits and Windows'
// access lists both have their say, and a folder made by an elevated run counts as it is.
bool canCreateFilesIn(const QString& folder) {
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".probe-XXXXXX")));
  return probe.open();
}

bool makeWritableFolder(const QString& path) {
  return QDir().mkpath(path) && canCreateFilesIn(path);
}

QString nativePath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

bool isVisibleFile(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && !info.isHidden();
}

QString locateCryptFolder(const CryptPlaces& places) {
  const QString beside = QDir(places.programFolder).filePath(kFolderName);
  if (makeWritableFolder(beside)) return beside;
  const QString own = QDir(places.userDataFolder).filePath(kFolderName);
  QDir().mkpath(own);
  return own;
}

SaveResult saveToCrypt(const QString& folder, const QByteArray& content) {
  if (!QDir().mkpath(folder)) {
    return {{}, QString("The folder %1 is missing and cannot be created.").arg(nativePath(folder))};
  }
  const QDir dir(folder);
  for (int n = 1; n <= kLastCryptNumber; ++n) {
    const QString path = dir.filePath(QStringLiteral("crypt%1.txt").arg(n));
    if (isVisibleFile(path)) continue;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
      if (QFileInfo::exists(path)) continue;  // taken meanwhile, or by a folder of that name
      return {
          {},
          QString("The file %1 cannot be created: %2.").arg(nativePath(path), file.errorString())};
    }
    const bool written = file.write(content) == content.size() && file.flush();
    const QString reason = file.errorString();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
      file.remove();
      return {{}, QString("The file %1 cannot be written: %2.").arg(nativePath(path), reason)};
    }
    return {path, {}};
  }
  return {{},
          QString("All names from crypt1.txt to crypt%1.txt in %2 are taken. Move some files away, "
                  "then save again.")
              .arg(kLastCryptNumber)
              .arg(nativePath(folder))};
}

ReadResult readCryptFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {std::nullopt,
            QString("The file %1 cannot be opened: %2.").arg(nativePath(path), file.errorString())};
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    return {std::nullopt,
            QString("The file %1 cannot be read: %2.").arg(nativePath(path), file.errorString())};
  }
  if (bytes.endsWith("\r\n")) bytes.chop(2);
  return {fromCodePage(bytes), {}};
}

}  // namespace quistel
