#pragma once
// The crypt folder "The Crypt" and its numbered files crypt1.txt, crypt2.txt, ...

#include <QByteArray>
#include <QString>
#include <optional>

namespace quistel {

// Where the crypt folder may live: beside the program, else in the user's data folder.
struct CryptPlaces {
  QString programFolder;
  QString userDataFolder;
};

// Creates the crypt folder and returns its path: "The Crypt" in the program's folder, or in the
// user's data folder when the program's folder cannot take it (installed system-wide).
QString LocateCryptFolder(const CryptPlaces& places);

// A file written, or why not.
struct SaveResult {
  QString path;   // the file created
  QString error;  // a sentence for the user when nothing was saved

  bool ok() const { return error.isEmpty(); }
};

constexpr int kLastCryptNumber = 32767;

// Writes content to the first free crypt<n>.txt (n from 1), created anew: an existing file is
// never overwritten. A file that cannot be written completely is removed again.
SaveResult SaveToCrypt(const QString& folder, const QByteArray& content);

// A file's text, or why it could not be read.
struct ReadResult {
  std::optional<QString> text;
  QString error;
};

// The file's bytes as code-page text, less one trailing CR LF (the one a save adds).
ReadResult ReadCryptFile(const QString& path);

}  // namespace quistel
