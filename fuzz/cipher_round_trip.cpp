// Encrypting and decrypting with the same password gives the message back exactly.

#include <algorithm>

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
  return 0;
}
