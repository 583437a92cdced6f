#pragma once
// Texts as bytes of the system's ANSI code page: windows-1252 on Linux, the system code page on
// Windows. Under a single-byte code page every byte value survives byte -> character -> byte.
// Other code pages can stand in (tests run the text pipeline under multi-byte ones).

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace quistel {

struct CodePageBytes {
  QByteArray bytes;  // the text's bytes when nothing is unrepresentable
  // The first character (a whole code point) the code page cannot hold exactly.
  std::optional<QString> unrepresentable;
};

struct SingleByteTable;

class CodePage {
 public:
  // The system's ANSI code page.
  static CodePage ansi();
  // A code page known to QStringEncoder by name, e.g. "Shift_JIS".
  static CodePage named(QByteArray name);

  // Refuses best-fit mappings and default characters: a character is held exactly or not at all.
  CodePageBytes encode(QStringView text) const;
  // The text of the bytes, or nothing when some of them are no character of the code page.
  std::optional<QString> decode(QByteArrayView bytes) const;

 private:
  explicit CodePage(QByteArray name);

  // The piece's bytes, or nothing when some character of it is not held exactly.
  std::optional<QByteArray> encodeExactly(QStringView piece) const;

  QByteArray name_;  // empty for the Windows system code page
  // A single-byte code page's characters, for a quick conversion without the converter.
  std::shared_ptr<const SingleByteTable> singleByte_;
};

inline CodePageBytes toCodePage(QStringView text) { return CodePage::ansi().encode(text); }
inline std::optional<QString> fromCodePage(QByteArrayView bytes) {
  return CodePage::ansi().decode(bytes);
}

}  // namespace quistel
