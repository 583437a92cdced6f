#pragma once
// libmcrypt's "rijndael-256" in ECB mode: an implementation written independently of ours,
// used to check our cipher and as the benchmarks' reference. Never linked into the program.

#include <cstdint>
#include <optional>
#include <span>

#include "cipher/rijndael.h"

struct CRYPT_STREAM;  // libmcrypt's handle

namespace quistel {

class McryptRijndael256 {
 public:
  // A key of 16, 24 or 32 bytes; any other is cut or padded with zeros to 32.
  explicit McryptRijndael256(ByteView key);
  ~McryptRijndael256();
  McryptRijndael256(const McryptRijndael256&) = delete;
  McryptRijndael256& operator=(const McryptRijndael256&) = delete;

  // Whole 32-byte blocks, in place.
  void encrypt(std::span<std::uint8_t> blocks);
  void decrypt(std::span<std::uint8_t> blocks);

 private:
  ::CRYPT_STREAM* stream_;
};

// The message framing done with the oracle: length prefix, message, zero padding; the key is
// the password's first 32 bytes padded with zeros.
Bytes oracleEncryptMessage(ByteView message, ByteView password);
// Nothing when the length prefix does not fit the data.
std::optional<Bytes> oracleDecryptMessage(ByteView ciphertext, ByteView password);

}  // namespace quistel
