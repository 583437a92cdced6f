#include "window/text_crypt.h"

#include <QFileInfo>
#include <array>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "cipher/encryption.h"
#include "window/wipe.h"

namespace quistel {
namespace {

using Failure = CryptResult::Failure;

ByteView AsBytes(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
          static_cast<std::size_t>(bytes.size())};
}

// The password's code-page bytes, wiped when the operation is over.
class KeyBytes {
 public:
  explicit KeyBytes(CodePageBytes converted) : converted_(std::move(converted)) {}
  ~KeyBytes() { Wipe(converted_.bytes); }
  KeyBytes(const KeyBytes&) = delete;
  KeyBytes& operator=(const KeyBytes&) = delete;

  const CodePageBytes& converted() const { return converted_; }

 private:
  CodePageBytes converted_;
};

using Operation = std::optional<Bytes> (Encryption::*)(ByteView, ByteView);

// Runs one operation of a fresh Encryption on the input under the password's bytes.
std::optional<Bytes> RunCipher(ByteView input, const QByteArray& key, Operation operation) {
  return (Encryption().*operation)(input, AsBytes(key));
}

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
constexpr std::array<std::uint8_t, 256> kDigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  values.fill(kNotADigit);
  for (std::uint8_t i = 0; i < 10; ++i) values[u'0' + i] = i;
  for (std::uint8_t i = 0; i < 6; ++i) values[u'A' + i] = values[u'a' + i] = 10 + i;
  return values;
}();

std::uint8_t DigitValue(char16_t c) { return c < 256 ? kDigitValues[c] : kNotADigit; }

#ifdef __SSE2__
// Sixteen hex digits at `in` to eight bytes at `out`; false, with nothing written, when any of
// the sixteen characters is not a hex digit.
bool SixteenDigits(const char16_t* in, char* out) {
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

CryptResult EncryptText(const QString& text, const QString& password, const CodePage& codePage) {
  const CodePageBytes input = codePage.Encode(text);
  if (input.unrepresentable) return {Failure::kTextNotInCodePage, {}, {}, *input.unrepresentable};
  const KeyBytes key(codePage.Encode(password));
  if (key.converted().unrepresentable) {
    return {Failure::kKeyNotInCodePage, {}, {}, *key.converted().unrepresentable};
  }
  const std::optional<Bytes> cipher =
      RunCipher(AsBytes(input.bytes), key.converted().bytes, &Encryption::EncryptData);
  if (!cipher) return {Failure::kNoResult, {}, {}, {}};
  return {Failure::kNone,
          QByteArray(reinterpret_cast<const char*>(cipher->data()),
                     static_cast<qsizetype>(cipher->size())),
          {},
          {}};
}

CryptResult DecryptText(QByteArrayView cipher, const QString& password, const CodePage& codePage) {
  const KeyBytes key(codePage.Encode(password));
  if (key.converted().unrepresentable) {
    return {Failure::kKeyNotInCodePage, {}, {}, *key.converted().unrepresentable};
  }
  const ByteView input(reinterpret_cast<const std::uint8_t*>(cipher.data()),
                       static_cast<std::size_t>(cipher.size()));
  const std::optional<Bytes> plain =
      RunCipher(input, key.converted().bytes, &Encryption::DecryptData);
  if (!plain) return {Failure::kNoResult, {}, {}, {}};
  return {Failure::kNone, {}, codePage.Decode(QByteArrayView(plain->data(), plain->size())), {}};
}

void WriteHex(QByteArrayView bytes, char16_t* out) {
  for (const char byte : bytes) {
    std::memcpy(out, kHexPairs[static_cast<unsigned char>(byte)].data(), sizeof(kHexPairs[0]));
    out += 2;
  }
}

QString TextToHex(QByteArrayView bytes) {
  QString hex(2 * bytes.size(), Qt::Uninitialized);
  WriteHex(bytes, reinterpret_cast<char16_t*>(hex.data()));
  return hex;
}

std::optional<QByteArray> HexToText(QStringView hex) {
  QByteArray bytes(hex.size() / 2, Qt::Uninitialized);
  char* out = bytes.data();
  const char16_t* in = hex.utf16();
  const char16_t* const end = in + hex.size();
  while (in != end) {
    // Runs of digits take the quick way; white space between them the slow one.
#ifdef __SSE2__
    if (end - in >= 16 && SixteenDigits(in, out)) {
      in += 16;
      out += 8;
      continue;
    }
#endif
    if (end - in >= 2) {
      const std::uint8_t high = DigitValue(in[0]);
      const std::uint8_t low = DigitValue(in[1]);
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
    const std::uint8_t high = DigitValue(*in++);
    if (high >= 16) return std::nullopt;
    while (in != end && QChar(*in).isSpace()) ++in;
    if (in == end) return std::nullopt;  // an odd number of digits
    const std::uint8_t low = DigitValue(*in++);
    if (low >= 16) return std::nullopt;
    *out++ = static_cast<char>(high << 4 | low);
  }
  bytes.truncate(out - bytes.constData());
  return bytes;
}

bool FileExists(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && !info.isHidden();
}

}  // namespace quistel
