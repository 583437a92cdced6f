#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include "testing/mcrypt_oracle.h"
#include "text/code_page.h"
#include "text/hex_codec.h"
#include "text/qt_secure_wipe.h"
#include "text/text_cipher.h"

namespace quistel {
namespace {

using Failure = CipherResult::Failure;
using namespace Qt::StringLiterals;

QString allByteValues() {
  QByteArray bytes;
  for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
  return fromCodePage(bytes).value();
}

QString oracleHex(const QByteArray& message, const QByteArray& password) {
  const auto asBytes = [](const QByteArray& a) { return Bytes(a.begin(), a.end()); };
  const Bytes cipher = oracleEncryptMessage(asBytes(message), asBytes(password));
  return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(cipher.data()),
                                        static_cast<qsizetype>(cipher.size()))
                                 .toHex()
                                 .toUpper());
}

TEST(CodePage, EveryByteValueSurvivesByteToCharacterToByte) {
  QByteArray bytes;
  for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
  const QString text = fromCodePage(bytes).value();
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(text[0x80], QChar(0x20AC));  // the euro sign of windows-1252
  EXPECT_EQ(text[0x9F], QChar(0x0178));
  EXPECT_EQ(text[0xE9], QChar(0x00E9));
  const CodePageBytes back = toCodePage(text);
  EXPECT_EQ(back.bytes, bytes);
  EXPECT_FALSE(back.unrepresentable.has_value());
  // The quick table gives what the general converter gives.
  EXPECT_EQ(QStringEncoder("windows-1252").encode(text), QByteArray(back.bytes));
  EXPECT_EQ(QStringDecoder("windows-1252").decode(bytes), text);
}

TEST(CodePage, NamesTheFirstCharacterItCannotHoldWhereverItIs) {
  EXPECT_EQ(toCodePage(u"caf\u00e9 \u20ac \u4e2d \u0416"_s).unrepresentable, u"\u4e2d"_s);
  EXPECT_EQ(toCodePage(u"smile \U0001F600 \u4e2d"_s).unrepresentable, u"\U0001F600"_s);
  EXPECT_EQ(toCodePage(QString(u"lone "_s) + QChar(0xD800) + u"x"_s).unrepresentable,
            QString(QChar(0xD800)));

  // Far into a long text, and with a surrogate pair across the converter's piece boundary.
  for (qsizetype at : {10000, 4095, 4096, 8191}) {
    QString text(20000, u'a');
    text.replace(at, 2, u"\U0001F512"_s);
    EXPECT_EQ(toCodePage(text).unrepresentable, u"\U0001F512"_s) << at;
  }
  QString plain(9000, u'z');
  EXPECT_FALSE(toCodePage(plain).unrepresentable.has_value());
  EXPECT_EQ(toCodePage(plain).bytes.size(), 9000);
}

TEST(HexCodec, GivesTwoUpperCaseDigitsPerByteAndReadsThemBack) {
  EXPECT_EQ(bytesToHex(""), u""_s);
  EXPECT_EQ(hexToBytes(u""_s), QByteArray());
  EXPECT_EQ(bytesToHex(QByteArray("\0\n\xff\x80", 4)), u"000AFF80"_s);

  QByteArray all;
  for (int i = 0; i < 256; ++i) all.append(static_cast<char>(i));
  const QString hex = bytesToHex(all);
  EXPECT_EQ(hex.size(), 512);
  EXPECT_EQ(hex, hex.toUpper());
  EXPECT_EQ(hexToBytes(hex), all);
  EXPECT_EQ(hexToBytes(hex.toLower()), all);
}

TEST(HexCodec, SkipsWhiteSpaceAnywhereAndRefusesAnythingElse) {
  EXPECT_EQ(hexToBytes(u" 41\r\n4 2\t43\u00a0\u2029 "_s), QByteArray("ABC"));
  EXPECT_EQ(hexToBytes(u"\n \t"_s), QByteArray());
  EXPECT_EQ(hexToBytes(u"414"_s), std::nullopt);  // an odd number of digits
  EXPECT_EQ(hexToBytes(u"41 4"_s), std::nullopt);
  EXPECT_EQ(hexToBytes(u"4G41"_s), std::nullopt);
  EXPECT_EQ(hexToBytes(u"41,42"_s), std::nullopt);
  EXPECT_EQ(hexToBytes(u"41\uff141"_s), std::nullopt);  // a full-width digit is no hex digit
  EXPECT_EQ(hexToBytes(u"0x41"_s), std::nullopt);

  // Anywhere in a long run: one character too many, too few, or out of place is caught, and
  // white space anywhere is skipped.
  QByteArray bytes;
  for (int i = 0; i < 40; ++i) bytes.append(static_cast<char>(37 * i + 11));
  const QString hex = bytesToHex(bytes);
  for (qsizetype at = 0; at <= hex.size(); ++at) {
    for (const char16_t bad : {u'g', u'G', u'/', u':', u'@', u'`', u'\u0130', u'\uff10'}) {
      EXPECT_EQ(hexToBytes(QString(hex).insert(at, QChar(bad))), std::nullopt) << at;
    }
    EXPECT_EQ(hexToBytes(QString(hex).insert(at, u'0')), std::nullopt) << at;
    EXPECT_EQ(hexToBytes(QString(hex).insert(at, u"\r\n"_s)), bytes) << at;
    if (at < hex.size()) {
      EXPECT_EQ(hexToBytes(QString(hex).remove(at, 1)), std::nullopt) << at;
    }
  }
}

TEST(TextCipher, EncryptionMatchesTheOracleAndDecryptsBackExactly) {
  const QString text = u"Gr\u00fc\u00dfe \u20ac100\r\nline two\t"_s + QString(QChar(0)) + u"end"_s;
  const CipherResult encrypted = encryptText(text, u"s\u00e9same"_s);
  ASSERT_TRUE(encrypted.ok());
  // The same hex as the code page's bytes encrypted by the oracle: files saved before still open.
  EXPECT_EQ(bytesToHex(encrypted.cipher),
            oracleHex(toCodePage(text).bytes, toCodePage(u"s\u00e9same"_s).bytes));

  const CipherResult decrypted =
      decryptText(*hexToBytes(bytesToHex(encrypted.cipher)), u"s\u00e9same"_s);
  ASSERT_TRUE(decrypted.ok());
  EXPECT_EQ(decrypted.text, text);

  const CipherResult all = decryptText(encryptText(allByteValues(), u""_s).cipher, u""_s);
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(all.text, allByteValues());
}

// Under a multi-byte code page a character takes one to four bytes; the ciphertext must still
// come back byte for byte through the hex.
TEST(TextCipher, RoundTripsUnderMultiByteCodePages) {
  const QString samples[] = {
      u"plain ASCII, the most common case"_s,
      u"\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8\r\n\u3072\u3089\u304c\u306a \uff76\uff80\uff76\uff85"_s,
      u""_s,
  };
  QRandomGenerator random(13);
  for (const char* name : {"Shift_JIS", "UTF-8"}) {
    const CodePage codePage = CodePage::named(name);
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
      const CipherResult encrypted = encryptText(text, key, codePage);
      ASSERT_TRUE(encrypted.ok()) << name;
      const QString hex = bytesToHex(encrypted.cipher);
      const CipherResult decrypted = decryptText(*hexToBytes(hex), key, codePage);
      ASSERT_TRUE(decrypted.ok()) << name << " " << text.toStdString();
      EXPECT_EQ(decrypted.text, text) << name;
    }
  }
  const CipherResult refused =
      encryptText(u"caf\u00e9 \u0142\u00f3d\u017a"_s, u"k"_s, CodePage::named("Shift_JIS"));
  EXPECT_EQ(refused.failure, Failure::TextNotInCodePage);
}

// Bytes that are no text under the code page: a byte no character starts with, and a lead byte
// at the end without its second one. Latin-1 makes them from characters.
TEST(TextCipher, DecryptionRefusesBytesThatAreNoTextOfTheCodePage) {
  const CodePage latin1 = CodePage::named("ISO-8859-1");
  for (const char* name : {"Shift_JIS", "UTF-8"}) {
    for (const QString& bytes : {u"ok \u00ff ok"_s, u"ends in \u0081"_s}) {
      const CipherResult encrypted = encryptText(bytes, u"k"_s, latin1);
      ASSERT_TRUE(encrypted.ok());
      const CipherResult decrypted = decryptText(encrypted.cipher, u"k"_s, CodePage::named(name));
      EXPECT_EQ(decrypted.failure, Failure::NotCodePageText) << name << " " << bytes.toStdString();
      EXPECT_TRUE(decrypted.text.isEmpty());
    }
  }
}

TEST(TextCipher, AnEmptyTextBecomesOneBlockThatDecryptsToEmpty) {
  const CipherResult encrypted = encryptText(u""_s, u"key"_s);
  ASSERT_TRUE(encrypted.ok());
  EXPECT_EQ(bytesToHex(encrypted.cipher).size(), 64);
  const CipherResult decrypted = decryptText(encrypted.cipher, u"key"_s);
  EXPECT_TRUE(decrypted.ok());
  EXPECT_TRUE(decrypted.text.isEmpty());
}

TEST(TextCipher, RefusesCharactersTheCodePageCannotHold) {
  const CipherResult badText = encryptText(u"price: 5 \u5143"_s, u"key"_s);
  EXPECT_EQ(badText.failure, Failure::TextNotInCodePage);
  EXPECT_EQ(badText.character, u"\u5143"_s);

  const CipherResult badKey = encryptText(u"text"_s, u"\u043a\u043b\u044e\u0447"_s);
  EXPECT_EQ(badKey.failure, Failure::KeyNotInCodePage);
  EXPECT_EQ(badKey.character, u"\u043a"_s);

  const CipherResult badDecryptKey = decryptText(encryptText(u"x"_s, u"k"_s).cipher, u"\u2603"_s);
  EXPECT_EQ(badDecryptKey.failure, Failure::KeyNotInCodePage);
}

TEST(TextCipher, DecryptionFailsVisiblyForAWrongKeyOrDamagedCiphertext) {
  const QByteArray cipher = encryptText(u"a secret worth keeping"_s, u"right"_s).cipher;
  EXPECT_EQ(decryptText(cipher, u"wrong"_s).failure, Failure::NoResult);
  EXPECT_EQ(decryptText(cipher.left(31), u"right"_s).failure, Failure::NoResult);
  QByteArray firstBlockChanged = cipher;
  firstBlockChanged[1] = static_cast<char>(firstBlockChanged[1] ^ 0x10);
  EXPECT_EQ(decryptText(firstBlockChanged, u"right"_s).failure, Failure::NoResult);
  EXPECT_EQ(decryptText(QByteArray(), u"right"_s).failure, Failure::NoResult);
}

TEST(SecureWipe, ZeroesTheBufferItselfAndLeavesSharedOnesToTheirOwners) {
  QByteArray key = QByteArray("s3cret key bytes").repeated(2);
  const char* const buffer = key.constData();
  secureWipe(key);
  EXPECT_EQ(key.constData(), buffer);  // no copy was made and wiped instead
  EXPECT_EQ(key, QByteArray(32, '\0'));

  QString text = QString::fromUtf8("typed key");
  const QString other = text;  // shared: wiping must not change what another owner sees
  secureWipe(text);
  EXPECT_EQ(other, u"typed key"_s);
  QString own = other;
  own.detach();
  const QChar* const ownBuffer = own.constData();
  secureWipe(own);
  EXPECT_EQ(own.constData(), ownBuffer);
  EXPECT_EQ(own, QString(9, QChar(0)));
}

}  // namespace
}  // namespace quistel
