#include "testing/mcrypt_oracle.h"

#include <mcrypt.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quistel {
namespace {

constexpr std::size_t kBlock = 32;

std::array<std::uint8_t, kBlock> keyFromPassword(ByteView password) {
  std::array<std::uint8_t, kBlock> key{};
  std::copy_n(password.begin(), std::min(password.size(), kBlock), key.begin());
  return key;
}

std::uint32_t readLittleEndian(const std::uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}

}  // namespace

McryptRijndael256::McryptRijndael256(ByteView key) {
  char algorithm[] = "rijndael-256";
  char mode[] = "ecb";
  stream_ = mcrypt_module_open(algorithm, nullptr, mode, nullptr);
  if (stream_ == MCRYPT_FAILED) throw std::runtime_error("libmcrypt has no rijndael-256");
  std::array<std::uint8_t, kBlock> keyCopy{};
  std::copy_n(key.begin(), std::min(key.size(), kBlock), keyCopy.begin());
  const std::size_t keySize = key.size() == 16 || key.size() == 24 ? key.size() : kBlock;
  if (mcrypt_generic_init(stream_, keyCopy.data(), static_cast<int>(keySize), nullptr) < 0) {
    mcrypt_module_close(stream_);
    throw std::runtime_error("libmcrypt refused the key");
  }
}

McryptRijndael256::~McryptRijndael256() {
  mcrypt_generic_deinit(stream_);
  mcrypt_module_close(stream_);
}

void McryptRijndael256::encrypt(std::span<std::uint8_t> blocks) {
  mcrypt_generic(stream_, blocks.data(), static_cast<int>(blocks.size()));
}

void McryptRijndael256::decrypt(std::span<std::uint8_t> blocks) {
  mdecrypt_generic(stream_, blocks.data(), static_cast<int>(blocks.size()));
}

Bytes oracleEncryptMessage(ByteView message, ByteView password) {
  Bytes framed((message.size() + 4 + kBlock - 1) / kBlock * kBlock, 0);
  for (int i = 0; i < 4; ++i) framed[i] = static_cast<std::uint8_t>(message.size() >> (8 * i));
  std::copy(message.begin(), message.end(), framed.begin() + 4);
  McryptRijndael256(keyFromPassword(password)).encrypt(framed);
  return framed;
}

std::optional<Bytes> oracleDecryptMessage(ByteView ciphertext, ByteView password) {
  if (ciphertext.empty() || ciphertext.size() % kBlock != 0) return std::nullopt;
  Bytes framed(ciphertext.begin(), ciphertext.end());
  McryptRijndael256(keyFromPassword(password)).decrypt(framed);
  const auto length = static_cast<std::int32_t>(readLittleEndian(framed.data()));
  if (length < 0 || static_cast<std::size_t>(length) > framed.size() - 4) return std::nullopt;
  return Bytes(framed.begin() + 4, framed.begin() + 4 + length);
}

}  // namespace quistel
