#pragma once
// Test access to the block engine inside Encryption, for block and key lengths the framing
// never uses (the published AES vectors), for choosing what runs the rounds and for what an
// operation leaves behind.

#include <algorithm>

#include "cipher/encryption.h"

namespace quistel {

struct EncryptionEngine {
  static bool CanUse(CipherEngine engine) { return Encryption::CanUse(engine); }
  // Only for an engine CanUse() allows.
  static void Use(Encryption& e, CipherEngine engine) { e.engine = engine; }
  static CipherEngine InUse(const Encryption& e) { return e.engine; }

  static void Prepare(Encryption& e, int nb, int nk, ByteView key) {
    e.BuildTables();
    e.ExpandKey(nb, nk, key);
  }
  // The first 4 * Nb bytes in place, or all of a shorter span (which is refused).
  static void EncryptBlock(const Encryption& e, std::span<std::uint8_t> block) {
    const auto first = block.first(std::min(block.size(), BlockBytes(e)));
    e.EncryptBlocks(first, first);
  }
  static void DecryptBlock(const Encryption& e, std::span<std::uint8_t> block) {
    const auto first = block.first(std::min(block.size(), BlockBytes(e)));
    e.DecryptBlocks(first, first);
  }
  // Whole blocks in place, as many at once as the framing runs.
  static void EncryptBlocks(const Encryption& e, std::span<std::uint8_t> blocks) {
    e.EncryptBlocks(blocks, blocks);
  }
  static void DecryptBlocks(const Encryption& e, std::span<std::uint8_t> blocks) {
    e.DecryptBlocks(blocks, blocks);
  }
  static int Rounds(const Encryption& e) { return e.lRounds; }
  static bool KeysCleared(const Encryption& e) {
    return std::all_of(e.lEncKey.begin(), e.lEncKey.end(), [](auto word) { return word == 0; }) &&
           std::all_of(e.lDecKey.begin(), e.lDecKey.end(), [](auto word) { return word == 0; });
  }
  static std::optional<std::size_t> FramedLength(std::size_t messageLength) {
    return Encryption::FramedLength(messageLength);
  }

 private:
  static std::size_t BlockBytes(const Encryption& e) {
    return 4 * static_cast<std::size_t>(e.lBlockWords);
  }
};

}  // namespace quistel
