#pragma once
// Between the window and the cipher: texts and passwords to code-page bytes, one cipher
// operation, and ciphertext as upper-case hexadecimal text.

#include <QString>

namespace quistel {

// What came of EncryptText or DecryptText.
struct CryptResult {
  enum class Failure {
    kNone,
    kTextNotInCodePage,  // the text holds a character the code page cannot hold
    kKeyNotInCodePage,   // so does the password
    kNoResult,           // the cipher gave nothing: wrong key or damaged text; too long a text
  };
  Failure failure = Failure::kNone;
  QString text;       // the result when failure is kNone
  QString character;  // the offending character of the code-page failures

  bool ok() const { return failure == Failure::kNone; }
};

// The ciphertext as text, one character per byte.
CryptResult EncryptText(const QString& text, const QString& password);
// The plain text; present and empty for an encrypted empty text.
CryptResult DecryptText(const QString& cipherText, const QString& password);

// Two upper-case hex digits per character's code-page byte.
QString TextToHex(QStringView text);
// Reads pairs leniently: the leading hex digits of each pair count, none give 0; an odd last
// digit stands alone.
QString HexToText(QStringView hex);

// True only for an existing, visible, ordinary file.
bool FileExists(const QString& path);

}  // namespace quistel
