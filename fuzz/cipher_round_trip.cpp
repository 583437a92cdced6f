// Encrypting and decrypting with the same password gives the message back exactly; only the
// password's first 32 bytes count, and zeros after a shorter one change nothing; both engines
// encrypt alike.

#include <algorithm>
#include <vector>

#include "cipher/message_framing.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::KeyedInput input = fuzz::splitKeyed({data, size});
  const auto cipher = quistel::encryptMessage(input.message, input.password);
  fuzz::require(cipher && cipher->size() % 32 == 0 && cipher->size() >= input.message.size() + 4,
                "ciphertext is whole blocks holding the length and the message");
  const auto message = quistel::decryptMessage(*cipher, input.password);
  fuzz::require(message && std::ranges::equal(*message, input.message),
                "decrypting gives the message back");

  // The key is the password's first 32 bytes, padded with zeros.
  std::vector<std::uint8_t> key(
      input.password.begin(),
      input.password.begin() +
          static_cast<std::ptrdiff_t>(std::min<std::size_t>(input.password.size(), 32)));
  key.resize(32, 0);
  fuzz::require(quistel::encryptMessage(input.message, key) == cipher,
                "only the password's first 32 bytes count");
  if (quistel::Rijndael::canUse(quistel::CipherEngine::AesInstructions)) {
    fuzz::require(quistel::encryptMessage(input.message, input.password,
                                          quistel::CipherEngine::Table) == cipher,
                  "both engines encrypt alike");
  }
  return 0;
}
