#include "text/hex_codec.h"

#include <array>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quistel {
namespace {

// Two digits per byte value, as the UTF-16 code units written for it.
constexpr std::array<std::array<char16_t, 2>, 256> kHexPairs = [] {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::array<std::array<char16_t, 2>, 256> pairs{};
  for (std::size_t value = 0; value < pairs.size(); ++value) {
    pairs[value] = {kDigits[value >> 4], kDigits[value & 0x0F]};
  }
  return pairs;
}();

// The digit value of each Latin-1 character; kNotADigit for all others.
constexpr std::uint8_t kNotADigit = 0xFF;
constexpr std::array<std::uint8_t, 256> kdigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  values.fill(kNotADigit);
  for (std::uint8_t i = 0; i < 10; ++i) values[u'0' + i] = i;
  for (std::uint8_t i = 0; i < 6; ++i) values[u'A' + i] = values[u'a' + i] = 10 + i;
  return values;
}();

std::uint8_t digitValue(char16_t c) { return c < 256 ? kdigitValues[c] : kNotADigit; }

#ifdef __SSE2__
// Sixteen hex digits at `in` to eight bytes at `out`; false, with nothing written, when any of
// the sixteen characters is not a hex digit.
bool decodeSixteenDigits(const char16_t* in, char* out) {
  const auto below = [](__m128i v, short limit) {
    return _mm_cmplt_epi16(v, _mm_set1_epi16(limit));
  };
  const auto above = [](__m128i v, short limit) {
    return _mm_cmpgt_epi16(v, _mm_set1_epi16(limit));
  };
  __m128i pairs[2];
  for (int half = 0; half < 2; ++half) {
    // Characters from U+8000 up compare as negative numbers: neither digits nor letters.
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8 * half));
    const __m128i lower = _mm_or_si128(c, _mm_set1_epi16(0x20));  // 'A'..'F' to 'a'..'f'
    const __m128i digit = _mm_and_si128(above(c, '0' - 1), below(c, '9' + 1));
    const __m128i letter = _mm_and_si128(above(lower, 'a' - 1), below(lower, 'f' + 1));
    if (_mm_movemask_epi8(_mm_or_si128(digit, letter)) != 0xFFFF) return false;
    const __m128i value =
        _mm_or_si128(_mm_and_si128(digit, _mm_sub_epi16(c, _mm_set1_epi16('0'))),
                     _mm_andnot_si128(digit, _mm_sub_epi16(lower, _mm_set1_epi16('a' - 10))));
    pairs[half] = _mm_madd_epi16(value, _mm_set1_epi32(0x00010010));  // 16 * high + low
  }
  const __m128i words = _mm_packs_epi32(pairs[0], pairs[1]);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
  return true;
}
#endif

}  // namespace

void writeHex(QByteArrayView bytes, char16_t* out) {
  for (const char byte : bytes) {
    std::memcpy(out, kHexPairs[static_cast<unsigned char>(byte)].data(), sizeof(kHexPairs[0]));
    out += 2;
  }
}

QString bytesToHex(QByteArrayView bytes) {
  QString hex(2 * bytes.size(), Qt::Uninitialized);
  writeHex(bytes, reinterpret_cast<char16_t*>(hex.data()));
  return hex;
}

std::optional<QByteArray> hexToBytes(QStringView hex) {
  QByteArray bytes(hex.size() / 2, Qt::Uninitialized);
  char* out = bytes.data();
  const char16_t* in = hex.utf16();
  const char16_t* const end = in + hex.size();
  while (in != end) {
    // Runs of digits take the quick way; white space between them the slow one.
#ifdef __SSE2__
    if (end - in >= 16 && decodeSixteenDigits(in, out)) {
      in += 16;
      out += 8;
      continue;
    }
#endif
    if (end - in >= 2) {
      const std::uint8_t high = digitValue(in[0]);
      const std::uint8_t low = digitValue(in[1]);
      if ((high | low) < 16) {
        *out++ = static_cast<char>(high << 4 | low);
        in += 2;
        continue;
      }
    }
    if (QChar(*in).isSpace()) {
      ++in;
      continue;
    }
    const std::uint8_t high = digitValue(*in++);
    if (high >= 16) return std::nullopt;
    while (in != end && QChar(*in).isSpace()) ++in;
    if (in == end) return std::nullopt;  // an odd number of digits
    const std::uint8_t low = digitValue(*in++);
    if (low >= 16) return std::nullopt;
    *out++ = static_cast<char>(high << 4 | low);
  }
  bytes.truncate(out - bytes.constData());
  return bytes;
}

}  // namespace quistel
