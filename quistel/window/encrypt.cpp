#include "window/encrypt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>

#include "window/code_page.h"
#include "window/long_line_text_edit.h"
#include "window/prompts.h"
#include "window/text_crypt.h"
#include "window/window_icon.h"
#include "window/wipe.h"

namespace quistel {
namespace {

using Icon = Prompts::Icon;

const QString kTitle = QStringLiteral("Quistel");
const QString kOpenFilter =
    QStringLiteral("Text Files(*.txt)|*.txt|Rich Text Files(*.rtf)|*.rtf|All Files(*.*)|*.*|");

const QString kNotEncrypted = QStringLiteral(
    "This is not an encrypted text. An encrypted text is hexadecimal digits (0-9, A-F), an even "
    "number of them. The text was left as it was.");

// Progress of Encrypt and Decrypt, in percent, at the end of their longer stages.
constexpr int kHexDone = 30;
constexpr int kCipherDone = 60;
constexpr int kResultReady = 80;
constexpr int kShowProgressAfterMs = 1000;
constexpr int kProgressPollMs = 100;

// A place in twips (1/1440 inch): positions and sizes are kept in a unit that does not depend
// on the screen, and scaled to its resolution.
struct Twips {
  int left;
  int top;
  int width;
  int height;
};

int ToPixels(int twips, qreal dotsPerInch) { return qRound(twips * dotsPerInch / 1440.0); }

QRect ToPixels(const Twips& place, const QPaintDevice& device) {
  const qreal x = device.logicalDpiX();
  const qreal y = device.logicalDpiY();
  return {ToPixels(place.left, x), ToPixels(place.top, y), ToPixels(place.width, x),
          ToPixels(place.height, y)};
}

// A colour written 0x00BBGGRR: blue in the high byte, red in the low one.
QColor FromBgr(quint32 bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void SetColour(QWidget* widget, QPalette::ColorRole role, quint32 bgr) {
  QPalette palette = widget->palette();
  palette.setColor(role, FromBgr(bgr));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QPushButton* AddButton(QWidget* window, const QString& caption, const QString& toolTip,
                       const Twips& place) {
  auto* button = new QPushButton(caption, window);
  button->setToolTip(toolTip);
  button->setGeometry(ToPixels(place, *window));
  return button;
}

// "“€” (U+20AC)": the character and its code, which tells even an invisible one apart.
QString Describe(const QString& character) {
  const QList<uint> codes = character.toUcs4();
  const uint code = codes.isEmpty() ? 0 : codes.constFirst();
  return QStringLiteral("\u201c%1\u201d (U+%2)")
      .arg(character, QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}

QString CodePageMessage(const CryptResult& result, const QString& consequence) {
  const QString what = result.failure == CryptResult::Failure::kKeyNotInCodePage
                           ? QStringLiteral("key")
                           : QStringLiteral("text");
  return QStringLiteral("The %1 holds the character %2, which the code page cannot hold. %3")
      .arg(what, Describe(result.character), consequence);
}

}  // namespace

Encrypt::Encrypt(Prompts& prompts, const CryptPlaces& places, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
  setWindowTitle(kTitle);
  setWindowIcon(WindowIcon());
  const QRect client = ToPixels({0, 0, 10950, 7515}, *this);
  setFixedSize(client.size());
  SetColour(this, QPalette::Window, 0x00FF8080);

  Text1 = new LongLineTextEdit(this);
  Text1->setGeometry(ToPixels({100, 240, 10695, 6120}, *this));
  Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text1->setTabChangesFocus(true);
  SetColour(Text1->viewport(), QPalette::Base, 0x00FFFFFF);

  cmdEncrypt = AddButton(this, QStringLiteral("&Encrypt"), QStringLiteral("encrypt text"),
                         {960, 6480, 1000, 400});
  cmdDecrypt = AddButton(this, QStringLiteral("&Decrypt"), QStringLiteral("decrypt text"),
                         {3000, 6480, 1000, 400});
  cmdExit =
      AddButton(this, QStringLiteral("&Close"), QStringLiteral("Exit"), {8760, 6960, 1000, 400});
  SetColour(cmdExit, QPalette::Button, 0x00C0C0C0);
  cmdSave = AddButton(this, QStringLiteral("&Save"), QStringLiteral("save to a file"),
                      {3000, 6960, 1000, 400});
  cmdOpen = AddButton(this, QStringLiteral("&Open"), QStringLiteral("open encrypted file"),
                      {960, 6960, 1000, 400});
  Clear = AddButton(this, QStringLiteral("Clear"), QString(), {8760, 6480, 1000, 400});
  OpenCrypt = AddButton(this, QStringLiteral("Open The Crypt"), QString(), {5400, 6720, 1935, 495});

  QWidget* tabOrder[] = {Text1,   cmdEncrypt, cmdDecrypt, cmdExit,
                         cmdSave, cmdOpen,    Clear,      OpenCrypt};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  Text1->setFocus();

  const auto onClick = [this](QPushButton* button, std::function<void()> handler) {
    connect(button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { guarded(handler); });
  };
  onClick(cmdEncrypt, [this] { cmdEncryptClick(); });
  onClick(cmdDecrypt, [this] { cmdDecryptClick(); });
  connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
  onClick(cmdSave, [this] { cmdSaveClick(); });
  onClick(cmdOpen, [this] { openClick(QStringLiteral("Open Encrypted File")); });
  onClick(OpenCrypt, [this] { openClick(QStringLiteral("Manage Encrypted Files")); });
  onClick(Clear, [this] { Text1->replaceText(QString()); });

  if (const QScreen* screen = this->screen()) {
    QRect placed = rect();
    placed.moveCenter(screen->availableGeometry().center());
    move(placed.topLeft());
  }

  cryptFolder_ = LocateCryptFolder(places);
}

void Encrypt::cmdEncryptClick() {
  const QString text = Text1->text();
  replaceUnderKey(
      {QStringLiteral("Encrypt"), QStringLiteral("Type your key in."),
       QStringLiteral("Encrypting...")},
      [&](const QString& key, const ProgressReport& progress) -> StepOutcome {
        const CryptResult result = EncryptText(text, key);
        if (result.failure == CryptResult::Failure::kNoResult) {
          return {std::nullopt,
                  QStringLiteral("The text is too long to encrypt. Nothing was changed.")};
        }
        if (!result.ok())
          return {std::nullopt, CodePageMessage(result, QStringLiteral("Nothing was encrypted."))};
        progress(kCipherDone);
        return {TextToHex(result.cipher), {}};
      });
}

void Encrypt::cmdDecryptClick() {
  const QString hex = Text1->text();
  replaceUnderKey(
      {QStringLiteral("Decrypt"), QStringLiteral("Type the key again."),
       QStringLiteral("Decrypting...")},
      [&](const QString& key, const ProgressReport& progress) -> StepOutcome {
        const std::optional<QByteArray> cipher = HexToText(hex);
        if (!cipher || cipher->isEmpty()) return {std::nullopt, kNotEncrypted};
        progress(kHexDone);
        CryptResult result = DecryptText(*cipher, key);
        if (result.failure == CryptResult::Failure::kNoResult) {
          return {std::nullopt, QStringLiteral("The key is wrong or the text is damaged. "
                                               "The text was left as it was.")};
        }
        if (!result.ok()) {
          return {std::nullopt,
                  CodePageMessage(result, QStringLiteral("No text was encrypted with it."))};
        }
        return {std::move(result.text), {}};
      });
}

void Encrypt::replaceUnderKey(const KeyedStep& keyed, const Step& step) {
  std::optional<QString> key =
      prompts_.InputBox(QStringLiteral("Key"), keyed.title, keyed.prefilled);
  if (!key) return;
  struct WipeKey {
    QString& key;
    ~WipeKey() { Wipe(key); }
  } wipeKey{*key};
  // The worker also builds the document to show, so that even that leaves the window free.
  QThread* const windowThread = thread();
  std::unique_ptr<QTextDocument> document;
  QString message;
  runBusy(keyed.working, [&](const ProgressReport& progress) {
    StepOutcome outcome = step(*key, progress);
    if (!outcome.text) {
      message = outcome.message;
      return;
    }
    progress(kResultReady);
    document = LongLineTextEdit::MakeDocument(*outcome.text, windowThread);
  });
  if (!document) return warn(message);
  Text1->replaceDocument(std::move(document));
}

void Encrypt::runBusy(const QString& label,
                      const std::function<void(const ProgressReport&)>& work) {
  std::atomic<int> percentDone = 0;
  const ProgressReport report = [&](int percent) {
    percentDone = percent;
    if (onProgress) onProgress(percent);
  };
  std::exception_ptr failure;
  const std::unique_ptr<QThread> worker(QThread::create([&] {
    try {
      report(0);
      work(report);
    } catch (...) {
      failure = std::current_exception();
    }
  }));

  // Nothing but the progress takes input until the work is done: no button, no typing, no close.
  const QList<QPushButton*> buttons = findChildren<QPushButton*>();
  for (QPushButton* button : buttons) button->setEnabled(false);
  Text1->setReadOnly(true);
  busy_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct Restore {
    Encrypt& window;
    const QList<QPushButton*>& buttons;
    ~Restore() {
      QApplication::restoreOverrideCursor();
      window.busy_ = false;
      window.Text1->setReadOnly(false);
      for (QPushButton* button : buttons) button->setEnabled(true);
    }
  } restore{*this, buttons};

  QProgressDialog progress(label, QString(), 0, 100, this);
  progress.setWindowTitle(kTitle);
  progress.setMinimumDuration(kShowProgressAfterMs);
  progress.setValue(0);
  QTimer poll;
  connect(&poll, &QTimer::timeout, &progress, [&] { progress.setValue(percentDone); });
  poll.start(kProgressPollMs);
  QEventLoop loop;
  connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec();
  worker->wait();

  if (failure) std::rethrow_exception(failure);
}

void Encrypt::closeEvent(QCloseEvent* event) {
  if (busy_) return event->ignore();  // the running operation still needs the window
  QWidget::closeEvent(event);
}

void Encrypt::guarded(const std::function<void()>& handler) {
  QString message;
  try {
    handler();
    return;
  } catch (const std::bad_alloc&) {
    message = QStringLiteral("There is not enough memory for this. The text was left as it was.");
  } catch (const std::exception& error) {
    message = QStringLiteral("This failed: %1. The text was left as it was.")
                  .arg(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    message = QStringLiteral("This failed. The text was left as it was.");
  }
  try {
    warn(message);
  } catch (...) {  // without memory for a message box there is nothing left to tell with
  }
}

void Encrypt::cmdSaveClick() {
  const QString text = Text1->text();
  SaveResult saved;
  runBusy(QStringLiteral("Saving..."), [&](const ProgressReport&) {
    CodePageBytes content = ToCodePage(text);
    if (content.unrepresentable) {
      saved.error = CodePageMessage(
          {CryptResult::Failure::kTextNotInCodePage, {}, {}, *content.unrepresentable},
          QStringLiteral("Nothing was saved."));
      return;
    }
    content.bytes += "\r\n";
    saved = SaveToCrypt(cryptFolder_, content.bytes);
  });
  if (!saved.ok()) return warn(saved.error);
  prompts_.MessageBox(
      QStringLiteral("File is saved to ...\n") + QDir::toNativeSeparators(saved.path),
      Icon::kInformation, kTitle);
}

void Encrypt::openClick(const QString& title) {
  const auto path = prompts_.ShowOpen({title, kOpenFilter, cryptFolder_});
  if (!path) return;
  QThread* const windowThread = thread();
  std::unique_ptr<QTextDocument> document;
  QString error;
  runBusy(QStringLiteral("Opening..."), [&](const ProgressReport&) {
    const ReadResult file = ReadCryptFile(*path);
    if (!file.text) {
      error = file.error;
      return;
    }
    document = LongLineTextEdit::MakeDocument(*file.text, windowThread);
  });
  if (!document) return warn(error);
  Text1->replaceDocument(std::move(document));
}

void Encrypt::warn(const QString& text) { prompts_.MessageBox(text, Icon::kWarning, kTitle); }

}  // namespace quistel
