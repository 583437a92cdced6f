// Decoding typed or pasted hex: no crash on any text; white space anywhere is skipped, and the
// text decodes exactly when the rest is an even number of hex digits, which then read back in
// upper case.

#include <QString>

#include "fuzz_input.h"
#include "text/hex_codec.h"

namespace {

bool isHexDigit(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

// The hex digits of the text, or nothing when it holds anything else but white space.
std::optional<QString> hexDigitsOf(const QString& text) {
  QString digits;
  for (const QChar c : text) {
    if (isHexDigit(c)) {
      digits += c;
    } else if (!c.isSpace()) {
      return std::nullopt;
    }
  }
  return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString hex =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const std::optional<QByteArray> bytes = quistel::hexToBytes(hex);
  const std::optional<QString> digits = hexDigitsOf(hex);
  const bool wellFormed = digits && digits->size() % 2 == 0;
  fuzz::require(bytes.has_value() == wellFormed, "decodes exactly the well-formed hex");
  if (bytes) {
    fuzz::require(quistel::bytesToHex(*bytes) == digits->toUpper(), "hex reads back unchanged");
  }
  return 0;
}
