#pragma once
// Test access to the block engine inside Encryption, for block and key lengths the framing
// never uses (the published AES vectors) and for what an operation leaves behind.

#include "cipher/encryption.h"

namespace quistel {

struct EncryptionEngine {
  static void Prepare(Encryption& e, int nb, int nk, ByteView key) {
    e.BuildTables();
    e.ExpandKey(nb, nk, key);
  }
  static void EncryptBlock(const Encryption& e, std::span<std::uint8_t> block) {
    e.EncryptBlock(block, block);
  }
  static void DecryptBlock(const Encryption& e, std::span<std::uint8_t> block) {
    e.DecryptBlock(block, block);
  }
  static int Rounds(const Encryption& e) { return e.lRounds; }
  static bool KeysCleared(const Encryption& e) {
    for (auto word : e.lEncKey)
      if (word != 0) return false;
    for (auto word : e.lDecKey)
      if (word != 0) return false;
    return true;
  }
  static std::optional<std::size_t> FramedLength(std::size_t messageLength) {
    return Encryption::FramedLength(messageLength);
  }
};

}  // namespace quistel
