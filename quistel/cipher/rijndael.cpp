#include "cipher/rijndael.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <utility>

#include "cipher/aes_instructions.h"
#include "cipher/secure_wipe.h"

// The round functions must be inlined for the state to live in registers.
#if defined(_MSC_VER)
#define QUISTEL_ALWAYS_INLINE __forceinline
#define QUISTEL_NEVER_INLINE __declspec(noinline)
#else
#define QUISTEL_ALWAYS_INLINE [[gnu::always_inline]] inline
#define QUISTEL_NEVER_INLINE [[gnu::noinline]]
#endif

namespace quistel {
namespace {

constexpr std::uint8_t kReducingByte = 0x1B;  // x^8 + x^4 + x^3 + x + 1, without x^8
constexpr std::uint8_t kAffineConstant = 0x63;
constexpr std::array<std::uint8_t, 4> kInverseMixCoefficients{0x0B, 0x0D, 0x09, 0x0E};

// More than the block rounds and the key schedule ever put on the stack below an operation.
constexpr std::size_t kStackClearBytes = 4 << 10;

// Overwrites the stack below the caller's frame, where the block rounds and the key schedule
// spilled state and key words that the registers could not hold.
QUISTEL_NEVER_INLINE void clearStackBelowCaller() {
  std::array<std::byte, kStackClearBytes> area;
  secureWipe(area);
}

bool aesInstructionsUsable() {
#if QUISTEL_HAS_AES_INSTRUCTIONS
  static const bool usable = aes_instructions::supported();
  return usable;
#else
  return false;
#endif
}

std::uint8_t gfDouble(std::uint8_t a) {
  return static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) ? kReducingByte : 0));
}

constexpr std::uint32_t pack(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
  return std::uint32_t{b0} | (std::uint32_t{b1} << 8) | (std::uint32_t{b2} << 16) |
         (std::uint32_t{b3} << 24);
}

constexpr std::uint8_t byteOf(std::uint32_t word, int index) {
  return static_cast<std::uint8_t>(word >> (8 * index));
}

// The little-endian word at bytes offset .. offset + 3.
std::uint32_t loadWord(const std::uint8_t* bytes, std::size_t offset) {
  return pack(bytes[offset], bytes[offset + 1], bytes[offset + 2], bytes[offset + 3]);
}

void storeWord(std::uint32_t word, std::uint8_t* bytes, std::size_t offset) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = byteOf(word, i);
}

bool isSupportedLength(int words) { return words == 4 || words == 6 || words == 8; }

// What one direction of the block cipher runs on.
struct RoundTables {
  const std::uint32_t* roundKeys;
  const std::uint32_t* table;        // SubBytes and MixColumns of row 0
  const std::uint8_t* lastRoundBox;  // the S-box of the last round
};

// ShiftRows: row r of output column j comes from column j + Cr, backwards when deciphering.
template <int kNb, bool kInverse>
constexpr int sourceColumn(int column, int row) {
  constexpr int kOffsets[4] = {0, 1, kNb < 8 ? 2 : 3, kNb < 8 ? 3 : 4};
  return kInverse ? (column + kNb - kOffsets[row]) % kNb : (column + kOffsets[row]) % kNb;
}

template <int kNb>
using State = std::array<std::uint32_t, kNb>;

// One full round. The table word does SubBytes and MixColumns for row 0; rotated by 8, 16 and
// 24 bits it serves rows 1 to 3. Column indices are constants, so the state stays in registers.
template <int kNb, bool kInverse, std::size_t... kColumn>
QUISTEL_ALWAYS_INLINE void tableRound(const State<kNb>& x, State<kNb>& y,
                                      const std::uint32_t* roundKey, const std::uint32_t* table,
                                      std::index_sequence<kColumn...>) {
  ((y[kColumn] = roundKey[kColumn] ^ table[x[kColumn] & 0xFF] ^
                 std::rotl(table[(x[sourceColumn<kNb, kInverse>(kColumn, 1)] >> 8) & 0xFF], 8) ^
                 std::rotl(table[(x[sourceColumn<kNb, kInverse>(kColumn, 2)] >> 16) & 0xFF], 16) ^
                 std::rotl(table[x[sourceColumn<kNb, kInverse>(kColumn, 3)] >> 24], 24)),
   ...);
}

// The last round has no MixColumns: plain S-box bytes, each placed in its row.
template <int kNb, bool kInverse, std::size_t... kColumn>
QUISTEL_ALWAYS_INLINE void lastRound(const State<kNb>& x, State<kNb>& y,
                                     const std::uint32_t* roundKey, const std::uint8_t* box,
                                     std::index_sequence<kColumn...>) {
  ((y[kColumn] =
        roundKey[kColumn] ^ pack(box[x[kColumn] & 0xFF],
                                 box[(x[sourceColumn<kNb, kInverse>(kColumn, 1)] >> 8) & 0xFF],
                                 box[(x[sourceColumn<kNb, kInverse>(kColumn, 2)] >> 16) & 0xFF],
                                 box[x[sourceColumn<kNb, kInverse>(kColumn, 3)] >> 24])),
   ...);
}

// Full rounds 1 .. kRounds - 1, unrolled; they alternate between the two states, so an odd
// number of them (the round count is 10, 12 or 14) leaves the result in b.
template <int kNb, bool kInverse, std::size_t... kRound>
QUISTEL_ALWAYS_INLINE void fullRounds(State<kNb>& a, State<kNb>& b, const std::uint32_t* roundKeys,
                                      const std::uint32_t* table, std::index_sequence<kRound...>) {
  constexpr auto kColumns = std::make_index_sequence<kNb>();
  ((kRound % 2 == 0
        ? tableRound<kNb, kInverse>(a, b, roundKeys + kNb * (kRound + 1), table, kColumns)
        : tableRound<kNb, kInverse>(b, a, roundKeys + kNb * (kRound + 1), table, kColumns)),
   ...);
}

// Enciphers (or deciphers) `count` blocks of 4 * kNb bytes; in and out may be the same.
template <int kNb, bool kInverse, int kRounds>
void cipherBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                  const RoundTables& tables) {
  const std::uint32_t* roundKeys = tables.roundKeys;
  for (; count > 0; --count, in += 4 * kNb, out += 4 * kNb) {
    State<kNb> a;
    State<kNb> b;
    for (int i = 0; i < kNb; ++i) a[i] = loadWord(in, 4 * i) ^ roundKeys[i];
    fullRounds<kNb, kInverse>(a, b, roundKeys, tables.table,
                              std::make_index_sequence<kRounds - 1>());
    lastRound<kNb, kInverse>(b, a, roundKeys + kNb * kRounds, tables.lastRoundBox,
                             std::make_index_sequence<kNb>());
    for (int i = 0; i < kNb; ++i) storeWord(a[i], out, 4 * i);
  }
}

}  // namespace

CipherEngine Rijndael::preferredEngine() {
  return aesInstructionsUsable() ? CipherEngine::AesInstructions : CipherEngine::Table;
}

bool Rijndael::canUse(CipherEngine engine) {
  return engine == CipherEngine::Table || aesInstructionsUsable();
}

Rijndael::Rijndael(CipherEngine engine) : engine_(engine) {}

Rijndael::~Rijndael() { clearKey(); }

void Rijndael::clearKey() {
  secureWipe(encryptionKeys_);
  secureWipe(decryptionKeys_);
  clearStackBelowCaller();
#if QUISTEL_HAS_AES_INSTRUCTIONS
  if (engine_ == CipherEngine::AesInstructions) aes_instructions::clearRegisters();
#endif
}

void Rijndael::setKey(ByteView key, int blockWords, int keyWords) {
  buildTables();
  expandKey(key, blockWords, keyWords);
}

void Rijndael::buildTables() {
  // Powers of the generator 0x03 and their logarithms. logarithms_[1] ends as 255, not 0: every
  // use reduces modulo 255.
  powers_[0] = 1;
  logarithms_[0] = 0;
  for (int i = 1; i < 256; ++i) {
    powers_[i] = powers_[i - 1] ^ gfDouble(powers_[i - 1]);
    logarithms_[powers_[i]] = static_cast<std::uint8_t>(i);
  }

  sbox_[0] = kAffineConstant;
  inverseSbox_[kAffineConstant] = 0;
  for (int i = 1; i < 256; ++i) {
    const std::uint8_t y = sboxEntry(static_cast<std::uint8_t>(i));
    sbox_[i] = y;
    inverseSbox_[y] = static_cast<std::uint8_t>(i);
  }

  std::uint8_t power = 1;
  for (auto& constant : roundConstants_) {
    constant = power;
    power = gfDouble(power);
  }

  // One MixColumns column of (s, 0, 0, 0) forward and InvMixColumns of (t, 0, 0, 0) backward;
  // the other three rows are the same words rotated at use.
  const auto& c = kInverseMixCoefficients;
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t s = sbox_[i];
    encryptTable_[i] = pack(gfDouble(s), s, s, s ^ gfDouble(s));
    const std::uint8_t t = inverseSbox_[i];
    decryptTable_[i] =
        pack(gfMultiply(c[3], t), gfMultiply(c[2], t), gfMultiply(c[1], t), gfMultiply(c[0], t));
  }
}

std::uint8_t Rijndael::sboxEntry(std::uint8_t x) const {
  // The multiplicative inverse, then the affine map as four rotations.
  std::uint8_t y = powers_[255 - logarithms_[x]];
  std::uint8_t b = y;
  for (int i = 0; i < 4; ++i) {
    b = std::rotl(b, 1);
    y ^= b;
  }
  return y ^ kAffineConstant;
}

std::uint8_t Rijndael::gfMultiply(std::uint8_t x, std::uint8_t y) const {
  if (x == 0 || y == 0) return 0;
  return powers_[(logarithms_[x] + logarithms_[y]) % 255];
}

std::uint32_t Rijndael::substituteWord(std::uint32_t word) const {
  return pack(sbox_[byteOf(word, 0)], sbox_[byteOf(word, 1)], sbox_[byteOf(word, 2)],
              sbox_[byteOf(word, 3)]);
}

std::uint8_t Rijndael::columnProduct(std::uint32_t x, std::uint32_t y) const {
  std::uint8_t sum = 0;
  for (int i = 0; i < 4; ++i) sum ^= gfMultiply(byteOf(x, i), byteOf(y, i));
  return sum;
}

std::uint32_t Rijndael::inverseMixColumn(std::uint32_t word) const {
  const auto& c = kInverseMixCoefficients;
  std::uint32_t coefficients = pack(c[0], c[1], c[2], c[3]);
  std::array<std::uint8_t, 4> rows;
  for (int row = 3; row >= 0; --row) {
    rows[row] = columnProduct(coefficients, word);
    coefficients = std::rotl(coefficients, 24);
  }
  return pack(rows[0], rows[1], rows[2], rows[3]);
}

void Rijndael::expandKey(ByteView key, int blockWords, int keyWords) {
  if (!isSupportedLength(blockWords) || !isSupportedLength(keyWords)) {
    throw std::invalid_argument("block and key lengths are 4, 6 or 8 words");
  }
  if (key.size() < 4 * static_cast<std::size_t>(keyWords)) {
    throw std::invalid_argument("key shorter than its length in words");
  }
  const int nb = blockWords;
  const int nk = keyWords;
  blockWords_ = nb;
  rounds_ = std::max(nb, nk) + 6;

  const int total = nb * (rounds_ + 1);
  for (int i = 0; i < nk; ++i) encryptionKeys_[i] = loadWord(key.data(), 4 * i);
  for (int i = nk; i < total; ++i) {
    std::uint32_t temp = encryptionKeys_[i - 1];
    if (i % nk == 0) {
      // RotWord is a rotation left by 24 for little-endian packing.
      temp = substituteWord(std::rotl(temp, 24)) ^ roundConstants_[i / nk - 1];
    } else if (nk > 6 && i % nk == 4) {
      temp = substituteWord(temp);
    }
    encryptionKeys_[i] = encryptionKeys_[i - nk] ^ temp;
  }

  // The equivalent inverse cipher: round keys in reverse order, the inner ones through
  // InvMixColumns.
  for (int round = 0; round <= rounds_; ++round) {
    const int from = nb * round;
    const int to = nb * (rounds_ - round);
    const bool outer = round == 0 || round == rounds_;
    for (int j = 0; j < nb; ++j) {
      decryptionKeys_[to + j] =
          outer ? encryptionKeys_[from + j] : inverseMixColumn(encryptionKeys_[from + j]);
    }
  }
}

void Rijndael::encryptBlocks(ByteView in, std::span<std::uint8_t> out) const {
  runRounds<false>(in, out);
}

void Rijndael::decryptBlocks(ByteView in, std::span<std::uint8_t> out) const {
  runRounds<true>(in, out);
}

template <bool kInverse>
void Rijndael::runRounds(ByteView in, std::span<std::uint8_t> out) const {
  if (blockWords_ == 0) throw std::logic_error("no key expanded");
  if (in.size() % blockBytes() != 0 || out.size() != in.size()) {
    throw std::out_of_range("not whole blocks");
  }
  const std::size_t count = in.size() / blockBytes();
#if QUISTEL_HAS_AES_INSTRUCTIONS
  if (engine_ == CipherEngine::AesInstructions && blockWords_ == 8) {
    return kInverse ? aes_instructions::decryptBlocks(decryptionKeys_.data(), in.data(), out.data(),
                                                      count)
                    : aes_instructions::encryptBlocks(encryptionKeys_.data(), in.data(), out.data(),
                                                      count);
  }
#endif
  const RoundTables tables =
      kInverse ? RoundTables{decryptionKeys_.data(), decryptTable_.data(), inverseSbox_.data()}
               : RoundTables{encryptionKeys_.data(), encryptTable_.data(), sbox_.data()};
  // Block length and round count (the larger length + 6) fix the unrolled code.
  switch (10 * blockWords_ + rounds_) {
    case 4 * 10 + 10:
      return cipherBlocks<4, kInverse, 10>(in.data(), out.data(), count, tables);
    case 4 * 10 + 12:
      return cipherBlocks<4, kInverse, 12>(in.data(), out.data(), count, tables);
    case 4 * 10 + 14:
      return cipherBlocks<4, kInverse, 14>(in.data(), out.data(), count, tables);
    case 6 * 10 + 12:
      return cipherBlocks<6, kInverse, 12>(in.data(), out.data(), count, tables);
    case 6 * 10 + 14:
      return cipherBlocks<6, kInverse, 14>(in.data(), out.data(), count, tables);
    default:
      return cipherBlocks<8, kInverse, 14>(in.data(), out.data(), count, tables);
  }
}

}  // namespace quistel
