#include "text/text_cipher.h"

#include "cipher/message_framing.h"
#include "text/qt_secure_wipe.h"

namespace quistel {
namespace {

using Failure = CipherResult::Failure;

ByteView asBytes(QByteArrayView bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()),
          static_cast<std::size_t>(bytes.size())};
}

// The password's code-page bytes, wiped when the operation is over.
class KeyBytes {
 public:
  explicit KeyBytes(CodePageBytes converted) : converted_(std::move(converted)) {}
  ~KeyBytes() { secureWipe(converted_.bytes); }
  KeyBytes(const KeyBytes&) = delete;
  KeyBytes& operator=(const KeyBytes&) = delete;

  const CodePageBytes& converted() const { return converted_; }
  ByteView bytes() const { return asBytes(converted_.bytes); }

 private:
  CodePageBytes converted_;
};

}  // namespace

CipherResult encryptText(const QString& text, const QString& password, const CodePage& codePage) {
  const CodePageBytes input = codePage.encode(text);
  if (input.unrepresentable) return {Failure::TextNotInCodePage, {}, {}, *input.unrepresentable};
  const KeyBytes key(codePage.encode(password));
  if (key.converted().unrepresentable) {
    return {Failure::KeyNotInCodePage, {}, {}, *key.converted().unrepresentable};
  }
  const std::optional<Bytes> cipher = encryptMessage(asBytes(input.bytes), key.bytes());
  if (!cipher) return {Failure::NoResult, {}, {}, {}};
  return {Failure::None,
          QByteArray(reinterpret_cast<const char*>(cipher->data()),
                     static_cast<qsizetype>(cipher->size())),
          {},
          {}};
}

CipherResult decryptText(QByteArrayView cipher, const QString& password, const CodePage& codePage) {
  const KeyBytes key(codePage.encode(password));
  if (key.converted().unrepresentable) {
    return {Failure::KeyNotInCodePage, {}, {}, *key.converted().unrepresentable};
  }
  const std::optional<Bytes> plain = decryptMessage(asBytes(cipher), key.bytes());
  if (!plain) return {Failure::NoResult, {}, {}, {}};
  return {Failure::None, {}, codePage.decode(QByteArrayView(plain->data(), plain->size())), {}};
}

}  // namespace quistel
