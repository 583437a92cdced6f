#include "window/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace quistel {
namespace {

#ifdef Q_OS_WIN
constexpr auto kAnsiCodePage = QStringConverter::System;
#else
constexpr const char* kAnsiCodePage = "windows-1252";
#endif

// Stateless: a lone surrogate at the end of a piece is an error, not held for the next one;
// pieces never split a surrogate pair.
constexpr auto kEncoderFlags = QStringConverter::Flag::Stateless;

// Long texts are converted in pieces so that a failure is found without a second full pass.
constexpr qsizetype kPieceLength = 4096;

qsizetype CodePointLength(QStringView text, qsizetype at) {
  const bool pair =
      text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
  return pair ? 2 : 1;
}

std::optional<QString> FirstUnrepresentable(QStringView piece) {
  for (qsizetype at = 0; at < piece.size();) {
    const QStringView codePoint = piece.sliced(at, CodePointLength(piece, at));
    QStringEncoder encoder(kAnsiCodePage, kEncoderFlags);
    const QByteArray converted = encoder.encode(codePoint);  // encode() converts lazily
    if (encoder.hasError()) return codePoint.toString();
    at += codePoint.size();
  }
  return std::nullopt;
}

}  // namespace

CodePageBytes ToCodePage(QStringView text) {
  CodePageBytes result;
  result.bytes.reserve(text.size());
  QStringEncoder encoder(kAnsiCodePage, kEncoderFlags);
  for (qsizetype start = 0; start < text.size();) {
    qsizetype length = std::min(kPieceLength, text.size() - start);
    if (text[start + length - 1].isHighSurrogate() && start + length < text.size()) ++length;
    const QStringView piece = text.sliced(start, length);
    result.bytes += encoder.encode(piece);
    if (encoder.hasError() && !result.unrepresentable) {
      result.unrepresentable = FirstUnrepresentable(piece);
    }
    start += length;
  }
  return result;
}

QString FromCodePage(QByteArrayView bytes) {
  QStringDecoder decoder(kAnsiCodePage);
  return decoder.decode(bytes);
}

}  // namespace quistel
