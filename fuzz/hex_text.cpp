// Decoding typed or pasted hex: no crash on any text, and well-formed hex (digits in pairs)
// reads back to the same digits in upper case.

#include <QString>
#include <algorithm>

#include "fuzz_input.h"
#include "window/text_crypt.h"

namespace {

bool isHexDigit(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

bool isHexPairs(const QString& text) {
  return text.size() % 2 == 0 && std::ranges::all_of(text, isHexDigit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString hex = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                        static_cast<qsizetype>(size));
  const QString text = quistel::HexToText(hex);
  if (isHexPairs(hex)) {
    fuzz::require(quistel::TextToHex(text) == hex.toUpper(), "hex reads back unchanged");
  }
  return 0;
}
