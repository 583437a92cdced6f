#pragma once
// Encrypting a text under a password: the text and the password as code-page bytes, one
// message operation of the cipher, the plain text back from its bytes.

#include <QByteArray>
#include <QString>

#include "cipher/message_framing.h"
#include "text/code_page.h"

namespace quistel {

// What came of encryptText or decryptText.
struct CipherResult {
  enum class Failure {
    None,
    TextNotInCodePage,  // the text holds a character the code page cannot hold
    KeyNotInCodePage,   // so does the password
    NotCodePageText,    // the decrypted bytes hold some that are no character of the code page
    NoResult,           // the cipher gave nothing: wrong key or damaged text; too long a text
  };
  Failure failure = Failure::None;
  QByteArray cipher;  // encryptText's ciphertext when failure is None
  QString text;       // decryptText's plain text when failure is None
  QString character;  // the offending character of the code-page failures

  bool ok() const { return failure == Failure::None; }
};

// The code page converts the text and the password; the ciphertext stays bytes.
CipherResult encryptText(const QString& text, const QString& password,
                         const CodePage& codePage = CodePage::ansi());
// Encrypts a text already turned into code-page bytes, handing the ciphertext to `sink` a
// piece at a time; the result's cipher stays empty.
CipherResult encryptCodePageBytes(QByteArrayView plain, const QString& password,
                                  const CipherSink& sink,
                                  const CodePage& codePage = CodePage::ansi());
// The plain text; present and empty for an encrypted empty text.
CipherResult decryptText(QByteArrayView cipher, const QString& password,
                         const CodePage& codePage = CodePage::ansi());

}  // namespace quistel
