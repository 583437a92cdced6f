#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cipher/message_framing.h"
#include "cipher/rijndael_inspector.h"
#include "testing/mcrypt_oracle.h"

namespace quistel {

void PrintTo(CipherEngine engine, std::ostream* out) {
  *out << (engine == CipherEngine::Table ? "Tables" : "AesInstructions");
}

namespace {

Bytes fromHex(const std::string& hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

Bytes counting(std::size_t count) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  return bytes;
}

Bytes randomBytes(std::mt19937& random, std::size_t count) {
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
  return bytes;
}

Bytes fromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A ciphertext whose first block holds the given length prefix, made with the oracle.
Bytes ciphertextWithLength(std::int32_t length, std::size_t blocks, ByteView password) {
  Bytes framed(32 * blocks, 0x41);
  for (int i = 0; i < 4; ++i) framed[i] = static_cast<std::uint8_t>(length >> (8 * i));
  Bytes key(32, 0);
  std::copy(password.begin(), password.end(), key.begin());
  McryptRijndael256(key).encrypt(framed);
  return framed;
}

// Tests that run once per engine: the tables, and the AES instructions where this processor
// has them. The program takes the AES instructions wherever it can, so the tables are tested
// by naming them here.
class EachEngine : public testing::TestWithParam<CipherEngine> {
 protected:
  void SetUp() override {
    if (!Rijndael::canUse(GetParam())) {
      GTEST_SKIP() << "not usable here";
    }
  }
  std::optional<Bytes> encrypt(ByteView message, ByteView password) const {
    return encryptMessage(message, password, GetParam());
  }
  std::optional<Bytes> decrypt(ByteView ciphertext, ByteView password) const {
    return decryptMessage(ciphertext, password, GetParam());
  }
};

INSTANTIATE_TEST_SUITE_P(, EachEngine,
                         testing::Values(CipherEngine::Table, CipherEngine::AesInstructions),
                         [](const auto& info) { return testing::PrintToString(info.param); });

TEST(CipherEngineChoice, TakesTheAesInstructionsWhereTheProcessorHasThem) {
  const bool aesUsable = Rijndael::canUse(CipherEngine::AesInstructions);
  EXPECT_EQ(Rijndael().engine(), aesUsable ? CipherEngine::AesInstructions : CipherEngine::Table);
}

struct AesVector {
  int keyWords;
  const char* key;
  const char* ciphertext;
  int rounds;
};

TEST(Rijndael, FourWordBlocksReproduceTheFipsAppendixCVectors) {
  const Bytes plaintext = fromHex("00112233445566778899aabbccddeeff");
  const AesVector vectors[] = {
      {4, "000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a", 10},
      {6, "000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191",
       12},
      {8, "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "8ea2b7ca516745bfeafc49904b496089", 14},
  };
  for (const auto& vector : vectors) {
    SCOPED_TRACE(vector.keyWords);
    Rijndael cipher(CipherEngine::Table);
    cipher.setKey(fromHex(vector.key), 4, vector.keyWords);
    EXPECT_EQ(cipher.rounds(), vector.rounds);

    Bytes block = plaintext;
    cipher.encryptBlocks(block, block);
    EXPECT_EQ(block, fromHex(vector.ciphertext));
    cipher.decryptBlocks(block, block);
    EXPECT_EQ(block, plaintext);
  }
}

TEST_P(EachEngine, EightWordBlocksTouchOnlyTheirOwn32Bytes) {
  Rijndael cipher(GetParam());
  cipher.setKey(counting(32), 8, 8);
  Bytes buffer(40, 0xEE);
  const auto block = std::span(buffer).first(32);
  cipher.encryptBlocks(block, block);
  EXPECT_EQ(Bytes(buffer.begin() + 32, buffer.end()), Bytes(8, 0xEE));
  cipher.decryptBlocks(block, block);
  EXPECT_EQ(buffer, Bytes(40, 0xEE));
}

TEST_P(EachEngine, RefusesLengthsItHasNoTablesForAndWorkWithoutAKey) {
  Rijndael cipher(GetParam());
  Bytes block(32);
  EXPECT_THROW(cipher.encryptBlocks(block, block), std::logic_error);
  EXPECT_THROW(cipher.setKey(counting(32), 5, 8), std::invalid_argument);
  EXPECT_THROW(cipher.setKey(counting(40), 8, 10), std::invalid_argument);
  EXPECT_THROW(cipher.setKey(counting(31), 8, 8), std::invalid_argument);
  cipher.setKey(counting(32), 8, 8);
  Bytes shortBlock(31);
  EXPECT_THROW(cipher.encryptBlocks(shortBlock, shortBlock), std::out_of_range);
}

// libmcrypt's rijndael-256 in ECB mode is the reference for 256-bit blocks: runs of 1 to 9
// blocks (the AES instructions take them four at a time) under random keys of every length.
TEST_P(EachEngine, EightWordBlocksMatchLibmcryptInBothDirections) {
  std::mt19937 random(257);
  for (int keyWords : {4, 6, 8}) {
    for (std::size_t blocks = 1; blocks <= 9; ++blocks) {
      SCOPED_TRACE(testing::Message() << keyWords << "-word key, " << blocks << " blocks");
      const Bytes key = randomBytes(random, 4 * static_cast<std::size_t>(keyWords));
      const Bytes plain = randomBytes(random, 32 * blocks);
      Rijndael cipher(GetParam());
      cipher.setKey(key, 8, keyWords);

      Bytes ours = plain;
      cipher.encryptBlocks(ours, ours);
      Bytes reference = plain;
      McryptRijndael256(key).encrypt(reference);
      EXPECT_EQ(ours, reference);
      cipher.decryptBlocks(ours, ours);
      EXPECT_EQ(ours, plain);
    }
  }
}

TEST_P(EachEngine, EncryptMessageMatchesLibmcryptOverManyLengthsAndPasswords) {
  std::mt19937 random(8191);
  std::vector<std::size_t> lengths = {0,    1,     4,     27,    28,    29,    31,    32,    33,
                                      59,   60,    61,    63,    64,    65,    100,   1000,  4093,
                                      4096, 16380, 16381, 16384, 16412, 16413, 40000, 65536, 70000};
  std::uniform_int_distribution<std::size_t> anyLength(0, 3000);
  for (int i = 0; i < 30; ++i) lengths.push_back(anyLength(random));
  const std::size_t passwordLengths[] = {0, 1, 8, 31, 32, 33, 100};

  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const Bytes message = randomBytes(random, lengths[i]);
    const Bytes password = randomBytes(random, passwordLengths[i % std::size(passwordLengths)]);
    SCOPED_TRACE(testing::Message()
                 << "message " << message.size() << ", password " << password.size());

    const auto ours = encryptMessage(message, password, GetParam());
    ASSERT_TRUE(ours.has_value());
    const Bytes reference = oracleEncryptMessage(message, password);
    EXPECT_EQ(*ours, reference);
    EXPECT_EQ(decryptMessage(reference, password, GetParam()), message);
  }
}

TEST_P(EachEngine, FramesWithALengthPrefixAndZeroPaddingToWholeBlocks) {
  const std::pair<std::size_t, std::size_t> framedSizes[] = {{0, 32},  {27, 32}, {28, 32},
                                                             {29, 64}, {60, 64}, {61, 96}};
  for (const auto& [length, framed] : framedSizes) {
    const auto ciphertext = encrypt(Bytes(length, 'x'), fromText("pw"));
    ASSERT_TRUE(ciphertext.has_value());
    EXPECT_EQ(ciphertext->size(), framed) << "message of " << length;
    Bytes plain = *ciphertext;
    McryptRijndael256(fromText("pw")).decrypt(plain);  // the oracle zero-pads the key itself
    Bytes expected(framed, 0);
    expected[0] = static_cast<std::uint8_t>(length);
    std::fill_n(expected.begin() + 4, length, 'x');
    EXPECT_EQ(plain, expected) << "message of " << length;
  }
}

TEST(EncryptMessage, RefusesMessagesWhoseFramedLengthPassesTheSigned32BitRange) {
  constexpr std::size_t kLargestFramed = 0x7FFFFFE0;
  EXPECT_EQ(framedLength(kLargestFramed - 4), kLargestFramed);
  EXPECT_EQ(framedLength(kLargestFramed - 3), std::nullopt);
}

TEST_P(EachEngine, UsesOnlyTheFirst32PasswordBytesPaddedWithZeros) {
  const Bytes message = fromText("the same message");
  const Bytes longPassword = counting(40);
  const Bytes samePrefix = [&] {
    Bytes p = counting(32);
    p.push_back(0x99);
    return p;
  }();
  EXPECT_EQ(encrypt(message, longPassword), encrypt(message, samePrefix));

  Bytes padded = fromText("short");
  padded.resize(32, 0);
  EXPECT_EQ(encrypt(message, fromText("short")), encrypt(message, padded));
  EXPECT_EQ(encrypt(message, {}), encrypt(message, Bytes(32)));
}

TEST_P(EachEngine, TellsAnEmptyMessageFromNoResult) {
  const auto ciphertext = encrypt({}, fromText("key"));
  ASSERT_TRUE(ciphertext.has_value());
  const auto message = decrypt(*ciphertext, fromText("key"));
  ASSERT_TRUE(message.has_value());
  EXPECT_TRUE(message->empty());

  const Bytes key = fromText("key");
  EXPECT_EQ(decrypt(ciphertextWithLength(0, 2, key), key), Bytes{});
  EXPECT_EQ(decrypt(ciphertextWithLength(-1, 2, key), key), std::nullopt);
  EXPECT_EQ(decrypt(ciphertextWithLength(INT32_MIN, 2, key), key), std::nullopt);
  EXPECT_EQ(decrypt(ciphertextWithLength(61, 2, key), key), std::nullopt);
  EXPECT_EQ(decrypt(ciphertextWithLength(60, 2, key), key), Bytes(60, 0x41));
}

TEST_P(EachEngine, GivesNoResultForPartialBlocksOrTheWrongPassword) {
  const auto ciphertext = encrypt(fromText("attack at dawn"), fromText("right"));
  ASSERT_TRUE(ciphertext.has_value());
  for (std::size_t size : {0, 1, 31, 33, 63}) {
    EXPECT_EQ(decrypt(Bytes(size, 0), fromText("right")), std::nullopt) << size;
  }
  Bytes truncated(ciphertext->begin(), ciphertext->end() - 1);
  EXPECT_EQ(decrypt(truncated, fromText("right")), std::nullopt);

  std::mt19937 random(31);
  for (int i = 0; i < 200; ++i) {
    const Bytes wrong = randomBytes(random, 1 + i % 40);
    EXPECT_EQ(decrypt(*ciphertext, wrong), std::nullopt);
  }
}

TEST_P(EachEngine, IgnoresWholeBlocksAppendedAfterTheMessage) {
  const Bytes message = fromText("length prefix governs");
  auto ciphertext = encrypt(message, fromText("pw"));
  ASSERT_TRUE(ciphertext.has_value());
  ciphertext->resize(ciphertext->size() + 64, 0);
  EXPECT_EQ(decrypt(*ciphertext, fromText("pw")), message);
}

TEST_P(EachEngine, ClearingTheKeyLeavesNoExpandedKeyBehind) {
  Rijndael cipher(GetParam());
  cipher.setKey(fromText("a key of thirty-two bytes, fully"), 8, 8);
  EXPECT_FALSE(RijndaelInspector::keyCleared(cipher));
  cipher.clearKey();
  EXPECT_TRUE(RijndaelInspector::keyCleared(cipher));
}

}  // namespace
}  // namespace quistel
