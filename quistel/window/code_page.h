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
  static CodePage Ansi();
  // A code page known to QStringEncoder by name, e.g. "Shift_JIS".
  static CodePage Named(QByteArray name);

  // Refuses best-fit mappings and default characters: a character is held exactly or not at all.
  CodePageBytes Encode(QStringView text) const;
  QString Decode(QByteArrayView bytes) const;

 private:
  explicit CodePage(QByteArray name);

  // The piece's bytes, or nothing when some character of it is not held exactly.
  std::optional<QByteArray> EncodeExactly(QStringView piece) const;

  QByteArray name_;  // empty for the Windows system code page
  // A single-byte code page's characters, for a quick conversion without the converter.
  std::shared_ptr<const SingleByteTable> singleByte_;
};

inline CodePageBytes ToCodePage(QStringView text) { return CodePage::Ansi().Encode(text); }
inline QString FromCodePage(QByteArrayView bytes) { return CodePage::Ansi().Decode(bytes); }

}  // namespace quistel
