#include "cipher/message_framing.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "cipher/secure_wipe.h"

namespace quistel {
namespace {

constexpr int kWords = 8;
constexpr std::size_t kBlockBytes = 32;
constexpr std::size_t kKeyBytes = 32;
constexpr std::size_t kLengthBytes = 4;
// Whole blocks are enciphered into a buffer of this size and appended to the result from there,
// while the buffer is in the cache.
constexpr std::size_t kStretchBytes = 16 << 10;

using Block = std::array<std::uint8_t, kBlockBytes>;

// One operation's cipher and work buffers, wiped however the operation ends.
class Operation {
 public:
  Operation(ByteView password, CipherEngine engine) : cipher(engine) {
    std::array<std::uint8_t, kKeyBytes> key{};
    std::copy_n(password.begin(), std::min(password.size(), kKeyBytes), key.begin());
    cipher.setKey(key, kWords, kWords);
    secureWipe(key);
  }
  ~Operation() {
    secureWipe(block);
    secureWipe(stretch);
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  Rijndael cipher;  // clears its key when destroyed
  Block block;
  std::array<std::uint8_t, kStretchBytes> stretch;
};

// The framed bytes offset .. offset + 31: length prefix, message bytes, zero padding.
void frameBlock(ByteView message, std::size_t offset, Block& block) {
  block.fill(0);
  std::size_t at = 0;
  if (offset == 0) {
    const auto length = static_cast<std::uint32_t>(message.size());
    for (std::size_t i = 0; i < kLengthBytes; ++i)
      block[i] = static_cast<std::uint8_t>(length >> (8 * i));
    at = kLengthBytes;
  }
  const std::size_t first = offset + at - kLengthBytes;
  if (first < message.size()) {
    const std::size_t count = std::min(kBlockBytes - at, message.size() - first);
    std::copy_n(message.begin() + first, count, block.begin() + at);
  }
}

std::int32_t lengthPrefix(const Block& block) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < kLengthBytes; ++i) length |= std::uint32_t{block[i]} << (8 * i);
  return static_cast<std::int32_t>(length);
}

// Runs `cipher` over the blocks of `in` from offset to end, a stretch at a time, handing what
// it gives to `out`.
template <typename Cipher, typename Out>
void cipherStretches(ByteView in, std::size_t offset, std::size_t end,
                     std::span<std::uint8_t, kStretchBytes> stretch, Out out, Cipher cipher) {
  while (offset < end) {
    const std::size_t count = std::min(kStretchBytes, end - offset);
    const auto done = stretch.first(count);
    cipher(in.subspan(offset, count), done);
    out(ByteView(done));
    offset += count;
  }
}

}  // namespace

std::optional<std::size_t> framedLength(std::size_t messageLength) {
  constexpr std::size_t kLargest =
      std::numeric_limits<std::int32_t>::max() / kBlockBytes * kBlockBytes;
  if (messageLength > kLargest - kLengthBytes) return std::nullopt;
  const std::size_t unpadded = messageLength + kLengthBytes;
  return (unpadded + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
}

std::optional<Bytes> encryptMessage(ByteView message, ByteView password, CipherEngine engine) {
  const auto framed = framedLength(message.size());
  if (!framed) return std::nullopt;
  std::optional<Bytes> result(std::in_place);
  result->reserve(*framed);  // filled once, by appending
  encryptMessageInPieces(
      message, password,
      [&](ByteView piece) { result->insert(result->end(), piece.begin(), piece.end()); }, engine);
  return result;
}

bool encryptMessageInPieces(ByteView message, ByteView password, const CipherSink& sink,
                            CipherEngine engine) {
  const auto framed = framedLength(message.size());
  if (!framed) return false;

  Operation operation(password, engine);
  const Rijndael& cipher = operation.cipher;
  Block& block = operation.block;

  frameBlock(message, 0, block);
  cipher.encryptBlocks(block, block);
  sink(block);
  // Framed blocks that hold message bytes alone are enciphered straight from the message.
  const std::size_t wholeEnd =
      std::max(kBlockBytes, (kLengthBytes + message.size()) / kBlockBytes * kBlockBytes);
  cipherStretches(message, kBlockBytes - kLengthBytes, wholeEnd - kLengthBytes, operation.stretch,
                  sink,
                  [&](ByteView in, std::span<std::uint8_t> out) { cipher.encryptBlocks(in, out); });
  if (wholeEnd < *framed) {
    frameBlock(message, wholeEnd, block);
    cipher.encryptBlocks(block, block);
    sink(block);
  }
  return true;
}

std::optional<Bytes> decryptMessage(ByteView ciphertext, ByteView password, CipherEngine engine) {
  if (ciphertext.empty() || ciphertext.size() % kBlockBytes != 0) return std::nullopt;

  Operation operation(password, engine);
  const Rijndael& cipher = operation.cipher;
  Block& block = operation.block;
  cipher.decryptBlocks(ciphertext.first(kBlockBytes), block);

  // The length prefix governs; blocks past the message are not deciphered at all.
  const std::int32_t length = lengthPrefix(block);
  if (length < 0 || static_cast<std::size_t>(length) > ciphertext.size() - kLengthBytes) {
    return std::nullopt;
  }
  std::optional<Bytes> result(std::in_place);
  Bytes& message = *result;
  message.reserve(static_cast<std::size_t>(length));  // filled once, by appending
  const std::size_t framedEnd = kLengthBytes + static_cast<std::size_t>(length);
  // Framed byte f is message byte f - 4.
  message.insert(message.end(), block.begin() + kLengthBytes,
                 block.begin() + std::min(kBlockBytes, framedEnd));
  const std::size_t wholeEnd = std::max(kBlockBytes, framedEnd / kBlockBytes * kBlockBytes);
  cipherStretches(
      ciphertext, kBlockBytes, wholeEnd, operation.stretch,
      [&](ByteView piece) { message.insert(message.end(), piece.begin(), piece.end()); },
      [&](ByteView in, std::span<std::uint8_t> out) { cipher.decryptBlocks(in, out); });
  if (wholeEnd < framedEnd) {
    cipher.decryptBlocks(ciphertext.subspan(wholeEnd, kBlockBytes), block);
    message.insert(message.end(), block.begin(), block.begin() + (framedEnd - wholeEnd));
  }
  return result;
}

}  // namespace quistel
