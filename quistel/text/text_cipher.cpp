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

// A password's or plain text's code-page bytes, wiped when the operation is over.
class SecretBytes {
 public:
  explicit SecretBytes(CodePageBytes converted) : converted_(std::move(converted)) {}
  ~SecretBytes() { secureWipe(converted_.bytes); }
  SecretBytes(const SecretBytes&) = delete;
  SecretBytes& operator=(const SecretBytes&) = delete;

  const CodePageBytes& converted() const { return converted_; }
  ByteView bytes() const { return asBytes(converted_.bytes); }

 private:
  CodePageBytes converted_;
};

}  // namespace

CipherResult encryptText(const QString& text, const QString& password, const CodePage& codePage) {
  const SecretBytes input(codePage.encode(text));  // the plain text's bytes, wiped like the key's
  if (input.converted().unrepresentable) {
    return {Failure::TextNotInCodePage, {}, {}, *input.converted().unrepresentable};
  }
  QByteArray cipher;
  if (const auto framed = framedLength(static_cast<std::size_t>(input.converted().bytes.size()))) {
    cipher.reserve(static_cast<qsizetype>(*framed));  // filled once, by appending
  }
  CipherResult result = encryptCodePageBytes(
      input.converted().bytes, password,
      [&](ByteView piece) {
        cipher.append(reinterpret_cast<const char*>(piece.data()),
                      static_cast<qsizetype>(piece.size()));
      },
      codePage);
  if (result.ok()) result.cipher = std::move(cipher);
  return result;
}

CipherResult encryptCodePageBytes(QByteArrayView plain, const QString& password,
                                  const CipherSink& sink, const CodePage& codePage) {
  const SecretBytes key(codePage.encode(password));
  if (key.converted().unrepresentable) {
    return {Failure::KeyNotInCodePage, {}, {}, *key.converted().unrepresentable};
  }
  if (!encryptMessageInPieces(asBytes(plain), key.bytes(), sink)) {
    return {Failure::NoResult, {}, {}, {}};
  }
  return {};
}

CipherResult decryptText(QByteArrayView cipher, const QString& password, const CodePage& codePage) {
  const SecretBytes key(codePage.encode(password));
  if (key.converted().unrepresentable) {
    return {Failure::KeyNotInCodePage, {}, {}, *key.converted().unrepresentable};
  }
  std::optional<Bytes> plain = decryptMessage(asBytes(cipher), key.bytes());
  if (!plain) return {Failure::NoResult, {}, {}, {}};
  const WipeAtScopeEnd wipePlain(*plain);
  std::optional<QString> text = codePage.decode(QByteArrayView(plain->data(), plain->size()));
  if (!text) return {Failure::NotCodePageText, {}, {}, {}};
  return {Failure::None, {}, std::move(*text), {}};
}

}  // namespace quistel
