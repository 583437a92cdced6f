#include "window/text_crypt.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "testing/mcrypt_oracle.h"
#include "window/code_page.h"

namespace quistel {
namespace {

using Failure = CryptResult::Failure;
using namespace Qt::StringLiterals;

QString AllByteValues() {
  QByteArray bytes;
  for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
  return FromCodePage(bytes);
}

QString OracleHex(const QByteArray& message, const QByteArray& password) {
  const auto asBytes = [](const QByteArray& a) { return Bytes(a.begin(), a.end()); };
  const Bytes cipher = OracleEncryptMessage(asBytes(message), asBytes(password));
  return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(cipher.data()),
                                        static_cast<qsizetype>(cipher.size()))
                                 .toHex()
                                 .toUpper());
}

TEST(CodePage, EveryByteValueSurvivesByteToCharacterToByte) {
  QByteArray bytes;
  for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
  const QString text = FromCodePage(bytes);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(text[0x80], QChar(0x20AC));  // the euro sign of windows-1252
  EXPECT_EQ(text[0x9F], QChar(0x0178));
  EXPECT_EQ(text[0xE9], QChar(0x00E9));
  const CodePageBytes back = ToCodePage(text);
  EXPECT_EQ(back.bytes, bytes);
  EXPECT_FALSE(back.unrepresentable.has_value());
}

TEST(CodePage, NamesTheFirstCharacterItCannotHoldWhereverItIs) {
  EXPECT_EQ(ToCodePage(u"caf\u00e9 \u20ac \u4e2d \u0416"_s).unrepresentable, u"\u4e2d"_s);
  EXPECT_EQ(ToCodePage(u"smile \U0001F600 \u4e2d"_s).unrepresentable, u"\U0001F600"_s);
  EXPECT_EQ(ToCodePage(QString(u"lone "_s) + QChar(0xD800) + u"x"_s).unrepresentable,
            QString(QChar(0xD800)));

  // Far into a long text, and with a surrogate pair across the converter's piece boundary.
  for (qsizetype at : {10000, 4095, 4096, 8191}) {
    QString text(20000, u'a');
    text.replace(at, 2, u"\U0001F512"_s);
    EXPECT_EQ(ToCodePage(text).unrepresentable, u"\U0001F512"_s) << at;
  }
  QString plain(9000, u'z');
  EXPECT_FALSE(ToCodePage(plain).unrepresentable.has_value());
  EXPECT_EQ(ToCodePage(plain).bytes.size(), 9000);
}

TEST(TextToHex, GivesTwoUpperCaseDigitsPerCharacterAndHexToTextReadsThemBack) {
  EXPECT_EQ(TextToHex(u""_s), u""_s);
  EXPECT_EQ(HexToText(u""_s), u""_s);
  EXPECT_EQ(TextToHex(QString(QChar(0)) + u"\n\u00ff\u20ac"_s), u"000AFF80"_s);

  const QString all = AllByteValues();
  const QString hex = TextToHex(all);
  EXPECT_EQ(hex.size(), 512);
  EXPECT_EQ(hex, hex.toUpper());
  EXPECT_EQ(HexToText(hex), all);
  EXPECT_EQ(HexToText(hex.toLower()), all);
}

TEST(HexToText, ReadsDamagedPairsLeniently) {
  EXPECT_EQ(HexToText(u"414"_s), QString(u"A"_s) + QChar(4));   // odd last digit stands alone
  EXPECT_EQ(HexToText(u"GZ41"_s), QString(QChar(0)) + u"A"_s);  // no digit gives 0
  EXPECT_EQ(HexToText(u"4G41"_s), QString(QChar(4)) + u"A"_s);  // first digit only
  EXPECT_EQ(HexToText(u" 141"_s), QString(QChar(0)) + u"A"_s);  // a blank is no digit
}

TEST(EncryptText, MatchesTheOracleAndDecryptsBackExactly) {
  const QString text = u"Gr\u00fc\u00dfe \u20ac100\r\nline two\t"_s + QString(QChar(0)) + u"end"_s;
  const CryptResult encrypted = EncryptText(text, u"s\u00e9same"_s);
  ASSERT_TRUE(encrypted.ok());
  EXPECT_EQ(TextToHex(encrypted.text),
            OracleHex(ToCodePage(text).bytes, ToCodePage(u"s\u00e9same"_s).bytes));

  const CryptResult decrypted = DecryptText(HexToText(TextToHex(encrypted.text)), u"s\u00e9same"_s);
  ASSERT_TRUE(decrypted.ok());
  EXPECT_EQ(decrypted.text, text);

  const CryptResult all = DecryptText(EncryptText(AllByteValues(), u""_s).text, u""_s);
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(all.text, AllByteValues());
}

TEST(EncryptText, AnEmptyTextBecomesOneBlockThatDecryptsToEmpty) {
  const CryptResult encrypted = EncryptText(u""_s, u"key"_s);
  ASSERT_TRUE(encrypted.ok());
  EXPECT_EQ(TextToHex(encrypted.text).size(), 64);
  const CryptResult decrypted = DecryptText(encrypted.text, u"key"_s);
  EXPECT_TRUE(decrypted.ok());
  EXPECT_TRUE(decrypted.text.isEmpty());
}

TEST(EncryptText, RefusesCharactersTheCodePageCannotHold) {
  const CryptResult badText = EncryptText(u"price: 5 \u5143"_s, u"key"_s);
  EXPECT_EQ(badText.failure, Failure::kTextNotInCodePage);
  EXPECT_EQ(badText.character, u"\u5143"_s);

  const CryptResult badKey = EncryptText(u"text"_s, u"\u043a\u043b\u044e\u0447"_s);
  EXPECT_EQ(badKey.failure, Failure::kKeyNotInCodePage);
  EXPECT_EQ(badKey.character, u"\u043a"_s);

  const CryptResult badDecryptKey = DecryptText(EncryptText(u"x"_s, u"k"_s).text, u"\u2603"_s);
  EXPECT_EQ(badDecryptKey.failure, Failure::kKeyNotInCodePage);
}

TEST(DecryptText, FailsVisiblyForAWrongKeyOrDamagedHex) {
  const QString hex = TextToHex(EncryptText(u"a secret worth keeping"_s, u"right"_s).text);
  EXPECT_EQ(DecryptText(HexToText(hex), u"wrong"_s).failure, Failure::kNoResult);

  QString inner = hex;
  inner.insert(10, u' ');
  EXPECT_EQ(DecryptText(HexToText(inner), u"right"_s).failure, Failure::kNoResult);
  EXPECT_EQ(DecryptText(HexToText(hex.left(62)), u"right"_s).failure, Failure::kNoResult);
  QString firstBlockChanged = hex;
  firstBlockChanged[3] = firstBlockChanged[3] == u'0' ? u'1' : u'0';
  EXPECT_EQ(DecryptText(HexToText(firstBlockChanged), u"right"_s).failure, Failure::kNoResult);
  EXPECT_EQ(DecryptText(u""_s, u"right"_s).failure, Failure::kNoResult);
}

TEST(FileExists, MatchesOnlyVisibleOrdinaryFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto touch = [&](const QString& name) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  };
  touch(u"crypt1.txt"_s);
  touch(u".hidden.txt"_s);
  ASSERT_TRUE(QDir(dir.path()).mkdir(u"crypt2.txt"_s));

  EXPECT_TRUE(FileExists(dir.filePath(u"crypt1.txt"_s)));
  EXPECT_FALSE(FileExists(dir.filePath(u".hidden.txt"_s)));
  EXPECT_FALSE(FileExists(dir.filePath(u"crypt2.txt"_s)));
  EXPECT_FALSE(FileExists(dir.filePath(u"crypt3.txt"_s)));
  EXPECT_FALSE(FileExists(dir.filePath(u"missing/crypt1.txt"_s)));
  EXPECT_FALSE(FileExists(u""_s));
}

}  // namespace
}  // namespace quistel
