#include "cipher/aes_instructions.h"

#if QUISTEL_HAS_AES_INSTRUCTIONS

#include <array>

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
// The compiler accepts these instructions anywhere; the CPU check guards their use.
#define QUISTEL_AES_CODE __forceinline
#define QUISTEL_AES_FUNCTION
#else
#include <immintrin.h>
// Only these functions may use the instructions, so the program as a whole runs on any x86.
#define QUISTEL_AES_FUNCTION __attribute__((target("aes,ssse3,sse4.1")))
#define QUISTEL_AES_CODE __attribute__((target("aes,ssse3,sse4.1"), always_inline)) inline
#endif

namespace quistel::aes_instructions {
namespace {

constexpr int kColumns = 8;
constexpr int kHalfColumns = 4;
constexpr int kHalfBytes = 16;
constexpr int kRowOffsets[4] = {0, 1, 3, 4};  // ShiftRows of an 8-column block

// Byte 4 * column + row of the 32-byte state that must sit at byte `position` of half `half`
// before the instruction's 4-column ShiftRows (or InvShiftRows), so that both together move
// every byte as the 8-column ShiftRows does. SubBytes works byte by byte, so it may come in
// between. Row r of output column j comes from column j + Cr (j - Cr when deciphering).
constexpr int sourceByte(bool inverse, int half, int position) {
  const int row = position % 4;
  const int column = position / 4;
  // The instruction moves `column` to output column `column` - row (+ row when inverse).
  const int shift = inverse ? row : kHalfColumns - row;
  const int outputColumn = half * kHalfColumns + (column + shift) % kHalfColumns;
  const int offset = inverse ? kColumns - kRowOffsets[row] : kRowOffsets[row];
  return 4 * ((outputColumn + offset) % kColumns) + row;
}

// The high half gathers from the same byte positions as the low one, each byte from the other
// half; so a blend per half and one shared shuffle do the job.
struct HalfShuffle {
  alignas(16) std::array<std::uint8_t, kHalfBytes> takeFromHigh{};  // PBLENDVB mask
  alignas(16) std::array<std::uint8_t, kHalfBytes> gather{};        // PSHUFB indices
};

constexpr HalfShuffle makeHalfShuffle(bool inverse) {
  HalfShuffle shuffle;
  for (int position = 0; position < kHalfBytes; ++position) {
    const int source = sourceByte(inverse, 0, position);
    shuffle.gather[position] = static_cast<std::uint8_t>(source % kHalfBytes);
    if (source >= kHalfBytes) shuffle.takeFromHigh[source % kHalfBytes] = 0x80;
  }
  return shuffle;
}

constexpr bool halvesAreComplementary(bool inverse) {
  const HalfShuffle shuffle = makeHalfShuffle(inverse);
  for (int position = 0; position < kHalfBytes; ++position) {
    const int low = sourceByte(inverse, 0, position);
    const int high = sourceByte(inverse, 1, position);
    if (high != (low + kHalfBytes) % (2 * kHalfBytes)) return false;
    // No two positions may ask for the same byte from different halves.
    if ((shuffle.takeFromHigh[low % kHalfBytes] != 0) != (low >= kHalfBytes)) return false;
  }
  return true;
}
static_assert(halvesAreComplementary(false) && halvesAreComplementary(true));

constexpr HalfShuffle kForwardShuffle = makeHalfShuffle(false);
constexpr HalfShuffle kInverseShuffle = makeHalfShuffle(true);

// Blocks enciphered side by side, so that the instructions' latency overlaps.
constexpr std::size_t kLanes = 4;

struct Shuffle {
  __m128i takeFromHigh;
  __m128i gather;
};

QUISTEL_AES_CODE Shuffle loadShuffle(const HalfShuffle& shuffle) {
  return {_mm_load_si128(reinterpret_cast<const __m128i*>(shuffle.takeFromHigh.data())),
          _mm_load_si128(reinterpret_cast<const __m128i*>(shuffle.gather.data()))};
}

QUISTEL_AES_CODE __m128i loadRoundKey(const std::uint32_t* roundKeys, int round, int half) {
  return _mm_loadu_si128(
      reinterpret_cast<const __m128i*>(roundKeys + kColumns * round + kHalfColumns * half));
}

template <bool kInverse, bool kLast>
QUISTEL_AES_CODE __m128i aesRound(__m128i half, __m128i roundKey) {
  if constexpr (kInverse) {
    return kLast ? _mm_aesdeclast_si128(half, roundKey) : _mm_aesdec_si128(half, roundKey);
  } else {
    return kLast ? _mm_aesenclast_si128(half, roundKey) : _mm_aesenc_si128(half, roundKey);
  }
}

// One round on `lanes` blocks held as low and high halves.
template <std::size_t kCount, bool kInverse, bool kLast>
QUISTEL_AES_CODE void roundOnLanes(__m128i (&low)[kCount], __m128i (&high)[kCount], Shuffle shuffle,
                                   __m128i lowKey, __m128i highKey) {
  for (std::size_t lane = 0; lane < kCount; ++lane) {
    const __m128i fromLow = _mm_blendv_epi8(low[lane], high[lane], shuffle.takeFromHigh);
    const __m128i fromHigh = _mm_blendv_epi8(high[lane], low[lane], shuffle.takeFromHigh);
    low[lane] = aesRound<kInverse, kLast>(_mm_shuffle_epi8(fromLow, shuffle.gather), lowKey);
    high[lane] = aesRound<kInverse, kLast>(_mm_shuffle_epi8(fromHigh, shuffle.gather), highKey);
  }
}

template <std::size_t kCount, bool kInverse>
QUISTEL_AES_CODE void cipherBlocks(const std::uint32_t* roundKeys, const std::uint8_t* in,
                                   std::uint8_t* out, Shuffle shuffle) {
  __m128i low[kCount];
  __m128i high[kCount];
  for (std::size_t lane = 0; lane < kCount; ++lane) {
    auto* block = reinterpret_cast<const __m128i*>(in + kBlockBytes * lane);
    low[lane] = _mm_xor_si128(_mm_loadu_si128(block), loadRoundKey(roundKeys, 0, 0));
    high[lane] = _mm_xor_si128(_mm_loadu_si128(block + 1), loadRoundKey(roundKeys, 0, 1));
  }
  for (int round = 1; round < kRounds; ++round) {
    roundOnLanes<kCount, kInverse, false>(low, high, shuffle, loadRoundKey(roundKeys, round, 0),
                                          loadRoundKey(roundKeys, round, 1));
  }
  roundOnLanes<kCount, kInverse, true>(low, high, shuffle, loadRoundKey(roundKeys, kRounds, 0),
                                       loadRoundKey(roundKeys, kRounds, 1));
  for (std::size_t lane = 0; lane < kCount; ++lane) {
    auto* block = reinterpret_cast<__m128i*>(out + kBlockBytes * lane);
    _mm_storeu_si128(block, low[lane]);
    _mm_storeu_si128(block + 1, high[lane]);
  }
}

template <bool kInverse>
QUISTEL_AES_CODE void allBlocks(const std::uint32_t* roundKeys, const std::uint8_t* in,
                                std::uint8_t* out, std::size_t count) {
  const Shuffle shuffle = loadShuffle(kInverse ? kInverseShuffle : kForwardShuffle);
  for (; count >= kLanes;
       count -= kLanes, in += kLanes * kBlockBytes, out += kLanes * kBlockBytes) {
    cipherBlocks<kLanes, kInverse>(roundKeys, in, out, shuffle);
  }
  for (; count > 0; --count, in += kBlockBytes, out += kBlockBytes) {
    cipherBlocks<1, kInverse>(roundKeys, in, out, shuffle);
  }
}

}  // namespace

bool supported() {
#if defined(_MSC_VER) && !defined(__clang__)
  int registers[4];
  __cpuid(registers, 1);
  const int ecx = registers[2];
  constexpr int kSsse3 = 1 << 9;
  constexpr int kSse41 = 1 << 19;
  constexpr int kAes = 1 << 25;
  return (ecx & (kSsse3 | kSse41 | kAes)) == (kSsse3 | kSse41 | kAes);
#else
  __builtin_cpu_init();
  return __builtin_cpu_supports("aes") && __builtin_cpu_supports("ssse3") &&
         __builtin_cpu_supports("sse4.1");
#endif
}

QUISTEL_AES_FUNCTION void encryptBlocks(const std::uint32_t* roundKeys, const std::uint8_t* in,
                                        std::uint8_t* out, std::size_t count) {
  allBlocks<false>(roundKeys, in, out, count);
}

QUISTEL_AES_FUNCTION void decryptBlocks(const std::uint32_t* roundKeys, const std::uint8_t* in,
                                        std::uint8_t* out, std::size_t count) {
  allBlocks<true>(roundKeys, in, out, count);
}

void clearRegisters() {
#if defined(_MSC_VER) && !defined(__clang__)
  // No inline assembly here; the next vector code overwrites them.
#else
  asm volatile(
      "pxor %%xmm0, %%xmm0\n pxor %%xmm1, %%xmm1\n pxor %%xmm2, %%xmm2\n pxor %%xmm3, %%xmm3\n"
      "pxor %%xmm4, %%xmm4\n pxor %%xmm5, %%xmm5\n pxor %%xmm6, %%xmm6\n pxor %%xmm7, %%xmm7\n"
      "pxor %%xmm8, %%xmm8\n pxor %%xmm9, %%xmm9\n pxor %%xmm10, %%xmm10\n"
      "pxor %%xmm11, %%xmm11\n pxor %%xmm12, %%xmm12\n pxor %%xmm13, %%xmm13\n"
      "pxor %%xmm14, %%xmm14\n pxor %%xmm15, %%xmm15\n" ::
          : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8", "xmm9", "xmm10",
            "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
}

}  // namespace quistel::aes_instructions

#endif
