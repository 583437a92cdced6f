// Decrypting any bytes with any password: no crash; a message holds as many bytes as its
// length prefix says, never more than the ciphertext less the prefix; enciphering it again
// gives back every ciphertext block that held the prefix and message bytes alone; and both
// engines decrypt alike.

#include <algorithm>

#include "cipher/message_framing.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::KeyedInput input = fuzz::splitKeyed({data, size});
  const auto message = quistel::decryptMessage(input.message, input.password);
  if (quistel::Rijndael::canUse(quistel::CipherEngine::AesInstructions)) {
    const auto other =
        quistel::decryptMessage(input.message, input.password, quistel::CipherEngine::Table);
    fuzz::require(other == message, "both engines decrypt alike");
  }
  if (!message) return 0;
  fuzz::require(message->size() + 4 <= input.message.size(),
                "a decrypted message fits its ciphertext");

  const auto again = quistel::encryptMessage(*message, input.password);
  // The padding of the last block was whatever the ciphertext held; whole blocks before it
  // are determined by the message alone.
  const std::size_t whole = (message->size() + 4) / 32 * 32;
  fuzz::require(again && again->size() >= whole &&
                    std::equal(again->begin(), again->begin() + static_cast<std::ptrdiff_t>(whole),
                               input.message.begin()),
                "the message enciphers back to its blocks");
  return 0;
}
