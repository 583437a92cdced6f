#pragma once
// Test access to what a Rijndael object keeps of its key.

#include <algorithm>

#include "cipher/rijndael.h"

namespace quistel {

struct RijndaelInspector {
  static bool keyCleared(const Rijndael& cipher) {
    const auto zero = [](std::uint32_t word) { return word == 0; };
    return std::ranges::all_of(cipher.encryptionKeys_, zero) &&
           std::ranges::all_of(cipher.decryptionKeys_, zero);
  }
};

}  // namespace quistel
