#pragma once
// Between the window and the cipher: texts and passwords to code-page bytes, one cipher
// operation, and ciphertext bytes as upper-case hexadecimal text.

#include <QByteArray>
#include <QString>
#include <optional>

#include "window/code_page.h"

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
  QByteArray cipher;  // EncryptText's ciphertext when failure is kNone
  QString text;       // DecryptText's plain text when failure is kNone
  QString character;  // the offending character of the code-page failures

  bool ok() const { return failure == Failure::kNone; }
};

// The code page converts the text and the password; the ciphertext stays bytes.
CryptResult EncryptText(const QString& text, const QString& password,
                        const CodePage& codePage = CodePage::Ansi());
// The plain text; present and empty for an encrypted empty text.
CryptResult DecryptText(QByteArrayView cipher, const QString& password,
                        const CodePage& codePage = CodePage::Ansi());

// Two upper-case hex digits per byte, high digit first, nothing between them.
QString TextToHex(QByteArrayView bytes);
// The same digits written at `out`, which has room for 2 * bytes.size() characters.
void WriteHex(QByteArrayView bytes, char16_t* out);
// The bytes of hex digits (either case); white space anywhere is skipped. Nothing when the text
// holds anything else or an odd number of digits.
std::optional<QByteArray> HexToText(QStringView hex);

// True only for an existing, visible, ordinary file.
bool FileExists(const QString& path);

}  // namespace quistel
