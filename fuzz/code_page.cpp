// The code page both ways: every byte string survives bytes -> text -> bytes, and any text
// (the input read as UTF-16, lone surrogates included) converts without a crash, naming
// a character of its own when one cannot be held.

#include <QString>

#include "fuzz_input.h"
#include "text/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  const std::optional<QString> decoded = quistel::fromCodePage(bytes);
  fuzz::require(decoded.has_value(), "every byte is a character of the code page");
  const quistel::CodePageBytes back = quistel::toCodePage(*decoded);
  fuzz::require(!back.unrepresentable && back.bytes == bytes, "bytes survive the code page");

  const QString text(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
  const quistel::CodePageBytes converted = quistel::toCodePage(text);
  fuzz::require(!converted.unrepresentable || text.contains(*converted.unrepresentable),
                "the character named is one of the text");
  return 0;
}
