#include "cipher/encryption.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "cipher/aes_instructions.h"

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

// Whole blocks are enciphered into a buffer of this size and appended to the result from there,
// while the buffer is in the cache.
constexpr std::size_t kStretchBytes = 16 << 10;
// More than the block rounds and the key schedule ever put on the stack below an operation.
constexpr std::size_t kStackClearBytes = 4 << 10;

// Overwrites memory in a way the compiler may not drop as a dead store.
void SecureClear(void* data, std::size_t size) {
#if defined(__GLIBC__)
  explicit_bzero(data, size);
#else
  auto* bytes = static_cast<volatile unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
#endif
}

template <typename T, std::size_t N>
void SecureClear(std::array<T, N>& data) {
  SecureClear(data.data(), sizeof(T) * N);
}

// Overwrites the stack below the caller's frame, where the block rounds and the key schedule
// spilled state and key words that the registers could not hold.
QUISTEL_NEVER_INLINE void ClearStackBelowCaller() {
  volatile std::uint8_t area[kStackClearBytes];
  for (auto& byte : area) byte = 0;
}

// Runs an action when the scope ends, however it ends.
template <typename Action>
class AtScopeExit {
 public:
  explicit AtScopeExit(Action action) : action(std::move(action)) {}
  ~AtScopeExit() { action(); }
  AtScopeExit(const AtScopeExit&) = delete;
  AtScopeExit& operator=(const AtScopeExit&) = delete;

 private:
  Action action;
};

// However an operation ends: its work buffers are cleared, then the object's key and working
// state.
template <typename ClearState>
auto WipeAtExit(std::span<std::uint8_t> work, std::span<std::uint8_t> stretch,
                ClearState clearState) {
  return AtScopeExit([work, stretch, clearState] {
    SecureClear(work.data(), work.size());
    SecureClear(stretch.data(), stretch.size());
    clearState();
  });
}

#if QUISTEL_HAS_AES_INSTRUCTIONS
// QUISTEL_CIPHER_ENGINE=table keeps every operation to the table engine, as on a processor
// without AES instructions; CI runs the tests so as well.
bool TableEngineForced() {
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // getenv is safe here: read once, not kept
#endif
  const char* requested = std::getenv("QUISTEL_CIPHER_ENGINE");
  return requested != nullptr && std::string_view(requested) == "table";
}
#endif

bool AesInstructionsUsable() {
#if QUISTEL_HAS_AES_INSTRUCTIONS
  static const bool usable = !TableEngineForced() && aes_instructions::Supported();
  return usable;
#else
  return false;
#endif
}

std::uint8_t GfDouble(std::uint8_t a) {
  return static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) ? kReducingByte : 0));
}

constexpr std::uint32_t Pack(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
  return std::uint32_t{b0} | (std::uint32_t{b1} << 8) | (std::uint32_t{b2} << 16) |
         (std::uint32_t{b3} << 24);
}

constexpr std::uint8_t ByteOf(std::uint32_t word, int index) {
  return static_cast<std::uint8_t>(word >> (8 * index));
}

std::uint32_t BytesToLongAt(const std::uint8_t* bytes, std::size_t offset) {
  return Pack(bytes[offset], bytes[offset + 1], bytes[offset + 2], bytes[offset + 3]);
}

void LongToBytesAt(std::uint32_t word, std::uint8_t* bytes, std::size_t offset) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = ByteOf(word, i);
}

bool IsSupportedLength(int words) { return words == 4 || words == 6 || words == 8; }

// What one direction of the block cipher runs on.
struct Tables {
  const std::uint32_t* roundKeys;
  const std::uint32_t* table;        // SubBytes and MixColumns of row 0
  const std::uint8_t* lastRoundBox;  // the S-box of the last round
};

// ShiftRows: row r of output column j comes from column j + Cr, backwards when deciphering.
template <int kNb, bool kInverse>
constexpr int SourceColumn(int column, int row) {
  constexpr int kOffsets[4] = {0, 1, kNb < 8 ? 2 : 3, kNb < 8 ? 3 : 4};
  return kInverse ? (column + kNb - kOffsets[row]) % kNb : (column + kOffsets[row]) % kNb;
}

template <int kNb>
using State = std::array<std::uint32_t, kNb>;

// One full round. The table word does SubBytes and MixColumns for row 0; rotated by 8, 16 and
// 24 bits it serves rows 1 to 3. Column indices are constants, so the state stays in registers.
template <int kNb, bool kInverse, std::size_t... kColumn>
QUISTEL_ALWAYS_INLINE void TableRound(const State<kNb>& x, State<kNb>& y,
                                      const std::uint32_t* roundKey, const std::uint32_t* table,
                                      std::index_sequence<kColumn...>) {
  ((y[kColumn] = roundKey[kColumn] ^ table[x[kColumn] & 0xFF] ^
                 std::rotl(table[(x[SourceColumn<kNb, kInverse>(kColumn, 1)] >> 8) & 0xFF], 8) ^
                 std::rotl(table[(x[SourceColumn<kNb, kInverse>(kColumn, 2)] >> 16) & 0xFF], 16) ^
                 std::rotl(table[x[SourceColumn<kNb, kInverse>(kColumn, 3)] >> 24], 24)),
   ...);
}

// The last round has no MixColumns: plain S-box bytes, each placed in its row.
template <int kNb, bool kInverse, std::size_t... kColumn>
QUISTEL_ALWAYS_INLINE void LastRound(const State<kNb>& x, State<kNb>& y,
                                     const std::uint32_t* roundKey, const std::uint8_t* box,
                                     std::index_sequence<kColumn...>) {
  ((y[kColumn] =
        roundKey[kColumn] ^ Pack(box[x[kColumn] & 0xFF],
                                 box[(x[SourceColumn<kNb, kInverse>(kColumn, 1)] >> 8) & 0xFF],
                                 box[(x[SourceColumn<kNb, kInverse>(kColumn, 2)] >> 16) & 0xFF],
                                 box[x[SourceColumn<kNb, kInverse>(kColumn, 3)] >> 24])),
   ...);
}

// Full rounds 1 .. kRounds - 1, unrolled; they alternate between the two states, so an odd
// number of them (the round count is 10, 12 or 14) leaves the result in b.
template <int kNb, bool kInverse, std::size_t... kRound>
QUISTEL_ALWAYS_INLINE void FullRounds(State<kNb>& a, State<kNb>& b, const std::uint32_t* roundKeys,
                                      const std::uint32_t* table, std::index_sequence<kRound...>) {
  constexpr auto kColumns = std::make_index_sequence<kNb>();
  ((kRound % 2 == 0
        ? TableRound<kNb, kInverse>(a, b, roundKeys + kNb * (kRound + 1), table, kColumns)
        : TableRound<kNb, kInverse>(b, a, roundKeys + kNb * (kRound + 1), table, kColumns)),
   ...);
}

// Enciphers (or deciphers) `count` blocks of 4 * kNb bytes; in and out may be the same.
template <int kNb, bool kInverse, int kRounds>
void CipherBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                  const Tables& tables) {
  const std::uint32_t* roundKeys = tables.roundKeys;
  for (; count > 0; --count, in += 4 * kNb, out += 4 * kNb) {
    State<kNb> a;
    State<kNb> b;
    for (int i = 0; i < kNb; ++i) a[i] = BytesToLongAt(in, 4 * i) ^ roundKeys[i];
    FullRounds<kNb, kInverse>(a, b, roundKeys, tables.table,
                              std::make_index_sequence<kRounds - 1>());
    LastRound<kNb, kInverse>(b, a, roundKeys + kNb * kRounds, tables.lastRoundBox,
                             std::make_index_sequence<kNb>());
    for (int i = 0; i < kNb; ++i) LongToBytesAt(a[i], out, 4 * i);
  }
}

}  // namespace

Encryption::Encryption()
    : engine(AesInstructionsUsable() ? CipherEngine::kAesInstructions : CipherEngine::kTable) {}

Encryption::~Encryption() { ClearWorkingState(); }

bool Encryption::CanUse(CipherEngine candidate) {
  return candidate == CipherEngine::kTable || AesInstructionsUsable();
}

void Encryption::ClearWorkingState() {
  SecureClear(lEncKey);
  SecureClear(lDecKey);
  ClearStackBelowCaller();
#if QUISTEL_HAS_AES_INSTRUCTIONS
  if (engine == CipherEngine::kAesInstructions) aes_instructions::ClearRegisters();
#endif
}

std::optional<std::size_t> Encryption::FramedLength(std::size_t messageLength) {
  constexpr std::size_t kLargest =
      std::numeric_limits<std::int32_t>::max() / kBlockBytes * kBlockBytes;
  if (messageLength > kLargest - kLengthBytes) return std::nullopt;
  const std::size_t unpadded = messageLength + kLengthBytes;
  return (unpadded + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
}

std::optional<Bytes> Encryption::EncryptData(ByteView bytMessage, ByteView bytPassword) {
  const auto framedLength = FramedLength(bytMessage.size());
  if (!framedLength) return std::nullopt;

  std::optional<Bytes> result(std::in_place);
  Bytes& output = *result;
  output.reserve(*framedLength);  // filled once, by appending
  std::array<std::uint8_t, kBlockBytes> work;
  std::array<std::uint8_t, kStretchBytes> stretch;
  const auto wipe = WipeAtExit(work, stretch, [this] { ClearWorkingState(); });
  PrepareKey(bytPassword);

  FrameBlock(bytMessage, 0, work);
  EncryptBlocks(work, work);
  output.insert(output.end(), work.begin(), work.end());
  // Framed blocks that hold message bytes alone are enciphered straight from the message.
  const std::size_t wholeEnd =
      std::max(kBlockBytes, (kLengthBytes + bytMessage.size()) / kBlockBytes * kBlockBytes);
  for (std::size_t offset = kBlockBytes; offset < wholeEnd;) {
    const std::size_t count = std::min(kStretchBytes, wholeEnd - offset);
    const auto enciphered = std::span(stretch).first(count);
    EncryptBlocks(bytMessage.subspan(offset - kLengthBytes, count), enciphered);
    output.insert(output.end(), enciphered.begin(), enciphered.end());
    offset += count;
  }
  if (wholeEnd < *framedLength) {
    FrameBlock(bytMessage, wholeEnd, work);
    EncryptBlocks(work, work);
    output.insert(output.end(), work.begin(), work.end());
  }
  return result;
}

void Encryption::FrameBlock(ByteView message, std::size_t offset,
                            std::span<std::uint8_t, kBlockBytes> block) {
  std::fill(block.begin(), block.end(), 0);
  std::size_t at = 0;
  if (offset == 0) {
    LongToBytesAt(static_cast<std::uint32_t>(message.size()), block.data(), 0);
    at = kLengthBytes;
  }
  const std::size_t first = offset + at - kLengthBytes;
  if (first < message.size()) {
    const std::size_t count = std::min(kBlockBytes - at, message.size() - first);
    std::copy_n(message.begin() + first, count, block.begin() + at);
  }
}

std::optional<Bytes> Encryption::DecryptData(ByteView bytIn, ByteView bytPassword) {
  if (bytIn.empty() || bytIn.size() % kBlockBytes != 0) return std::nullopt;

  std::array<std::uint8_t, kBlockBytes> work;
  std::array<std::uint8_t, kStretchBytes> stretch;
  const auto wipe = WipeAtExit(work, stretch, [this] { ClearWorkingState(); });
  PrepareKey(bytPassword);
  DecryptBlocks(bytIn.first(kBlockBytes), work);

  // The length prefix governs; blocks past the message are not deciphered at all.
  const auto length = static_cast<std::int32_t>(BytesToLongAt(work.data(), 0));
  if (length < 0 || static_cast<std::size_t>(length) > bytIn.size() - kLengthBytes) {
    return std::nullopt;
  }
  std::optional<Bytes> result(std::in_place);
  Bytes& message = *result;
  message.reserve(static_cast<std::size_t>(length));  // filled once, by appending
  const std::size_t framedEnd = kLengthBytes + static_cast<std::size_t>(length);
  // Framed byte f is message byte f - 4.
  message.insert(message.end(), work.begin() + kLengthBytes,
                 work.begin() + std::min(kBlockBytes, framedEnd));
  const std::size_t wholeEnd = std::max(kBlockBytes, framedEnd / kBlockBytes * kBlockBytes);
  for (std::size_t offset = kBlockBytes; offset < wholeEnd;) {
    const std::size_t count = std::min(kStretchBytes, wholeEnd - offset);
    const auto deciphered = std::span(stretch).first(count);
    DecryptBlocks(bytIn.subspan(offset, count), deciphered);
    message.insert(message.end(), deciphered.begin(), deciphered.end());
    offset += count;
  }
  if (wholeEnd < framedEnd) {
    DecryptBlocks(bytIn.subspan(wholeEnd, kBlockBytes), work);
    message.insert(message.end(), work.begin(), work.begin() + (framedEnd - wholeEnd));
  }
  return result;
}

void Encryption::PrepareKey(ByteView bytPassword) {
  std::array<std::uint8_t, kKeyBytes> key{};
  std::copy_n(bytPassword.begin(), std::min(bytPassword.size(), kKeyBytes), key.begin());
  BuildTables();
  ExpandKey(8, 8, key);
  SecureClear(key);
}

void Encryption::BuildTables() {
  // Powers of the generator 0x03 and their logarithms. bytLog(1) ends as 255, not 0: every use
  // reduces modulo 255.
  bytExp[0] = 1;
  bytLog[0] = 0;
  for (int i = 1; i < 256; ++i) {
    bytExp[i] = bytExp[i - 1] ^ GfDouble(bytExp[i - 1]);
    bytLog[bytExp[i]] = static_cast<std::uint8_t>(i);
  }

  bytSbox[0] = kAffineConstant;
  bytInvSbox[kAffineConstant] = 0;
  for (int i = 1; i < 256; ++i) {
    const std::uint8_t y = SboxEntry(static_cast<std::uint8_t>(i));
    bytSbox[i] = y;
    bytInvSbox[y] = static_cast<std::uint8_t>(i);
  }

  std::uint8_t power = 1;
  for (auto& constant : lRcon) {
    constant = power;
    power = GfDouble(power);
  }

  // One MixColumns column of (s, 0, 0, 0) forward and InvMixColumns of (t, 0, 0, 0) backward;
  // the other three rows are the same words rotated at use.
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t s = bytSbox[i];
    lEncTable[i] = Pack(GfDouble(s), s, s, s ^ GfDouble(s));
    const std::uint8_t t = bytInvSbox[i];
    lDecTable[i] = Pack(GfMultiply(bytInvMixCoef[3], t), GfMultiply(bytInvMixCoef[2], t),
                        GfMultiply(bytInvMixCoef[1], t), GfMultiply(bytInvMixCoef[0], t));
  }
}

std::uint8_t Encryption::SboxEntry(std::uint8_t x) const {
  // The multiplicative inverse, then the affine map as four rotations.
  std::uint8_t y = bytExp[255 - bytLog[x]];
  std::uint8_t b = y;
  for (int i = 0; i < 4; ++i) {
    b = std::rotl(b, 1);
    y ^= b;
  }
  return y ^ kAffineConstant;
}

std::uint8_t Encryption::GfMultiply(std::uint8_t x, std::uint8_t y) const {
  if (x == 0 || y == 0) return 0;
  return bytExp[(bytLog[x] + bytLog[y]) % 255];
}

std::uint32_t Encryption::SubstituteLong(std::uint32_t word) const {
  return Pack(bytSbox[ByteOf(word, 0)], bytSbox[ByteOf(word, 1)], bytSbox[ByteOf(word, 2)],
              bytSbox[ByteOf(word, 3)]);
}

std::uint8_t Encryption::ColumnProduct(std::uint32_t x, std::uint32_t y) const {
  std::uint8_t sum = 0;
  for (int i = 0; i < 4; ++i) sum ^= GfMultiply(ByteOf(x, i), ByteOf(y, i));
  return sum;
}

std::uint32_t Encryption::InverseMixWord(std::uint32_t word) const {
  std::uint32_t coefficients =
      Pack(bytInvMixCoef[0], bytInvMixCoef[1], bytInvMixCoef[2], bytInvMixCoef[3]);
  std::array<std::uint8_t, 4> rows;
  for (int row = 3; row >= 0; --row) {
    rows[row] = ColumnProduct(coefficients, word);
    coefficients = std::rotl(coefficients, 24);
  }
  return Pack(rows[0], rows[1], rows[2], rows[3]);
}

void Encryption::ExpandKey(int nb, int nk, ByteView key) {
  if (!IsSupportedLength(nb) || !IsSupportedLength(nk)) {
    throw std::invalid_argument("block and key lengths are 4, 6 or 8 words");
  }
  if (key.size() < 4 * static_cast<std::size_t>(nk)) {
    throw std::invalid_argument("key shorter than its length in words");
  }
  lBlockWords = nb;
  lKeyWords = nk;
  lRounds = std::max(nb, nk) + 6;

  const int total = nb * (lRounds + 1);
  for (int i = 0; i < nk; ++i) lEncKey[i] = BytesToLongAt(key.data(), 4 * i);
  for (int i = nk; i < total; ++i) {
    std::uint32_t temp = lEncKey[i - 1];
    if (i % nk == 0) {
      // RotWord is a rotation left by 24 for little-endian packing.
      temp = SubstituteLong(std::rotl(temp, 24)) ^ lRcon[i / nk - 1];
    } else if (nk > 6 && i % nk == 4) {
      temp = SubstituteLong(temp);
    }
    lEncKey[i] = lEncKey[i - nk] ^ temp;
  }

  // The equivalent inverse cipher: round keys in reverse order, the inner ones through
  // InvMixColumns.
  for (int round = 0; round <= lRounds; ++round) {
    const int from = nb * round;
    const int to = nb * (lRounds - round);
    const bool outer = round == 0 || round == lRounds;
    for (int j = 0; j < nb; ++j) {
      lDecKey[to + j] = outer ? lEncKey[from + j] : InverseMixWord(lEncKey[from + j]);
    }
  }
}

void Encryption::EncryptBlocks(ByteView in, std::span<std::uint8_t> out) const {
  RunRounds<false>(in, out);
}

void Encryption::DecryptBlocks(ByteView in, std::span<std::uint8_t> out) const {
  RunRounds<true>(in, out);
}

template <bool kInverse>
void Encryption::RunRounds(ByteView in, std::span<std::uint8_t> out) const {
  const std::size_t blockBytes = 4 * static_cast<std::size_t>(lBlockWords);
  if (blockBytes == 0) throw std::logic_error("no key expanded");
  if (in.size() % blockBytes != 0 || out.size() != in.size()) {
    throw std::out_of_range("not whole blocks");
  }
  const std::size_t count = in.size() / blockBytes;
#if QUISTEL_HAS_AES_INSTRUCTIONS
  if (engine == CipherEngine::kAesInstructions && lBlockWords == 8) {
    return kInverse ? aes_instructions::DecryptBlocks(lDecKey.data(), in.data(), out.data(), count)
                    : aes_instructions::EncryptBlocks(lEncKey.data(), in.data(), out.data(), count);
  }
#endif
  const Tables tables = kInverse ? Tables{lDecKey.data(), lDecTable.data(), bytInvSbox.data()}
                                 : Tables{lEncKey.data(), lEncTable.data(), bytSbox.data()};
  // Block length and round count (the larger length + 6) fix the unrolled code.
  switch (10 * lBlockWords + lRounds) {
    case 4 * 10 + 10:
      return CipherBlocks<4, kInverse, 10>(in.data(), out.data(), count, tables);
    case 4 * 10 + 12:
      return CipherBlocks<4, kInverse, 12>(in.data(), out.data(), count, tables);
    case 4 * 10 + 14:
      return CipherBlocks<4, kInverse, 14>(in.data(), out.data(), count, tables);
    case 6 * 10 + 12:
      return CipherBlocks<6, kInverse, 12>(in.data(), out.data(), count, tables);
    case 6 * 10 + 14:
      return CipherBlocks<6, kInverse, 14>(in.data(), out.data(), count, tables);
    default:
      return CipherBlocks<8, kInverse, 14>(in.data(), out.data(), count, tables);
  }
}

}  // namespace quistel
