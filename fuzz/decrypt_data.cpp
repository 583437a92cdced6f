// Decrypting any bytes with any password: no crash, and a message never longer than the
// ciphertext less its length prefix.

#include "cipher/message_framing.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::KeyedInput input = fuzz::splitKeyed({data, size});
  const auto message = quistel::decryptMessage(input.message, input.password);
  fuzz::require(!message || message->size() + 4 <= input.message.size(),
                "a decrypted message fits its ciphertext");
  return 0;
}
