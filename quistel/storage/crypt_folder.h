#pragma once
// The crypt folder "The Crypt" and its numbered files crypt1.txt, crypt2.txt, ...

#include <QByteArray>
#include <QString>
#include <optional>

#include "text/code_page.h"

namespace quistel {

// Where the crypt folder may live: beside the program, else in the user's data folder.
struct CryptPlaces {
  QString programFolder;
  QString userDataFolder;
};

// True only for an existing, visible, ordinary file.
bool isVisibleFile(const QString& path);

// Creates the crypt folder and returns its path: "The Crypt" in the program's folder, or in the
// user's data folder when no file can be created in the program's folder (installed
// system-wide). A new folder is the user's alone.
QString locateCryptFolder(const CryptPlaces& places);

// A file written, or why not.
struct SaveResult {
  QString path;   // the file created
  QString error;  // a sentence for the user when nothing was saved

  bool ok() const { return error.isEmpty(); }
};

constexpr int kLastCryptNumber = 32767;

// Writes content to the first free crypt<n>.txt (n from 1), created anew and for the user alone,
// and through to the disk: an existing file is never overwritten, and a name something else
// holds (a folder, a link) is passed over. A file that cannot be written completely is removed
// again.
SaveResult saveToCrypt(const QString& folder, const QByteArray& content);

// A file's text, or why it could not be read.
struct ReadResult {
  std::optional<QString> text;
  QString error;
};

// The largest file Open reads: the window holds a text several times over while it shows it.
constexpr qint64 kLargestOpenedFile = qint64{256} << 20;

// The file's bytes as code-page text, less one trailing CR LF (the one a save adds). Refused,
// before anything is read: what is not an ordinary file (a folder, a pipe, a device), a file
// larger than kLargestOpenedFile, and bytes that are no text of the code page.
ReadResult readCryptFile(const QString& path, const CodePage& codePage = CodePage::ansi());

}  // namespace quistel
