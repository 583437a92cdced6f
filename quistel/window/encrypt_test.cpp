#include "window/encrypt.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "window/long_line_text_edit.h"
#include "window/prompts.h"
#include "window/text_crypt.h"
#include "window/window_testing.h"

namespace quistel {
namespace {

using namespace Qt::StringLiterals;
using Icon = Prompts::Icon;

// Answers the window's boxes from a script and records what it was asked and told.
class ScriptedPrompts : public Prompts {
 public:
  struct Asked {
    QString prompt;
    QString title;
    QString prefilled;
  };
  struct Told {
    QString text;
    Icon icon;
    QString title;
  };

  std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                  const QString& prefilled) override {
    asked.push_back({prompt, title, prefilled});
    return Next(keys);
  }
  std::optional<QString> ShowOpen(const OpenDialogSettings& settings) override {
    opened.push_back(settings);
    return Next(files);
  }
  void MessageBox(const QString& text, Icon icon, const QString& title) override {
    told.push_back({text, icon, title});
  }

  std::deque<std::optional<QString>> keys;
  std::deque<std::optional<QString>> files;
  std::vector<Asked> asked;
  std::vector<OpenDialogSettings> opened;
  std::vector<Told> told;

 private:
  static std::optional<QString> Next(std::deque<std::optional<QString>>& answers) {
    if (answers.empty()) {
      ADD_FAILURE() << "a box was shown that the test did not expect";
      return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// The widget Tab moves the focus to from `from`.
QWidget* NextTabStop(QWidget* from) {
  QWidget* next = from->nextInFocusChain();
  while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

class EncryptTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    QDir().mkpath(temp.filePath(u"bin"_s));
    window = std::make_unique<quistel::Encrypt>(
        prompts, CryptPlaces{temp.filePath(u"bin"_s), temp.filePath(u"data"_s)});
  }

  QString Text() const { return window->Text1->text(); }
  void SetText(const QString& text) { window->Text1->setText(text); }
  QString CryptFile(int n) const {
    return QDir(window->cryptFolder()).filePath(u"crypt%1.txt"_s.arg(n));
  }
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  void Encrypt(const QString& key) {
    prompts.keys.push_back(key);
    Click(window->cmdEncrypt);
  }
  void Decrypt(const QString& key) {
    prompts.keys.push_back(key);
    Click(window->cmdDecrypt);
  }

  QTemporaryDir temp;
  ScriptedPrompts prompts;
  std::unique_ptr<quistel::Encrypt> window;
};

TEST_F(EncryptTest, IsLaidOutFromTheDesignInTwips) {
  const qreal dpi = window->logicalDpiX();
  const auto px = [&](int twips) { return qRound(twips * dpi / 1440.0); };
  EXPECT_EQ(window->windowTitle(), u"Quistel"_s);
  EXPECT_EQ(window->size(), QSize(px(10950), px(7515)));
  EXPECT_EQ(window->Text1->geometry(), QRect(px(100), px(240), px(10695), px(6120)));
  EXPECT_EQ(window->OpenCrypt->geometry(), QRect(px(5400), px(6720), px(1935), px(495)));
  EXPECT_EQ(window->palette().color(QPalette::Window), QColor(0x80, 0x80, 0xFF));
  EXPECT_EQ(window->cmdExit->palette().color(QPalette::Button), QColor(0xC0, 0xC0, 0xC0));

  const std::pair<QPushButton*, QStringList> buttons[] = {
      {window->cmdEncrypt, {u"&Encrypt"_s, u"encrypt text"_s}},
      {window->cmdDecrypt, {u"&Decrypt"_s, u"decrypt text"_s}},
      {window->cmdExit, {u"&Close"_s, u"Exit"_s}},
      {window->cmdSave, {u"&Save"_s, u"save to a file"_s}},
      {window->cmdOpen, {u"&Open"_s, u"open encrypted file"_s}},
      {window->Clear, {u"Clear"_s, u""_s}},
      {window->OpenCrypt, {u"Open The Crypt"_s, u""_s}},
  };
  QWidget* previous = window->Text1;
  for (const auto& [button, texts] : buttons) {
    EXPECT_EQ(button->text(), texts[0]);
    EXPECT_EQ(button->toolTip(), texts[1]);
    EXPECT_EQ(NextTabStop(previous), button) << "tab order at " << texts[0].toStdString();
    previous = button;
  }
}

TEST_F(EncryptTest, EncryptsAndDecryptsWithTheKeyAskedFor) {
  SetText(u"Meet me at the \u00e9glise, 5 \u20ac\r\nBring the map"_s);
  Encrypt(u"s3cret"_s);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].prompt, u"Key"_s);
  EXPECT_EQ(prompts.asked[0].title, u"Encrypt"_s);
  EXPECT_EQ(prompts.asked[0].prefilled, u"Type your key in."_s);
  const QString hex = Text();
  EXPECT_EQ(hex.size() % 64, 0);
  EXPECT_TRUE(QRegularExpression(u"^[0-9A-F]+$"_s).match(hex).hasMatch());

  SetText(u"  "_s + hex + u" \n"_s);  // blanks around it do not matter
  Decrypt(u"s3cret"_s);
  EXPECT_EQ(prompts.asked[1].title, u"Decrypt"_s);
  EXPECT_EQ(prompts.asked[1].prefilled, u"Type the key again."_s);
  EXPECT_EQ(Text(), u"Meet me at the \u00e9glise, 5 \u20ac\r\nBring the map"_s);
  EXPECT_TRUE(prompts.told.empty());
}

TEST_F(EncryptTest, AccessKeysPressTheButtons) {
  SetText(u"by keyboard"_s);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  prompts.keys = {u"k"_s, std::nullopt};
  QTest::keyClick(window->Text1, Qt::Key_E, Qt::AltModifier);
  QTRY_COMPARE(prompts.asked.size(), 1u);
  QTest::keyClick(window->Text1, Qt::Key_D, Qt::AltModifier);
  QTRY_COMPARE(prompts.asked.size(), 2u);
  EXPECT_EQ(prompts.asked[1].title, u"Decrypt"_s);
}

TEST_F(EncryptTest, CancellingTheKeyChangesNothingButAnEmptyKeyIsAKey) {
  SetText(u"unchanged"_s);
  prompts.keys = {std::nullopt};
  Click(window->cmdEncrypt);
  EXPECT_EQ(Text(), u"unchanged"_s);

  Encrypt(u""_s);
  EXPECT_NE(Text(), u"unchanged"_s);
  Decrypt(u""_s);
  EXPECT_EQ(Text(), u"unchanged"_s);
}

TEST_F(EncryptTest, AWrongKeyOrDamagedTextKeepsTheTextAndSaysWhy) {
  SetText(u"precious"_s);
  Encrypt(u"right"_s);
  const QString hex = Text();

  Decrypt(u"wrong"_s);
  EXPECT_EQ(Text(), hex);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::kWarning);
  EXPECT_TRUE(prompts.told[0].text.contains(u"key is wrong"_s));

  SetText(hex.left(60));
  Decrypt(u"right"_s);
  EXPECT_EQ(Text(), hex.left(60));
  EXPECT_EQ(prompts.told.size(), 2u);
}

TEST_F(EncryptTest, EncryptDecryptAndOpenAreEachOneStepThatCtrlZUndoesAndCtrlYRedoes) {
  const QString letter = u"Dear friend,\r\nthe key is under the mat."_s;
  SetText(letter);
  Encrypt(u"k"_s);
  const QString hex = Text();
  const auto press = [&](Qt::Key key) { QTest::keyClick(window->Text1, key, Qt::ControlModifier); };
  press(Qt::Key_Z);
  EXPECT_EQ(Text(), letter);
  press(Qt::Key_Y);
  EXPECT_EQ(Text(), hex);

  Decrypt(u"k"_s);
  EXPECT_EQ(Text(), letter);
  QTest::keyClicks(window->Text1, u"P.S."_s);
  press(Qt::Key_Z);
  EXPECT_EQ(Text(), letter);  // the typing first
  press(Qt::Key_Z);
  EXPECT_EQ(Text(), hex);  // then the decryption

  QFile file(temp.filePath(u"other.txt"_s));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("from a file\r\n");
  file.close();
  prompts.files = {file.fileName()};
  Click(window->cmdOpen);
  EXPECT_EQ(Text(), u"from a file"_s);
  press(Qt::Key_Z);
  EXPECT_EQ(Text(), hex);
}

TEST_F(EncryptTest, DecryptSkipsWhiteSpaceAndTellsWhatIsNoEncryptedTextFromAWrongKey) {
  SetText(u"wrapped by mail"_s);
  Encrypt(u"k"_s);
  QString wrapped = Text();
  for (qsizetype at = wrapped.size() - 16; at > 0; at -= 16)
    wrapped.insert(at, at % 64 ? u" "_s : u"\r\n"_s);
  SetText(u"\t"_s + wrapped + u"\n"_s);
  Decrypt(u"k"_s);
  EXPECT_EQ(Text(), u"wrapped by mail"_s);
  EXPECT_TRUE(prompts.told.empty());

  const QString notEncrypted[] = {
      u""_s, u" \r\n "_s, u"Dear friend"_s, wrapped + u"0"_s, wrapped + u"g0"_s, u"0x4142"_s};
  for (const QString& text : notEncrypted) {
    SetText(text);
    const std::size_t asked = prompts.asked.size();
    Decrypt(u"k"_s);
    EXPECT_EQ(prompts.asked.size(), asked + 1) << "the key is asked first";
    EXPECT_EQ(Text(), text);
    ASSERT_FALSE(prompts.told.empty());
    EXPECT_TRUE(prompts.told.back().text.startsWith(u"This is not an encrypted text"_s))
        << text.toStdString();
    prompts.told.clear();
  }

  SetText(wrapped);
  Decrypt(u"wrong"_s);
  EXPECT_EQ(Text(), wrapped);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].text,
            u"The key is wrong or the text is damaged. The text was left as it was."_s);
}

TEST_F(EncryptTest, AFailureInsideAnOperationEndsInAMessageAndKeepsTheText) {
  SetText(u"keep me"_s);
  window->onProgress = [](int percent) {
    if (percent > 0) throw std::bad_alloc();
  };
  Encrypt(u"k"_s);
  EXPECT_EQ(Text(), u"keep me"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::kWarning);
  EXPECT_TRUE(prompts.told[0].text.contains(u"not enough memory"_s));

  window->onProgress = {};
  Encrypt(u"k"_s);
  const QString hex = Text();
  window->onProgress = [](int) { throw std::runtime_error("worker lost"); };
  Decrypt(u"k"_s);
  EXPECT_EQ(Text(), hex);
  ASSERT_EQ(prompts.told.size(), 2u);
  EXPECT_TRUE(prompts.told[1].text.contains(u"worker lost"_s));
  EXPECT_TRUE(window->cmdDecrypt->isEnabled());
  EXPECT_FALSE(window->Text1->isReadOnly());
}

TEST_F(EncryptTest, AnEncryptedEmptyTextDecryptsToAnEmptyWindow) {
  SetText(u""_s);
  Encrypt(u"k"_s);
  EXPECT_EQ(Text().size(), 64);
  Decrypt(u"k"_s);
  EXPECT_EQ(Text(), u""_s);
  EXPECT_TRUE(prompts.told.empty());
}

TEST_F(EncryptTest, NamesACharacterTheCodePageCannotHoldAndChangesNothing) {
  SetText(u"price 5 \u5143"_s);
  Encrypt(u"k"_s);
  EXPECT_EQ(Text(), u"price 5 \u5143"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_TRUE(prompts.told[0].text.contains(u"\u5143"_s));
  EXPECT_TRUE(prompts.told[0].text.contains(u"U+5143"_s));

  SetText(u"plain"_s);
  Encrypt(u"\u043a\u043b\u044e\u0447"_s);
  EXPECT_EQ(Text(), u"plain"_s);
  EXPECT_TRUE(
      prompts.told[1].text.contains(u"key holds the character \u201c\u043a\u201d (U+043A)"_s))
      << prompts.told[1].text.toStdString();

  SetText(u"snow \u2603"_s);
  Click(window->cmdSave);
  EXPECT_FALSE(QFile::exists(CryptFile(1)));
  EXPECT_TRUE(prompts.told[2].text.contains(u"U+2603"_s));
}

TEST_F(EncryptTest, SavesNumberedFilesAndSaysWhereAndOpensThemAgain) {
  EXPECT_EQ(window->cryptFolder(), temp.filePath(u"bin/The Crypt"_s));
  SetText(u"secret"_s);
  Encrypt(u"k"_s);
  const QString hex = Text();
  Click(window->cmdSave);
  Click(window->cmdSave);

  QFile saved(CryptFile(1));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), hex.toLatin1() + "\r\n");
  EXPECT_TRUE(QFile::exists(CryptFile(2)));
  ASSERT_EQ(prompts.told.size(), 2u);
  EXPECT_EQ(prompts.told[0].text,
            u"File is saved to ...\n"_s + QDir::toNativeSeparators(CryptFile(1)));
  EXPECT_EQ(prompts.told[0].icon, Icon::kInformation);
  EXPECT_EQ(prompts.told[0].title, u"Quistel"_s);

  window->Clear->click();
  EXPECT_EQ(Text(), u""_s);
  prompts.files = {CryptFile(1)};
  Click(window->cmdOpen);
  EXPECT_EQ(Text(), hex);
  ASSERT_EQ(prompts.opened.size(), 1u);
  EXPECT_EQ(prompts.opened[0].title, u"Open Encrypted File"_s);
  EXPECT_EQ(prompts.opened[0].folder, window->cryptFolder());
  EXPECT_EQ(prompts.opened[0].filter,
            u"Text Files(*.txt)|*.txt|Rich Text Files(*.rtf)|*.rtf|All Files(*.*)|*.*|"_s);
  Decrypt(u"k"_s);
  EXPECT_EQ(Text(), u"secret"_s);
}

TEST_F(EncryptTest, AFailedSaveIsNeverReportedAsSaved) {
  QDir(window->cryptFolder()).removeRecursively();
  QFile blocker(window->cryptFolder());  // a file where the folder should be
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  SetText(u"text"_s);
  Click(window->cmdSave);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::kWarning);
  EXPECT_FALSE(prompts.told[0].text.startsWith(u"File is saved"_s));
  EXPECT_EQ(Text(), u"text"_s);
}

TEST_F(EncryptTest, CancellingOrFailingToOpenLeavesTheTextAlone) {
  SetText(u"ends with a break\r\n"_s);
  prompts.files = {std::nullopt, temp.filePath(u"missing.txt"_s)};
  Click(window->OpenCrypt);
  EXPECT_EQ(Text(), u"ends with a break\r\n"_s);
  EXPECT_EQ(prompts.opened[0].title, u"Manage Encrypted Files"_s);
  EXPECT_TRUE(prompts.told.empty());

  Click(window->cmdOpen);
  EXPECT_EQ(Text(), u"ends with a break\r\n"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::kWarning);
  EXPECT_TRUE(prompts.told[0].text.contains(u"missing.txt"_s));
}

}  // namespace
}  // namespace quistel
