#include "text/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "text/qt_secure_wipe.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quistel {
namespace {

// Long texts are converted in pieces so that a failure is found without a second full pass.
constexpr qsizetype kPieceLength = 4096;

qsizetype codePointLength(QStringView text, qsizetype at) {
  const bool pair =
      text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
  return pair ? 2 : 1;
}

#ifdef Q_OS_WIN
// The piece in the ANSI code page, or nothing when a character has no exact form there: Windows
// would otherwise write a look-alike ("l" for "ł") or the default character "?" silently.
std::optional<QByteArray> toAnsiExactly(QStringView piece) {
  if (piece.isEmpty()) return QByteArray();
  const UINT codePage = GetACP();
  // UTF-8 takes neither the best-fit flag nor the default-character report; it fails instead.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  const auto* wide = reinterpret_cast<const wchar_t*>(piece.utf16());
  const int wideLength = static_cast<int>(piece.size());
  BOOL usedDefaultChar = FALSE;
  BOOL* const usedDefaultReport = utf8 ? nullptr : &usedDefaultChar;

  const int length = WideCharToMultiByte(codePage, flags, wide, wideLength, nullptr, 0, nullptr,
                                         usedDefaultReport);
  if (length <= 0 || usedDefaultChar) return std::nullopt;
  QByteArray bytes(length, Qt::Uninitialized);
  if (WideCharToMultiByte(codePage, flags, wide, wideLength, bytes.data(), length, nullptr,
                          usedDefaultReport) != length ||
      usedDefaultChar) {
    secureWipe(bytes);
    return std::nullopt;
  }

  // A multi-byte code page may still give bytes that read back as other characters.
  CPINFO info{};
  if (!GetCPInfo(codePage, &info) || info.MaxCharSize > 1) {
    std::vector<wchar_t> back(piece.size());
    const int backLength = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.constData(),
                                               length, back.data(), wideLength);
    const bool same = backLength == wideLength && std::equal(back.begin(), back.end(), wide);
    secureWipe(back);
    if (!same) {
      secureWipe(bytes);
      return std::nullopt;
    }
  }
  return bytes;
}

// The characters of the ANSI code page bytes, or nothing when some bytes are none: Qt's own
// conversion would drop them or put replacement characters in their place without a word.
std::optional<QString> fromAnsiExactly(QByteArrayView bytes) {
  const UINT codePage = GetACP();
  QString text;
  while (!bytes.isEmpty()) {
    // One call takes an int's worth. A longer text is cut after a byte below 0x40, which is a
    // character of its own in every ANSI code page, never part of a longer one.
    qsizetype length = std::min<qsizetype>(bytes.size(), std::numeric_limits<int>::max());
    if (length < bytes.size()) {
      while (length > 0 && static_cast<unsigned char>(bytes[length - 1]) >= 0x40) --length;
      if (length == 0) return std::nullopt;
    }
    const qsizetype start = text.size();
    text.resize(start + length);  // never more characters than bytes
    const int written = MultiByteToWideChar(
        codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(length),
        reinterpret_cast<wchar_t*>(text.data() + start), static_cast<int>(length));
    if (written <= 0) {
      secureWipe(text);
      return std::nullopt;
    }
    text.resize(start + written);
    bytes = bytes.sliced(length);
  }
  return text;
}
#endif

}  // namespace

// The 256 characters of a single-byte code page, and the way back from each to its byte.
struct SingleByteTable {
  std::array<char16_t, 256> characters{};
  std::array<std::int16_t, 256> latin1Bytes{};                // -1: not in the code page
  std::vector<std::pair<char16_t, std::uint8_t>> otherBytes;  // sorted by character

  // The table of the named code page when each byte is one character of its own, else nothing.
  static std::shared_ptr<const SingleByteTable> build(const char* name) {
    QByteArray bytes(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
    QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    if (decoder.hasError() || decoded.size() != 256) return nullptr;

    auto table = std::make_shared<SingleByteTable>();
    table->latin1Bytes.fill(-1);
    for (int byte = 0; byte < 256; ++byte) {
      const char16_t c = decoded[byte].unicode();
      if (QChar::isSurrogate(c) || c == QChar::ReplacementCharacter) return nullptr;
      table->characters[byte] = c;
      if (c < 256) {
        if (table->latin1Bytes[c] >= 0) return nullptr;
        table->latin1Bytes[c] = static_cast<std::int16_t>(byte);
      } else {
        table->otherBytes.emplace_back(c, static_cast<std::uint8_t>(byte));
      }
    }
    std::sort(table->otherBytes.begin(), table->otherBytes.end());
    if (std::adjacent_find(table->otherBytes.begin(), table->otherBytes.end(), [](auto a, auto b) {
          return a.first == b.first;
        }) != table->otherBytes.end()) {
      return nullptr;
    }
    return table;
  }

  // The character's byte, or -1.
  int byteOf(char16_t c) const {
    if (c < 256) return latin1Bytes[c];
    const auto found = std::lower_bound(otherBytes.begin(), otherBytes.end(),
                                        std::pair<char16_t, std::uint8_t>(c, 0));
    return found != otherBytes.end() && found->first == c ? found->second : -1;
  }
};

CodePage::CodePage(QByteArray name) : name_(std::move(name)) {
  if (!name_.isEmpty()) singleByte_ = SingleByteTable::build(name_.constData());
}

CodePage CodePage::ansi() {
#ifdef Q_OS_WIN
  return CodePage(QByteArray());
#else
  return CodePage("windows-1252");
#endif
}

CodePage CodePage::named(QByteArray name) { return CodePage(std::move(name)); }

std::optional<QByteArray> CodePage::encodeExactly(QStringView piece) const {
#ifdef Q_OS_WIN
  if (name_.isEmpty()) return toAnsiExactly(piece);
#endif
  // Stateless: a lone surrogate at the end of a piece is an error, not held for the next one.
  QStringEncoder encoder(name_.constData(), QStringConverter::Flag::Stateless);
  QByteArray bytes = encoder.encode(piece);
  if (encoder.hasError()) return std::nullopt;
  return bytes;
}

CodePageBytes CodePage::encode(QStringView text) const {
  if (singleByte_) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* const out = bytes.data();  // written through once, without a check per byte
    const SingleByteTable& table = *singleByte_;
    for (qsizetype at = 0; at < text.size(); ++at) {
      const int byte = table.byteOf(text[at].unicode());
      if (byte < 0) {
        secureWipe(bytes);  // it may hold part of a key
        return {{}, text.sliced(at, codePointLength(text, at)).toString()};
      }
      out[at] = static_cast<char>(byte);
    }
    return {std::move(bytes), std::nullopt};
  }

  // Every buffer that held some of the text is wiped before it goes: the pieces, and the
  // result's own as it grows.
  CodePageBytes result;
  const WipeAtScopeEnd wipeResult(result.bytes);
  const auto append = [](QByteArray& to, QByteArray& piece) {
    if (to.isEmpty()) {
      std::swap(to, piece);  // a short text (a key) is taken over, no copy made
      return;
    }
    if (to.capacity() - to.size() < piece.size()) {
      QByteArray grown;
      grown.reserve(std::max(to.size() + piece.size(), 2 * to.size()));
      grown.append(to.constData(), to.size());
      secureWipe(to);
      std::swap(to, grown);
    }
    to.append(piece.constData(), piece.size());
    secureWipe(piece);
  };
  for (qsizetype start = 0; start < text.size();) {
    qsizetype length = std::min(kPieceLength, text.size() - start);
    if (text[start + length - 1].isHighSurrogate() && start + length < text.size()) ++length;
    const QStringView piece = text.sliced(start, length);
    std::optional<QByteArray> bytes = encodeExactly(piece);
    if (!bytes) {
      // Character by character, to name the one that is not held.
      QByteArray held;
      const WipeAtScopeEnd wipeHeld(held);
      for (qsizetype at = 0; at < piece.size();) {
        const QStringView codePoint = piece.sliced(at, codePointLength(piece, at));
        std::optional<QByteArray> one = encodeExactly(codePoint);
        if (!one) return {{}, codePoint.toString()};
        append(held, *one);
        at += codePoint.size();
      }
      bytes = std::move(held);
    }
    append(result.bytes, *bytes);
    start += length;
  }
  CodePageBytes done;
  std::swap(done.bytes, result.bytes);  // the guard wipes the emptied one
  return done;
}

std::optional<QString> CodePage::decode(QByteArrayView bytes) const {
  if (singleByte_) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const std::array<char16_t, 256>& characters = singleByte_->characters;
    for (const char byte : bytes) *out++ = characters[static_cast<unsigned char>(byte)];
    return text;
  }
#ifdef Q_OS_WIN
  if (name_.isEmpty()) return fromAnsiExactly(bytes);
#endif
  QStringDecoder decoder(name_.constData(), QStringConverter::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) {
    secureWipe(text);
    return std::nullopt;
  }
  return text;
}

}  // namespace quistel
