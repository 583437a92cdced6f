#include "window/text_crypt.h"

#include <QFileInfo>

#include "cipher/encryption.h"
#include "window/code_page.h"

namespace quistel {
namespace {

using Failure = CryptResult::Failure;

ByteView AsBytes(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
          static_cast<std::size_t>(bytes.size())};
}

int HexDigitValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  return -1;
}

using Operation = std::optional<Bytes> (Encryption::*)(ByteView, ByteView);

// Converts both texts, runs one operation of a fresh Encryption and converts the result back.
CryptResult RunCrypt(const QString& text, const QString& password, Operation operation) {
  const CodePageBytes input = ToCodePage(text);
  if (input.unrepresentable) return {Failure::kTextNotInCodePage, {}, *input.unrepresentable};
  const CodePageBytes key = ToCodePage(password);
  if (key.unrepresentable) return {Failure::kKeyNotInCodePage, {}, *key.unrepresentable};

  const std::optional<Bytes> output =
      (Encryption().*operation)(AsBytes(input.bytes), AsBytes(key.bytes));
  if (!output) return {Failure::kNoResult, {}, {}};
  return {Failure::kNone, FromCodePage(QByteArrayView(output->data(), output->size())), {}};
}

}  // namespace

CryptResult EncryptText(const QString& text, const QString& password) {
  return RunCrypt(text, password, &Encryption::EncryptData);
}

CryptResult DecryptText(const QString& cipherText, const QString& password) {
  return RunCrypt(cipherText, password, &Encryption::DecryptData);
}

QString TextToHex(QStringView text) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const QByteArray bytes = ToCodePage(text).bytes;
  QString hex(2 * bytes.size(), Qt::Uninitialized);
  QChar* out = hex.data();
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    *out++ = QChar(kDigits[value >> 4]);
    *out++ = QChar(kDigits[value & 0x0F]);
  }
  return hex;
}

QString HexToText(QStringView hex) {
  QByteArray bytes;
  bytes.reserve((hex.size() + 1) / 2);
  for (qsizetype pair = 0; pair < hex.size(); pair += 2) {
    int value = 0;
    for (qsizetype at = pair; at < std::min(pair + 2, hex.size()); ++at) {
      const int digit = HexDigitValue(hex[at]);
      if (digit < 0) break;
      value = 16 * value + digit;
    }
    bytes.append(static_cast<char>(value));
  }
  return FromCodePage(bytes);
}

bool FileExists(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && !info.isHidden();
}

}  // namespace quistel
