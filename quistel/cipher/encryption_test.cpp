#include "cipher/encryption.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "cipher/encryption_engine.h"
#include "testing/mcrypt_oracle.h"

namespace quistel {

void PrintTo(CipherEngine engine, std::ostream* out) {
  *out << (engine == CipherEngine::kTable ? "Tables" : "AesInstructions");
}

namespace {

Bytes FromHex(const std::string& hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

Bytes Counting(std::size_t count) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  return bytes;
}

Bytes RandomBytes(std::mt19937& random, std::size_t count) {
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
  return bytes;
}

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A ciphertext whose first block holds the given length prefix, made with the oracle.
Bytes CiphertextWithLength(std::int32_t length, std::size_t blocks, ByteView password) {
  Bytes framed(32 * blocks, 0x41);
  for (int i = 0; i < 4; ++i) framed[i] = static_cast<std::uint8_t>(length >> (8 * i));
  Bytes key(32, 0);
  std::copy(password.begin(), password.end(), key.begin());
  McryptRijndael256(key).Encrypt(framed);
  return framed;
}

// Tests that run once per engine: the tables, and the AES instructions where this processor
// has them (and QUISTEL_CIPHER_ENGINE does not ask for the tables).
class EachEngine : public testing::TestWithParam<CipherEngine> {
 protected:
  void SetUp() override {
    if (!EncryptionEngine::CanUse(GetParam())) {
      GTEST_SKIP() << "not usable here";
    }
  }
  void Use(Encryption& encryption) const { EncryptionEngine::Use(encryption, GetParam()); }
  std::optional<Bytes> Encrypt(ByteView message, ByteView password) const {
    Encryption encryption;
    Use(encryption);
    return encryption.EncryptData(message, password);
  }
  std::optional<Bytes> Decrypt(ByteView ciphertext, ByteView password) const {
    Encryption encryption;
    Use(encryption);
    return encryption.DecryptData(ciphertext, password);
  }
};

INSTANTIATE_TEST_SUITE_P(, EachEngine,
                         testing::Values(CipherEngine::kTable, CipherEngine::kAesInstructions),
                         [](const auto& info) { return testing::PrintToString(info.param); });

TEST(CipherEngineChoice, TakesTheAesInstructionsUnlessTheEnvironmentAsksForTables) {
  const char* requested = std::getenv("QUISTEL_CIPHER_ENGINE");
  const bool forced = requested != nullptr && std::string_view(requested) == "table";
  const bool aesUsable = EncryptionEngine::CanUse(CipherEngine::kAesInstructions);
  if (forced) {
    EXPECT_FALSE(aesUsable);
  }
  EXPECT_EQ(EncryptionEngine::InUse(Encryption()),
            aesUsable ? CipherEngine::kAesInstructions : CipherEngine::kTable);
}

struct AesVector {
  int keyWords;
  const char* key;
  const char* ciphertext;
  int rounds;
};

TEST(EncryptionEngine, FourWordBlocksReproduceTheFipsAppendixCVectors) {
  const Bytes plaintext = FromHex("00112233445566778899aabbccddeeff");
  const AesVector vectors[] = {
      {4, "000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a", 10},
      {6, "000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191",
       12},
      {8, "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "8ea2b7ca516745bfeafc49904b496089", 14},
  };
  for (const auto& vector : vectors) {
    SCOPED_TRACE(vector.keyWords);
    Encryption engine;
    EncryptionEngine::Prepare(engine, 4, vector.keyWords, FromHex(vector.key));
    EXPECT_EQ(EncryptionEngine::Rounds(engine), vector.rounds);

    Bytes block = plaintext;
    EncryptionEngine::EncryptBlock(engine, block);
    EXPECT_EQ(block, FromHex(vector.ciphertext));
    EncryptionEngine::DecryptBlock(engine, block);
    EXPECT_EQ(block, plaintext);
  }
}

TEST_P(EachEngine, EightWordBlocksTouchOnlyTheirOwn32Bytes) {
  Encryption engine;
  Use(engine);
  EncryptionEngine::Prepare(engine, 8, 8, Counting(32));
  Bytes buffer(40, 0xEE);
  EncryptionEngine::EncryptBlock(engine, buffer);
  EXPECT_EQ(Bytes(buffer.begin() + 32, buffer.end()), Bytes(8, 0xEE));
  EncryptionEngine::DecryptBlock(engine, buffer);
  EXPECT_EQ(buffer, Bytes(40, 0xEE));
}

TEST(EncryptionEngine, RefusesLengthsItHasNoTablesFor) {
  Encryption engine;
  EXPECT_THROW(EncryptionEngine::Prepare(engine, 5, 8, Counting(32)), std::invalid_argument);
  EXPECT_THROW(EncryptionEngine::Prepare(engine, 8, 10, Counting(40)), std::invalid_argument);
  EXPECT_THROW(EncryptionEngine::Prepare(engine, 8, 8, Counting(31)), std::invalid_argument);
  EncryptionEngine::Prepare(engine, 8, 8, Counting(32));
  Bytes shortBlock(31);
  EXPECT_THROW(EncryptionEngine::EncryptBlock(engine, shortBlock), std::out_of_range);
}

// libmcrypt's rijndael-256 in ECB mode is the reference for 256-bit blocks: runs of 1 to 9
// blocks (the AES instructions take them four at a time) under random keys of every length.
TEST_P(EachEngine, EightWordBlocksMatchLibmcryptInBothDirections) {
  std::mt19937 random(257);
  for (int keyWords : {4, 6, 8}) {
    for (std::size_t blocks = 1; blocks <= 9; ++blocks) {
      SCOPED_TRACE(testing::Message() << keyWords << "-word key, " << blocks << " blocks");
      const Bytes key = RandomBytes(random, 4 * static_cast<std::size_t>(keyWords));
      const Bytes plain = RandomBytes(random, 32 * blocks);
      Encryption engine;
      Use(engine);
      EncryptionEngine::Prepare(engine, 8, keyWords, key);

      Bytes ours = plain;
      EncryptionEngine::EncryptBlocks(engine, ours);
      Bytes reference = plain;
      McryptRijndael256(key).Encrypt(reference);
      EXPECT_EQ(ours, reference);
      EncryptionEngine::DecryptBlocks(engine, ours);
      EXPECT_EQ(ours, plain);
    }
  }
}

TEST_P(EachEngine, EncryptDataMatchesLibmcryptOverManyLengthsAndPasswords) {
  std::mt19937 random(8191);
  std::vector<std::size_t> lengths = {0,    1,     4,     27,    28,    29,    31,    32,    33,
                                      59,   60,    61,    63,    64,    65,    100,   1000,  4093,
                                      4096, 16380, 16381, 16384, 16412, 16413, 40000, 65536, 70000};
  std::uniform_int_distribution<std::size_t> anyLength(0, 3000);
  for (int i = 0; i < 30; ++i) lengths.push_back(anyLength(random));
  const std::size_t passwordLengths[] = {0, 1, 8, 31, 32, 33, 100};

  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const Bytes message = RandomBytes(random, lengths[i]);
    const Bytes password = RandomBytes(random, passwordLengths[i % std::size(passwordLengths)]);
    SCOPED_TRACE(testing::Message()
                 << "message " << message.size() << ", password " << password.size());

    const auto ours = Encrypt(message, password);
    ASSERT_TRUE(ours.has_value());
    const Bytes reference = OracleEncryptMessage(message, password);
    EXPECT_EQ(*ours, reference);
    EXPECT_EQ(Decrypt(reference, password), message);
  }
}

TEST(EncryptData, FramesWithALengthPrefixAndZeroPaddingToWholeBlocks) {
  const std::pair<std::size_t, std::size_t> framedSizes[] = {{0, 32},  {27, 32}, {28, 32},
                                                             {29, 64}, {60, 64}, {61, 96}};
  for (const auto& [length, framed] : framedSizes) {
    const auto ciphertext = Encryption().EncryptData(Bytes(length, 'x'), FromText("pw"));
    ASSERT_TRUE(ciphertext.has_value());
    EXPECT_EQ(ciphertext->size(), framed) << "message of " << length;
    Bytes plain = *ciphertext;
    McryptRijndael256(FromText("pw")).Decrypt(plain);  // the oracle zero-pads the key itself
    Bytes expected(framed, 0);
    expected[0] = static_cast<std::uint8_t>(length);
    std::fill_n(expected.begin() + 4, length, 'x');
    EXPECT_EQ(plain, expected) << "message of " << length;
  }
}

TEST(EncryptData, RefusesMessagesWhoseFramedLengthPassesTheSigned32BitRange) {
  constexpr std::size_t kLargestFramed = 0x7FFFFFE0;
  EXPECT_EQ(EncryptionEngine::FramedLength(kLargestFramed - 4), kLargestFramed);
  EXPECT_EQ(EncryptionEngine::FramedLength(kLargestFramed - 3), std::nullopt);
}

TEST(EncryptData, UsesOnlyTheFirst32PasswordBytesPaddedWithZeros) {
  const Bytes message = FromText("the same message");
  const Bytes longPassword = Counting(40);
  const Bytes samePrefix = [&] {
    Bytes p = Counting(32);
    p.push_back(0x99);
    return p;
  }();
  EXPECT_EQ(Encryption().EncryptData(message, longPassword),
            Encryption().EncryptData(message, samePrefix));

  Bytes padded = FromText("short");
  padded.resize(32, 0);
  EXPECT_EQ(Encryption().EncryptData(message, FromText("short")),
            Encryption().EncryptData(message, padded));
  EXPECT_EQ(Encryption().EncryptData(message, {}), Encryption().EncryptData(message, Bytes(32)));
}

TEST(DecryptData, TellsAnEmptyMessageFromNoResult) {
  const auto ciphertext = Encryption().EncryptData({}, FromText("key"));
  ASSERT_TRUE(ciphertext.has_value());
  const auto message = Encryption().DecryptData(*ciphertext, FromText("key"));
  ASSERT_TRUE(message.has_value());
  EXPECT_TRUE(message->empty());

  const Bytes key = FromText("key");
  EXPECT_EQ(Encryption().DecryptData(CiphertextWithLength(0, 2, key), key), Bytes{});
  EXPECT_EQ(Encryption().DecryptData(CiphertextWithLength(-1, 2, key), key), std::nullopt);
  EXPECT_EQ(Encryption().DecryptData(CiphertextWithLength(INT32_MIN, 2, key), key), std::nullopt);
  EXPECT_EQ(Encryption().DecryptData(CiphertextWithLength(61, 2, key), key), std::nullopt);
  EXPECT_EQ(Encryption().DecryptData(CiphertextWithLength(60, 2, key), key), Bytes(60, 0x41));
}

TEST(DecryptData, GivesNoResultForPartialBlocksOrTheWrongPassword) {
  const auto ciphertext = Encryption().EncryptData(FromText("attack at dawn"), FromText("right"));
  ASSERT_TRUE(ciphertext.has_value());
  for (std::size_t size : {0, 1, 31, 33, 63}) {
    EXPECT_EQ(Encryption().DecryptData(Bytes(size, 0), FromText("right")), std::nullopt) << size;
  }
  Bytes truncated(ciphertext->begin(), ciphertext->end() - 1);
  EXPECT_EQ(Encryption().DecryptData(truncated, FromText("right")), std::nullopt);

  std::mt19937 random(31);
  for (int i = 0; i < 200; ++i) {
    const Bytes wrong = RandomBytes(random, 1 + i % 40);
    EXPECT_EQ(Encryption().DecryptData(*ciphertext, wrong), std::nullopt);
  }
}

TEST(DecryptData, IgnoresWholeBlocksAppendedAfterTheMessage) {
  const Bytes message = FromText("length prefix governs");
  auto ciphertext = Encryption().EncryptData(message, FromText("pw"));
  ASSERT_TRUE(ciphertext.has_value());
  ciphertext->resize(ciphertext->size() + 64, 0);
  EXPECT_EQ(Encryption().DecryptData(*ciphertext, FromText("pw")), message);
}

TEST_P(EachEngine, LeavesNoExpandedKeyBehindAfterAnOperation) {
  Encryption encryption;
  Use(encryption);
  const auto ciphertext = encryption.EncryptData(FromText("secret"), FromText("key"));
  ASSERT_TRUE(ciphertext.has_value());
  EXPECT_TRUE(EncryptionEngine::KeysCleared(encryption));
  ASSERT_TRUE(encryption.DecryptData(*ciphertext, FromText("key")).has_value());
  EXPECT_TRUE(EncryptionEngine::KeysCleared(encryption));
  ASSERT_FALSE(encryption.DecryptData(*ciphertext, FromText("wrong")).has_value());
  EXPECT_TRUE(EncryptionEngine::KeysCleared(encryption));
}

}  // namespace
}  // namespace quistel
