#pragma once
// Texts as bytes of the system's single-byte ANSI code page, one byte per character:
// windows-1252 on Linux, the system code page on Windows. Every byte value survives
// byte -> character -> byte.

#include <QByteArray>
#include <QString>
#include <optional>

namespace quistel {

struct CodePageBytes {
  QByteArray bytes;
  // The first character (a whole code point) the code page cannot hold; the bytes then hold
  // the code page's substitute for it.
  std::optional<QString> unrepresentable;
};

CodePageBytes ToCodePage(QStringView text);
QString FromCodePage(QByteArrayView bytes);

}  // namespace quistel
