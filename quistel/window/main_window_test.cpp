#include "window/main_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <deque>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "text/code_page.h"
#include "window/long_line_text_edit.h"
#include "window/prompts.h"
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

  std::optional<QString> askText(const QString& prompt, const QString& title,
                                 const QString& prefilled) override {
    asked.push_back({prompt, title, prefilled});
    return next(keys);
  }
  std::optional<QString> chooseFileToOpen(const OpenDialogSettings& settings) override {
    opened.push_back(settings);
    return next(files);
  }
  void showMessage(const QString& text, Icon icon, const QString& title) override {
    told.push_back({text, icon, title});
  }

  std::deque<std::optional<QString>> keys;
  std::deque<std::optional<QString>> files;
  std::vector<Asked> asked;
  std::vector<OpenDialogSettings> opened;
  std::vector<Told> told;

 private:
  static std::optional<QString> next(std::deque<std::optional<QString>>& answers) {
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
QWidget* nextTabStop(QWidget* from) {
  QWidget* next = from->nextInFocusChain();
  while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    QDir().mkpath(temp.filePath(u"bin"_s));
    window = std::make_unique<MainWindow>(
        prompts, CryptPlaces{temp.filePath(u"bin"_s), temp.filePath(u"data"_s)});
  }

  QString text() const { return window->textEdit()->text(); }
  void setText(const QString& text) { window->textEdit()->replaceText(text); }
  QString cryptFile(int n) const {
    return QDir(window->cryptFolder()).filePath(u"crypt%1.txt"_s.arg(n));
  }
  void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void pressCtrl(Qt::Key key) { QTest::keyClick(window->textEdit(), key, Qt::ControlModifier); }
  // Ctrl+Z brings `before` back, and Ctrl+Y `after` again.
  void expectUndoAndRedo(const QString& before, const QString& after) {
    pressCtrl(Qt::Key_Z);
    EXPECT_EQ(text(), before);
    pressCtrl(Qt::Key_Y);
    EXPECT_EQ(text(), after);
  }

  void encrypt(const QString& key) {
    prompts.keys.push_back(key);
    click(window->encryptButton());
  }
  void decrypt(const QString& key) {
    prompts.keys.push_back(key);
    click(window->decryptButton());
  }

  QTemporaryDir temp;
  ScriptedPrompts prompts;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, IsLaidOutFromTheDesignInTwips) {
  const qreal dpi = window->logicalDpiX();
  const auto px = [&](int twips) { return qRound(twips * dpi / 1440.0); };
  EXPECT_EQ(window->windowTitle(), u"Quistel"_s);
  EXPECT_EQ(window->size(), QSize(px(10950), px(7515)));
  EXPECT_EQ(window->textEdit()->geometry(), QRect(px(100), px(240), px(10695), px(6120)));
  EXPECT_EQ(window->openCryptButton()->geometry(), QRect(px(5400), px(6720), px(1935), px(495)));
  EXPECT_EQ(window->palette().color(QPalette::Window), QColor(0x80, 0x80, 0xFF));
  EXPECT_EQ(window->closeButton()->palette().color(QPalette::Button), QColor(0xC0, 0xC0, 0xC0));

  const std::pair<QPushButton*, QStringList> buttons[] = {
      {window->encryptButton(), {u"&Encrypt"_s, u"encrypt text"_s}},
      {window->decryptButton(), {u"&Decrypt"_s, u"decrypt text"_s}},
      {window->closeButton(), {u"&Close"_s, u"Exit"_s}},
      {window->saveButton(), {u"&Save"_s, u"save to a file"_s}},
      {window->openButton(), {u"&Open"_s, u"open encrypted file"_s}},
      {window->clearButton(), {u"Clear"_s, u""_s}},
      {window->openCryptButton(), {u"Open The Crypt"_s, u""_s}},
  };
  QWidget* previous = window->textEdit();
  for (const auto& [button, texts] : buttons) {
    EXPECT_EQ(button->text(), texts[0]);
    EXPECT_EQ(button->toolTip(), texts[1]);
    EXPECT_EQ(nextTabStop(previous), button) << "tab order at " << texts[0].toStdString();
    previous = button;
  }
}

TEST_F(MainWindowTest, EncryptsAndDecryptsWithTheKeyAskedFor) {
  setText(u"Meet me at the \u00e9glise, 5 \u20ac\r\nBring the map"_s);
  encrypt(u"s3cret"_s);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].prompt, u"Key"_s);
  EXPECT_EQ(prompts.asked[0].title, u"Encrypt"_s);
  EXPECT_EQ(prompts.asked[0].prefilled, u"Type your key in."_s);
  const QString hex = text();
  EXPECT_EQ(hex.size() % 64, 0);
  EXPECT_TRUE(QRegularExpression(u"^[0-9A-F]+$"_s).match(hex).hasMatch());

  setText(u"  "_s + hex + u" \n"_s);  // blanks around it do not matter
  decrypt(u"s3cret"_s);
  EXPECT_EQ(prompts.asked[1].title, u"Decrypt"_s);
  EXPECT_EQ(prompts.asked[1].prefilled, u"Type the key again."_s);
  EXPECT_EQ(text(), u"Meet me at the \u00e9glise, 5 \u20ac\r\nBring the map"_s);
  EXPECT_TRUE(prompts.told.empty());
}

TEST_F(MainWindowTest, AccessKeysPressTheButtons) {
  setText(u"by keyboard"_s);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  prompts.keys = {u"k"_s, std::nullopt};
  QTest::keyClick(window->textEdit(), Qt::Key_E, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.asked.size() == 1; }));
  QTest::keyClick(window->textEdit(), Qt::Key_D, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.asked.size() == 2; }));
  EXPECT_EQ(prompts.asked[1].title, u"Decrypt"_s);
}

TEST_F(MainWindowTest, ReturnAndSpacePressTheFocusedButton) {
  setText(u"by keyboard"_s);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  prompts.keys = {std::nullopt, std::nullopt};
  window->encryptButton()->setFocus();
  QTest::keyClick(window->encryptButton(), Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.asked.size() == 1; }));
  window->decryptButton()->setFocus();
  QTest::keyClick(window->decryptButton(), Qt::Key_Space);
  ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.asked.size() == 2; }));
  EXPECT_EQ(prompts.asked[0].title, u"Encrypt"_s);
  EXPECT_EQ(prompts.asked[1].title, u"Decrypt"_s);
}

TEST_F(MainWindowTest, CancellingTheKeyChangesNothingButAnEmptyKeyIsAKey) {
  setText(u"unchanged"_s);
  prompts.keys = {std::nullopt};
  click(window->encryptButton());
  EXPECT_EQ(text(), u"unchanged"_s);

  encrypt(u""_s);
  EXPECT_NE(text(), u"unchanged"_s);
  decrypt(u""_s);
  EXPECT_EQ(text(), u"unchanged"_s);
}

TEST_F(MainWindowTest, AWrongKeyOrDamagedTextKeepsTheTextAndSaysWhy) {
  setText(u"precious"_s);
  encrypt(u"right"_s);
  const QString hex = text();

  decrypt(u"wrong"_s);
  EXPECT_EQ(text(), hex);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::Warning);
  EXPECT_TRUE(prompts.told[0].text.contains(u"key is wrong"_s));

  setText(hex.left(60));
  decrypt(u"right"_s);
  EXPECT_EQ(text(), hex.left(60));
  EXPECT_EQ(prompts.told.size(), 2u);
}

TEST_F(MainWindowTest, EncryptDecryptAndOpenAreEachOneStepThatCtrlZUndoesAndCtrlYRedoes) {
  const QString letter = u"Dear friend,\r\nthe key is under the mat."_s;
  setText(letter);
  encrypt(u"k"_s);
  const QString hex = text();
  expectUndoAndRedo(letter, hex);

  decrypt(u"k"_s);
  EXPECT_EQ(text(), letter);
  QTest::keyClicks(window->textEdit(), u"P.S."_s);
  pressCtrl(Qt::Key_Z);
  EXPECT_EQ(text(), letter);  // the typing first
  pressCtrl(Qt::Key_Z);
  EXPECT_EQ(text(), hex);  // then the decryption

  QFile file(temp.filePath(u"other.txt"_s));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("from a file\r\n");
  file.close();
  prompts.files = {file.fileName()};
  click(window->openButton());
  EXPECT_EQ(text(), u"from a file"_s);
  pressCtrl(Qt::Key_Z);
  EXPECT_EQ(text(), hex);
}

TEST_F(MainWindowTest, DecryptSkipsWhiteSpaceAndTellsWhatIsNoEncryptedTextFromAWrongKey) {
  setText(u"wrapped by mail"_s);
  encrypt(u"k"_s);
  QString wrapped = text();
  for (qsizetype at = wrapped.size() - 16; at > 0; at -= 16)
    wrapped.insert(at, at % 64 ? u" "_s : u"\r\n"_s);
  setText(u"\t"_s + wrapped + u"\n"_s);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), u"wrapped by mail"_s);
  EXPECT_TRUE(prompts.told.empty());

  const QString notEncrypted[] = {
      u""_s, u" \r\n "_s, u"Dear friend"_s, wrapped + u"0"_s, wrapped + u"g0"_s, u"0x4142"_s};
  for (const QString& notHex : notEncrypted) {
    setText(notHex);
    const std::size_t asked = prompts.asked.size();
    decrypt(u"k"_s);
    EXPECT_EQ(prompts.asked.size(), asked + 1) << "the key is asked first";
    EXPECT_EQ(text(), notHex);
    ASSERT_FALSE(prompts.told.empty());
    EXPECT_TRUE(prompts.told.back().text.startsWith(u"This is not an encrypted text"_s))
        << notHex.toStdString();
    prompts.told.clear();
  }

  setText(wrapped);
  decrypt(u"wrong"_s);
  EXPECT_EQ(text(), wrapped);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].text,
            u"The key is wrong or the text is damaged. The text was left as it was."_s);
}

TEST_F(MainWindowTest, ALongHexTextDecryptsWithADigitPairSplitAcrossTheSlicesItIsReadIn) {
  // More than a megabyte of hex digits, read a megabyte at a time: one blank early on leaves
  // an odd number of digits in the first slice.
  const QString letter = u"0123456789 abcdef\n"_s.repeated(600 * 1024 / 18);
  setText(letter);
  encrypt(u"k"_s);
  QString hex = text();
  ASSERT_GT(hex.size(), 1 << 20);
  hex.insert(1001, u' ');
  setText(hex);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), letter);
  EXPECT_TRUE(prompts.told.empty());

  hex[hex.size() - 2] = u'g';
  setText(hex);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), hex);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_TRUE(prompts.told[0].text.startsWith(u"This is not an encrypted text"_s));
}

TEST_F(MainWindowTest, AFailureInsideAnOperationEndsInAMessageAndKeepsTheText) {
  setText(u"keep me"_s);
  window->setProgressObserver([](int percent) {
    if (percent > 0) throw std::bad_alloc();
  });
  encrypt(u"k"_s);
  EXPECT_EQ(text(), u"keep me"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::Warning);
  EXPECT_TRUE(prompts.told[0].text.contains(u"not enough memory"_s));

  window->setProgressObserver({});
  encrypt(u"k"_s);
  const QString hex = text();
  window->setProgressObserver([](int) { throw std::runtime_error("worker lost"); });
  decrypt(u"k"_s);
  EXPECT_EQ(text(), hex);
  ASSERT_EQ(prompts.told.size(), 2u);
  EXPECT_TRUE(prompts.told[1].text.contains(u"worker lost"_s));
  EXPECT_TRUE(window->decryptButton()->isEnabled());
  EXPECT_FALSE(window->textEdit()->isReadOnly());
}

TEST_F(MainWindowTest, AFailureOnTheWindowsThreadWaitsForTheWorkerAndKeepsTheText) {
  setText(u"keep me"_s);
  // Once the worker runs, the window's thread fails, as a repaint short of memory would; the
  // worker is held until then and goes on a while after: the window must not go before it.
  std::atomic<bool> failed = false;
  bool first = true;
  window->setProgressObserver([&](int) {
    if (!std::exchange(first, false)) return;
    QMetaObject::invokeMethod(
        window.get(),
        [&] {
          failed = true;
          throw std::bad_alloc();
        },
        Qt::QueuedConnection);
    for (int waited = 0; !failed && waited < 10000; waited += 5) QThread::msleep(5);
    QThread::msleep(100);
  });
  encrypt(u"k"_s);
  EXPECT_EQ(text(), u"keep me"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_TRUE(prompts.told[0].text.contains(u"not enough memory"_s));

  window->setProgressObserver({});
  encrypt(u"k"_s);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), u"keep me"_s);
  EXPECT_EQ(prompts.told.size(), 1u);
}

TEST_F(MainWindowTest, AFailingCtrlZEndsInAMessageAndKeepsTheText) {
  setText(u"line\n"_s.repeated(200));
  setText(u"shown"_s);
  // Showing a text sets the scroll bar's range; a failure is injected there, once.
  bool failNext = true;
  const QObject injection;  // ends the injection with this test's variables
  QObject::connect(window->textEdit()->verticalScrollBar(), &QScrollBar::rangeChanged, &injection,
                   [&] {
                     if (std::exchange(failNext, false)) throw std::bad_alloc();
                   });
  pressCtrl(Qt::Key_Z);
  EXPECT_EQ(text(), u"shown"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_TRUE(prompts.told[0].text.contains(u"not enough memory"_s));
  pressCtrl(Qt::Key_Z);
  EXPECT_EQ(text(), u"line\n"_s.repeated(200));
}

TEST_F(MainWindowTest, CancelEscAndTheCloseBoxStopAnOperationAndLeaveTheText) {
  const std::function<void(QProgressDialog*)> ways[] = {
      [](QProgressDialog* dialog) {
        QPushButton* cancel = dialog->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), u"Cancel"_s);
        QTest::mouseClick(cancel, Qt::LeftButton);
      },
      [](QProgressDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
      [](QProgressDialog* dialog) { dialog->close(); },
  };
  window->show();
  setText(u"as it was"_s);
  for (const auto& stopBy : ways) {
    // The worker waits until the dialog is shown and stopped, then goes on long enough for a
    // dialog that came back to be seen.
    std::atomic<bool> stopped = false;
    bool shownAfterStop = false;
    window->setProgressObserver([&](int) {
      for (int waited = 0; !stopped && waited < 10000; waited += 5) QThread::msleep(5);
      QThread::msleep(400);
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* dialog = window->findChild<QProgressDialog*>();
      if (dialog == nullptr || !dialog->isVisible()) return;
      if (stopped) {
        shownAfterStop = true;
        return;
      }
      EXPECT_EQ(dialog->labelText(), u"Encrypting..."_s);
      stopBy(dialog);
      stopped = true;
    });
    watch.start(10);
    encrypt(u"k"_s);
    watch.stop();
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(shownAfterStop);
    EXPECT_EQ(text(), u"as it was"_s);
    EXPECT_TRUE(prompts.told.empty());
    EXPECT_TRUE(window->encryptButton()->isEnabled());
    EXPECT_FALSE(window->textEdit()->isReadOnly());
  }

  window->setProgressObserver({});
  encrypt(u"k"_s);
  EXPECT_NE(text(), u"as it was"_s);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), u"as it was"_s);
}

TEST_F(MainWindowTest, AVeryLongTextLetsGoOfItsDocumentWhileReplacedYetComesBackWhole) {
  // Over a million characters, so the text is kept compactly while its replacement is made.
  QString letter;
  for (int line = 0; letter.size() < (1 << 20) * 9 / 8; ++line) {
    letter += u"Line %1: 5 \u20ac for the \u00e9glise"_s.arg(line);
    letter += line % 3 != 0 ? u"\r\n"_s : u"\n"_s;
  }
  setText(u"earlier"_s);
  setText(letter);
  window->show();

  // The worker fails once the box has been seen empty, showing what is being done; bringing
  // the text back then works.
  std::atomic<bool> looked = false;
  bool failed = false;
  window->setProgressObserver([&](int) {
    if (failed) return;
    for (int waited = 0; !looked && waited < 10000; waited += 5) QThread::msleep(5);
    failed = true;
    throw std::runtime_error("stopped here");
  });
  bool standIn = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (looked || !window->textEdit()->isReadOnly() || !window->textEdit()->document()->isEmpty()) {
      return;
    }
    standIn = window->textEdit()->placeholderText() == u"Encrypting..."_s;
    looked = true;
  });
  watch.start(5);
  encrypt(u"k"_s);
  watch.stop();
  EXPECT_TRUE(standIn);
  EXPECT_EQ(text(), letter);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_TRUE(prompts.told[0].text.contains(u"stopped here"_s));
  EXPECT_TRUE(window->textEdit()->placeholderText().isEmpty());
  expectUndoAndRedo(u"earlier"_s, letter);  // the step before is still there

  window->setProgressObserver({});
  encrypt(u"k"_s);
  const QString hex = text();
  ASSERT_GT(hex.size(), 2 * (1 << 20));
  expectUndoAndRedo(letter, hex);

  decrypt(u"wrong"_s);
  EXPECT_EQ(text(), hex);
  EXPECT_EQ(prompts.told.size(), 2u);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), letter);
  expectUndoAndRedo(hex, letter);

  // Save reads the text in slices too.
  click(window->saveButton());
  QFile saved(cryptFile(1));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), toCodePage(letter).bytes + "\r\n");
}

TEST_F(MainWindowTest, AnEncryptedEmptyTextDecryptsToAnEmptyWindow) {
  setText(u""_s);
  encrypt(u"k"_s);
  EXPECT_EQ(text().size(), 64);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), u""_s);
  EXPECT_TRUE(prompts.told.empty());
}

TEST_F(MainWindowTest, NamesACharacterTheCodePageCannotHoldAndChangesNothing) {
  setText(u"price 5 \u5143"_s);
  encrypt(u"k"_s);
  EXPECT_EQ(text(), u"price 5 \u5143"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_TRUE(prompts.told[0].text.contains(u"\u5143"_s));
  EXPECT_TRUE(prompts.told[0].text.contains(u"U+5143"_s));

  setText(u"plain"_s);
  encrypt(u"\u043a\u043b\u044e\u0447"_s);
  EXPECT_EQ(text(), u"plain"_s);
  EXPECT_TRUE(
      prompts.told[1].text.contains(u"key holds the character \u201c\u043a\u201d (U+043A)"_s))
      << prompts.told[1].text.toStdString();

  setText(u"snow \u2603"_s);
  click(window->saveButton());
  EXPECT_FALSE(QFile::exists(cryptFile(1)));
  EXPECT_TRUE(prompts.told[2].text.contains(u"U+2603"_s));
}

TEST_F(MainWindowTest, SavesNumberedFilesAndSaysWhereAndOpensThemAgain) {
  EXPECT_EQ(window->cryptFolder(), temp.filePath(u"bin/The Crypt"_s));
  setText(u"secret"_s);
  encrypt(u"k"_s);
  const QString hex = text();
  click(window->saveButton());
  click(window->saveButton());

  QFile saved(cryptFile(1));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), hex.toLatin1() + "\r\n");
  EXPECT_TRUE(QFile::exists(cryptFile(2)));
  ASSERT_EQ(prompts.told.size(), 2u);
  EXPECT_EQ(prompts.told[0].text,
            u"File is saved to ...\n"_s + QDir::toNativeSeparators(cryptFile(1)));
  EXPECT_EQ(prompts.told[0].icon, Icon::Information);
  EXPECT_EQ(prompts.told[0].title, u"Quistel"_s);

  window->clearButton()->click();
  EXPECT_EQ(text(), u""_s);
  prompts.files = {cryptFile(1)};
  click(window->openButton());
  EXPECT_EQ(text(), hex);
  ASSERT_EQ(prompts.opened.size(), 1u);
  EXPECT_EQ(prompts.opened[0].title, u"Open Encrypted File"_s);
  EXPECT_EQ(prompts.opened[0].folder, window->cryptFolder());
  EXPECT_EQ(prompts.opened[0].filter,
            u"Text Files(*.txt)|*.txt|Rich Text Files(*.rtf)|*.rtf|All Files(*.*)|*.*|"_s);
  decrypt(u"k"_s);
  EXPECT_EQ(text(), u"secret"_s);
}

TEST_F(MainWindowTest, AFailedSaveIsNeverReportedAsSaved) {
  QDir(window->cryptFolder()).removeRecursively();
  QFile blocker(window->cryptFolder());  // a file where the folder should be
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  setText(u"text"_s);
  click(window->saveButton());
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::Warning);
  EXPECT_FALSE(prompts.told[0].text.startsWith(u"File is saved"_s));
  EXPECT_EQ(text(), u"text"_s);
}

TEST_F(MainWindowTest, CancellingOrFailingToOpenLeavesTheTextAlone) {
  setText(u"ends with a break\r\n"_s);
  prompts.files = {std::nullopt, temp.filePath(u"missing.txt"_s)};
  click(window->openCryptButton());
  EXPECT_EQ(text(), u"ends with a break\r\n"_s);
  EXPECT_EQ(prompts.opened[0].title, u"Manage Encrypted Files"_s);
  EXPECT_TRUE(prompts.told.empty());

  click(window->openButton());
  EXPECT_EQ(text(), u"ends with a break\r\n"_s);
  ASSERT_EQ(prompts.told.size(), 1u);
  EXPECT_EQ(prompts.told[0].icon, Icon::Warning);
  EXPECT_TRUE(prompts.told[0].text.contains(u"missing.txt"_s));

#ifdef Q_OS_UNIX
  // A pipe that nobody writes to is refused at once; the window is free again and unchanged.
  const QString pipe = temp.filePath(u"pipe.txt"_s);
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  prompts.files = {pipe};
  click(window->openButton());
  ASSERT_EQ(prompts.told.size(), 2u);
  EXPECT_TRUE(prompts.told[1].text.contains(pipe)) << prompts.told[1].text.toStdString();
  EXPECT_EQ(text(), u"ends with a break\r\n"_s);
  EXPECT_TRUE(window->openButton()->isEnabled());
  EXPECT_FALSE(window->textEdit()->isReadOnly());
#endif
}

}  // namespace
}  // namespace quistel
