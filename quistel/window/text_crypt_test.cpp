#include "window/text_crypt.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "testing/mcrypt_oracle.h"
#include "window/code_page.h"
#include "window/wipe.h"

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
  // The quick table gives what the general converter gives.
  EXPECT_EQ(QStringEncoder("windows-1252").encode(text), QByteArray(back.bytes));
  EXPECT_EQ(QStringDecoder("windows-1252").decode(bytes), text);
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

TEST(TextToHex, GivesTwoUpperCaseDigitsPerByteAndHexToTextReadsThemBack) {
  EXPECT_EQ(TextToHex(""), u""_s);
  EXPECT_EQ(HexToText(u""_s), QByteArray());
  EXPECT_EQ(TextToHex(QByteArray("\0\n\xff\x80", 4)), u"000AFF80"_s);

  QByteArray all;
  for (int i = 0; i < 256; ++i) all.append(static_cast<char>(i));
  const QString hex = TextToHex(all);
  EXPECT_EQ(hex.size(), 512);
  EXPECT_EQ(hex, hex.toUpper());
  EXPECT_EQ(HexToText(hex), all);
  EXPECT_EQ(HexToText(hex.toLower()), all);
}

TEST(HexToText, SkipsWhiteSpaceAnywhereAndRefusesAnythingElse) {
  EXPECT_EQ(HexToText(u" 41\r\n4 2\t43\u00a0\u2029 "_s), QByteArray("ABC"));
  EXPECT_EQ(HexToText(u"\n \t"_s), QByteArray());
  EXPECT_EQ(HexToText(u"414"_s), std::nullopt);  // an odd number of digits
  EXPECT_EQ(HexToText(u"41 4"_s), std::nullopt);
  EXPECT_EQ(HexToText(u"4G41"_s), std::nullopt);
  EXPECT_EQ(HexToText(u"41,42"_s), std::nullopt);
  EXPECT_EQ(HexToText(u"41\uff141"_s), std::nullopt);  // a full-width digit is no hex digit
  EXPECT_EQ(HexToText(u"0x41"_s), std::nullopt);

  // Anywhere in a long run: one character too many, too few, or out of place is caught, and
  // white space anywhere is skipped.
  QByteArray bytes;
  for (int i = 0; i < 40; ++i) bytes.append(static_cast<char>(37 * i + 11));
  const QString hex = TextToHex(bytes);
  for (qsizetype at = 0; at <= hex.size(); ++at) {
    for (const char16_t bad : {u'g', u'G', u'/', u':', u'@', u'`', u'\u0130', u'\uff10'}) {
      EXPECT_EQ(HexToText(QString(hex).insert(at, QChar(bad))), std::nullopt) << at;
    }
    EXPECT_EQ(HexToText(QString(hex).insert(at, u'0')), std::nullopt) << at;
    EXPECT_EQ(HexToText(QString(hex).insert(at, u"\r\n"_s)), bytes) << at;
    if (at < hex.size()) {
      EXPECT_EQ(HexToText(QString(hex).remove(at, 1)), std::nullopt) << at;
    }
  }
}

TEST(EncryptText, MatchesTheOracleAndDecryptsBackExactly) {
  const QString text = u"Gr\u00fc\u00dfe \u20ac100\r\nline two\t"_s + QString(QChar(0)) + u"end"_s;
  const CryptResult encrypted = EncryptText(text, u"s\u00e9same"_s);
  ASSERT_TRUE(encrypted.ok());
  // The same hex as the code page's bytes encrypted by the oracle: files saved before still open.
  EXPECT_EQ(TextToHex(encrypted.cipher),
            OracleHex(ToCodePage(text).bytes, ToCodePage(u"s\u00e9same"_s).bytes));

  const CryptResult decrypted =
      DecryptText(*HexToText(TextToHex(encrypted.cipher)), u"s\u00e9same"_s);
  ASSERT_TRUE(decrypted.ok());
  EXPECT_EQ(decrypted.text, text);

  const CryptResult all = DecryptText(EncryptText(AllByteValues(), u""_s).cipher, u""_s);
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(all.text, AllByteValues());
}

// Under a multi-byte code page a character takes one to four bytes; the ciphertext must still
// come back byte for byte through the hex.
TEST(EncryptText, RoundTripsUnderMultiByteCodePages) {
  const QString samples[] = {
      u"plain ASCII, the most common case"_s,
      u"\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8\r\n\u3072\u3089\u304c\u306a \uff76\uff80\uff76\uff85"_s,
      u""_s,
  };
  QRandomGenerator random(13);
  for (const char* name : {"Shift_JIS", "UTF-8"}) {
    const CodePage codePage = CodePage::Named(name);
    QStringList texts(std::begin(samples), std::end(samples));
    for (int n = 0; n < 200; ++n) {
      QString text;
      for (int i = random.bounded(300); i > 0; --i) {
        // ASCII, and kana and kanji that Shift_JIS holds as two bytes.
        const QString kanji = u"\u65e5\u672c\u8a9e\u6f22\u5b57\u4e00\u4e8c\u4e09\u4e0a\u4e0b"_s;
        const QChar pick[] = {QChar(random.bounded(0x20, 0x7F)),
                              QChar(random.bounded(0x3041, 0x3094)),
                              kanji[random.bounded(kanji.size())]};
        text += pick[random.bounded(3)];
      }
      texts << text;
    }
    const QString key = u"\u9375 key"_s;
    for (const QString& text : texts) {
      const CryptResult encrypted = EncryptText(text, key, codePage);
      ASSERT_TRUE(encrypted.ok()) << name;
      const QString hex = TextToHex(encrypted.cipher);
      const CryptResult decrypted = DecryptText(*HexToText(hex), key, codePage);
      ASSERT_TRUE(decrypted.ok()) << name << " " << text.toStdString();
      EXPECT_EQ(decrypted.text, text) << name;
    }
  }
  const CryptResult refused =
      EncryptText(u"caf\u00e9 \u0142\u00f3d\u017a"_s, u"k"_s, CodePage::Named("Shift_JIS"));
  EXPECT_EQ(refused.failure, Failure::kTextNotInCodePage);
}

TEST(EncryptText, AnEmptyTextBecomesOneBlockThatDecryptsToEmpty) {
  const CryptResult encrypted = EncryptText(u""_s, u"key"_s);
  ASSERT_TRUE(encrypted.ok());
  EXPECT_EQ(TextToHex(encrypted.cipher).size(), 64);
  const CryptResult decrypted = DecryptText(encrypted.cipher, u"key"_s);
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

  const CryptResult badDecryptKey = DecryptText(EncryptText(u"x"_s, u"k"_s).cipher, u"\u2603"_s);
  EXPECT_EQ(badDecryptKey.failure, Failure::kKeyNotInCodePage);
}

TEST(DecryptText, FailsVisiblyForAWrongKeyOrDamagedCiphertext) {
  const QByteArray cipher = EncryptText(u"a secret worth keeping"_s, u"right"_s).cipher;
  EXPECT_EQ(DecryptText(cipher, u"wrong"_s).failure, Failure::kNoResult);
  EXPECT_EQ(DecryptText(cipher.left(31), u"right"_s).failure, Failure::kNoResult);
  QByteArray firstBlockChanged = cipher;
  firstBlockChanged[1] = static_cast<char>(firstBlockChanged[1] ^ 0x10);
  EXPECT_EQ(DecryptText(firstBlockChanged, u"right"_s).failure, Failure::kNoResult);
  EXPECT_EQ(DecryptText(QByteArray(), u"right"_s).failure, Failure::kNoResult);
}

TEST(Wipe, ZeroesTheBufferItselfAndLeavesSharedOnesToTheirOwners) {
  QByteArray key = QByteArray("s3cret key bytes").repeated(2);
  const char* const buffer = key.constData();
  Wipe(key);
  EXPECT_EQ(key.constData(), buffer);  // no copy was made and wiped instead
  EXPECT_EQ(key, QByteArray(32, '\0'));

  QString text = QString::fromUtf8("typed key");
  const QString other = text;  // shared: wiping must not change what another owner sees
  Wipe(text);
  EXPECT_EQ(other, u"typed key"_s);
  QString own = other;
  own.detach();
  const QChar* const ownBuffer = own.constData();
  Wipe(own);
  EXPECT_EQ(own.constData(), ownBuffer);
  EXPECT_EQ(own, QString(9, QChar(0)));
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
