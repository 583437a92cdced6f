#pragma once
// Rijndael with 256-bit blocks on the processor's AES instructions: each round runs on the two
// 128-bit halves of the block, after a byte shuffle that turns the instruction's own ShiftRows
// into the 8-column one (offsets 1, 3, 4). Built for x86-64 only; elsewhere the table engine
// serves.

#include <cstddef>
#include <cstdint>

// Define QUISTEL_HAS_AES_INSTRUCTIONS=0 to build the table engine alone.
#if !defined(QUISTEL_HAS_AES_INSTRUCTIONS)
#if defined(__x86_64__) || defined(_M_X64)
#define QUISTEL_HAS_AES_INSTRUCTIONS 1
#else
#define QUISTEL_HAS_AES_INSTRUCTIONS 0
#endif
#endif

#if QUISTEL_HAS_AES_INSTRUCTIONS
namespace quistel::aes_instructions {

inline constexpr int kRounds = 14;
inline constexpr std::size_t kBlockBytes = 32;

// Whether this processor has AESENC and friends, PSHUFB and PBLENDVB.
bool supported();

// `count` whole 32-byte blocks from `in` to `out`, which may be the same. The round keys are the
// 8 * 15 words of the key schedule as the table engine packs them; for deciphering those of the
// equivalent inverse cipher (reverse order, inner ones through InvMixColumns). Only call when
// supported().
void encryptBlocks(const std::uint32_t* roundKeys, const std::uint8_t* in, std::uint8_t* out,
                   std::size_t count);
void decryptBlocks(const std::uint32_t* roundKeys, const std::uint8_t* in, std::uint8_t* out,
                   std::size_t count);

// Overwrites the vector registers, which hold round keys and state after the calls above.
void clearRegisters();

}  // namespace quistel::aes_instructions
#endif
