#pragma once
// Rijndael with tables computed at run time from GF(2^8) arithmetic, and the framing of a
// message under a password: a 4-byte little-endian length, the message, zero padding to whole
// 32-byte blocks, each block enciphered on its own with a 256-bit block and a 256-bit key.
// Where the processor has AES instructions they run the rounds instead of the tables, with
// the same result; QUISTEL_CIPHER_ENGINE=table in the environment keeps to the tables.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quistel {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// What runs the rounds: tables in plain C++, or the processor's AES instructions.
enum class CipherEngine { kTable, kAesInstructions };

// One object per operation. Tables and keys are rebuilt by every call; the key buffer, the
// expanded keys, the work blocks and the stack and registers the rounds worked in are cleared
// before a call returns.
class Encryption {
 public:
  Encryption();
  ~Encryption();
  Encryption(const Encryption&) = delete;
  Encryption& operator=(const Encryption&) = delete;

  // The ciphertext (a multiple of 32 bytes, at least 32), or nothing when the framed message
  // would pass 2^31 - 1 bytes. Only the first 32 password bytes count.
  std::optional<Bytes> EncryptData(ByteView bytMessage, ByteView bytPassword);

  // The message, present and empty for an empty one; nothing when the input is not whole
  // 32-byte blocks or its decrypted length does not fit the data (wrong password, damage).
  std::optional<Bytes> DecryptData(ByteView bytIn, ByteView bytPassword);

 private:
  friend struct EncryptionEngine;  // tests pick the engine and drive it with other lengths

  static constexpr int kMaxWords = 8;
  static constexpr int kMaxRoundKeyWords = kMaxWords * (kMaxWords + 6 + 1);
  static constexpr std::size_t kBlockBytes = 32;
  static constexpr std::size_t kKeyBytes = 32;
  static constexpr std::size_t kLengthBytes = 4;

  // L + 4 rounded up to whole blocks, or nothing beyond the signed 32-bit range.
  static std::optional<std::size_t> FramedLength(std::size_t messageLength);
  // The framed bytes offset .. offset + 31: length prefix, message bytes, zero padding.
  static void FrameBlock(ByteView message, std::size_t offset,
                         std::span<std::uint8_t, kBlockBytes> block);
  void PrepareKey(ByteView bytPassword);
  // The table engine always; the AES instructions where the processor has them and the
  // environment does not ask for the tables.
  static bool CanUse(CipherEngine candidate);

  // The key schedule and whatever the rounds left on the stack and in registers.
  void ClearWorkingState();

  void BuildTables();
  void ExpandKey(int nb, int nk, ByteView key);
  // Whole blocks of 4 * Nb bytes from in to out, of the same size; they may be the same.
  void EncryptBlocks(ByteView in, std::span<std::uint8_t> out) const;
  void DecryptBlocks(ByteView in, std::span<std::uint8_t> out) const;
  template <bool kInverse>
  void RunRounds(ByteView in, std::span<std::uint8_t> out) const;

  std::uint8_t GfMultiply(std::uint8_t x, std::uint8_t y) const;
  std::uint32_t SubstituteLong(std::uint32_t word) const;
  std::uint8_t ColumnProduct(std::uint32_t x, std::uint32_t y) const;
  std::uint32_t InverseMixWord(std::uint32_t word) const;
  std::uint8_t SboxEntry(std::uint8_t x) const;

  static constexpr std::array<std::uint8_t, 4> bytInvMixCoef{0x0B, 0x0D, 0x09, 0x0E};

  std::array<std::uint8_t, 256> bytSbox{};
  std::array<std::uint8_t, 256> bytInvSbox{};
  std::array<std::uint8_t, 256> bytExp{};
  std::array<std::uint8_t, 256> bytLog{};
  std::array<std::uint32_t, 256> lEncTable{};
  std::array<std::uint32_t, 256> lDecTable{};
  std::array<std::uint32_t, 30> lRcon{};

  CipherEngine engine;
  int lKeyWords = 0;
  int lBlockWords = 0;
  int lRounds = 0;
  std::array<std::uint32_t, kMaxRoundKeyWords> lEncKey{};
  std::array<std::uint32_t, kMaxRoundKeyWords> lDecKey{};
};

}  // namespace quistel
