#pragma once
// The Rijndael block cipher with tables computed at run time from GF(2^8) arithmetic. Quistel
// runs it with 256-bit blocks and a 256-bit key (8 words each, 14 rounds); 4- and 6-word
// lengths make it AES, which tests check against the published vectors. Where the processor
// has AES instructions they run the 8-word rounds instead of the tables, with the same result.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quistel {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// What runs the rounds: tables in plain C++, or the processor's AES instructions.
enum class CipherEngine { Table, AesInstructions };

class Rijndael {
 public:
  static constexpr int kMaxWords = 8;

  // The AES instructions where the processor has them, else the tables.
  static CipherEngine preferredEngine();
  // The tables always; the AES instructions where the processor has them.
  static bool canUse(CipherEngine engine);

  // Only with an engine canUse() allows.
  explicit Rijndael(CipherEngine engine = preferredEngine());
  // Clears the key.
  ~Rijndael();
  Rijndael(const Rijndael&) = delete;
  Rijndael& operator=(const Rijndael&) = delete;

  CipherEngine engine() const { return engine_; }

  // Builds the tables and expands the key's first 4 * keyWords bytes. Block and key lengths are
  // 4, 6 or 8 words; anything else, or a shorter key, throws std::invalid_argument.
  void setKey(ByteView key, int blockWords, int keyWords);
  int rounds() const { return rounds_; }
  std::size_t blockBytes() const { return 4 * static_cast<std::size_t>(blockWords_); }

  // Whole blocks from in to out, of the same size; they may be the same. Throws
  // std::out_of_range for a partial block, std::logic_error without a key.
  void encryptBlocks(ByteView in, std::span<std::uint8_t> out) const;
  void decryptBlocks(ByteView in, std::span<std::uint8_t> out) const;

  // Wipes the expanded keys, and whatever the rounds left on the stack and in registers.
  void clearKey();

 private:
  friend struct RijndaelInspector;

  static constexpr int kMaxRoundKeyWords = kMaxWords * (kMaxWords + 6 + 1);

  void buildTables();
  void expandKey(ByteView key, int blockWords, int keyWords);
  template <bool kInverse>
  void runRounds(ByteView in, std::span<std::uint8_t> out) const;

  std::uint8_t gfMultiply(std::uint8_t x, std::uint8_t y) const;
  std::uint32_t substituteWord(std::uint32_t word) const;
  std::uint8_t columnProduct(std::uint32_t x, std::uint32_t y) const;
  std::uint32_t inverseMixColumn(std::uint32_t word) const;
  std::uint8_t sboxEntry(std::uint8_t x) const;

  std::array<std::uint8_t, 256> sbox_{};
  std::array<std::uint8_t, 256> inverseSbox_{};
  std::array<std::uint8_t, 256> powers_{};      // of the generator 0x03
  std::array<std::uint8_t, 256> logarithms_{};  // to the base 0x03
  std::array<std::uint32_t, 256> encryptTable_{};
  std::array<std::uint32_t, 256> decryptTable_{};
  std::array<std::uint32_t, 30> roundConstants_{};

  CipherEngine engine_;
  int blockWords_ = 0;
  int rounds_ = 0;
  std::array<std::uint32_t, kMaxRoundKeyWords> encryptionKeys_{};
  std::array<std::uint32_t, kMaxRoundKeyWords> decryptionKeys_{};  // the equivalent inverse
};

}  // namespace quistel
