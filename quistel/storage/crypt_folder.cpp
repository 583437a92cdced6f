#include "storage/crypt_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "text/qt_secure_wipe.h"

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quistel {
namespace {

const QString kFolderName = QStringLiteral("The Crypt");

QString nativePath(const QString& path) { return QDir::toNativeSeparators(path); }

// The crypt and its files are the user's alone: by their mode on Linux; on Windows they take
// the access list of the folder they are made in.
bool makePrivateFolder(const QString& path) {
#ifdef Q_OS_WIN
  return QDir().mkdir(path);
#else
  return QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
}

bool createPrivateFile(QFile& file) {
#ifdef Q_OS_WIN
  return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
#else
  return file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFile::ReadOwner | QFile::WriteOwner);
#endif
}

// The folder, made private when it is new; an existing one is taken as it is.
bool makeCryptFolder(const QString& path) {
  if (QFileInfo(path).isDir()) return true;
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  return makePrivateFolder(path) || QFileInfo(path).isDir();
}

// Tried with a file of our own, created and removed again: permission bits and Windows'
// access lists both have their say, and a folder made by an elevated run counts as it is.
bool canCreateFilesIn(const QString& folder) {
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".probe-XXXXXX")));
  return probe.open();
}

bool makeWritableFolder(const QString& path) {
  return makeCryptFolder(path) && canCreateFilesIn(path);
}

// Writes the file's data through to the disk; empty, or why not.
QString flushToDisk(QFile& file) {
#ifdef Q_OS_WIN
  const int descriptor = file.handle();
  const auto handle = descriptor < 0 ? INVALID_HANDLE_VALUE
                                     : reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
  if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
    return qt_error_string(static_cast<int>(GetLastError()));
  }
#else
  if (::fsync(file.handle()) != 0) return qt_error_string(errno);
  // The new name too; a file system that cannot sync a folder has nothing to flush there.
  const int folder = ::open(QFile::encodeName(QFileInfo(file.fileName()).absolutePath()),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
#endif
  return {};
}

// Opens a file for reading without waiting on a pipe whose writer never comes; empty, or why
// not.
QString openForReading(QFile& file) {
#ifdef Q_OS_WIN
  return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
#else
  const int handle =
      ::open(QFile::encodeName(file.fileName()), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (handle < 0) return qt_error_string(errno);
  if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(handle);
    return file.errorString();
  }
  return {};
#endif
}

}  // namespace

bool isVisibleFile(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && !info.isHidden();
}

QString locateCryptFolder(const CryptPlaces& places) {
  const QString beside = QDir(places.programFolder).filePath(kFolderName);
  if (makeWritableFolder(beside)) return beside;
  const QString own = QDir(places.userDataFolder).filePath(kFolderName);
  makeCryptFolder(own);
  return own;
}

SaveResult saveToCrypt(const QString& folder, const QByteArray& content) {
  if (!makeCryptFolder(folder)) {
    return {{}, QString("The folder %1 is missing and cannot be created.").arg(nativePath(folder))};
  }
  const QDir dir(folder);
  for (int n = 1; n <= kLastCryptNumber; ++n) {
    const QString path = dir.filePath(QStringLiteral("crypt%1.txt").arg(n));
    if (isVisibleFile(path)) continue;
    QFile file(path);
    if (!createPrivateFile(file)) {
      // Taken meanwhile, or by a folder or a link (even a dangling one) of that name.
      const QFileInfo there(path);
      if (there.exists() || there.isSymLink()) continue;
      return {
          {},
          QString("The file %1 cannot be created: %2.").arg(nativePath(path), file.errorString())};
    }
    QString reason;
    if (file.write(content) != content.size() || !file.flush()) {
      reason = file.errorString();
    } else {
      reason = flushToDisk(file);
    }
    file.close();
    if (reason.isEmpty() && file.error() != QFileDevice::NoError) reason = file.errorString();
    if (!reason.isEmpty()) {
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

ReadResult readCryptFile(const QString& path, const CodePage& codePage) {
  const QString shown = nativePath(path);
  // Checked before opening: opening a pipe waits for its writer, a device may never end.
  const QFileInfo info(path);
  if (info.isDir()) {
    return {std::nullopt, QString("%1 is a folder, not a file. Nothing was opened.").arg(shown)};
  }
  const QString notPlain =
      QString("%1 is not an ordinary file but a pipe, a device or the like. Nothing was opened.")
          .arg(shown);
  if (info.exists() && !info.isFile()) return {std::nullopt, notPlain};

  QFile file(path);
  if (const QString why = openForReading(file); !why.isEmpty()) {
    return {std::nullopt, QString("The file %1 cannot be opened: %2.").arg(shown, why)};
  }
  if (file.isSequential()) return {std::nullopt, notPlain};  // it changed since it was looked at
  const qint64 size = file.size();
  if (size > kLargestOpenedFile) {
    return {std::nullopt,
            QString("The file %1 is %2 MB, more than the %3 MB Quistel opens. Nothing was opened.")
                .arg(shown)
                .arg(static_cast<double>(size) / (1 << 20), 0, 'f', 1)
                .arg(kLargestOpenedFile >> 20)};
  }
  QByteArray bytes = file.read(size);  // what grows meanwhile stays unread
  const WipeAtScopeEnd wipeBytes(bytes);  // the file may hold a plain text
  if (file.error() != QFileDevice::NoError) {
    return {std::nullopt,
            QString("The file %1 cannot be read: %2.").arg(shown, file.errorString())};
  }
  if (bytes.endsWith("\r\n")) bytes.chop(2);
  std::optional<QString> text = codePage.decode(bytes);
  if (!text) {
    return {std::nullopt,
            QString("The file %1 holds bytes that the code page cannot read. Nothing was opened.")
                .arg(shown)};
  }
  return {std::move(text), {}};
}

}  // namespace quistel
