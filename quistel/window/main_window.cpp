#include "window/main_window.h"

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

#include "fixed_layout.h"
#include "text/code_page.h"
#include "text/hex_codec.h"
#include "text/qt_secure_wipe.h"
#include "text/text_cipher.h"
#include "window/long_line_document.h"
#include "window/long_line_text_edit.h"
#include "window/prompts.h"
#include "window/window_icon.h"

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
struct Place {
  int left;
  int top;
  int width;
  int height;
};

QRect toPixels(const Place& place, const QPaintDevice& device) {
  return pq::Twips(device.logicalDpiY()).toPixels(place.left, place.top, place.width, place.height);
}

// A colour written 0x00BBGGRR.
void setColour(QWidget* widget, QPalette::ColorRole role, quint32 bgr) {
  QPalette palette = widget->palette();
  palette.setColor(role, pq::toQColor(bgr, palette));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QPushButton* addButton(QWidget* window, const QString& caption, const QString& toolTip,
                       const Place& place) {
  auto* button = new QPushButton(caption, window);
  button->setToolTip(toolTip);
  button->setAutoDefault(true);  // Return presses the focused button, as Space does
  button->setGeometry(toPixels(place, *window));
  return button;
}

// "“€” (U+20AC)": the character and its code, which tells even an invisible one apart.
QString describeCharacter(const QString& character) {
  const QList<uint> codes = character.toUcs4();
  const uint code = codes.isEmpty() ? 0 : codes.constFirst();
  return QStringLiteral("\u201c%1\u201d (U+%2)")
      .arg(character, QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}

QString codePageMessage(const CipherResult& result, const QString& consequence) {
  const QString what = result.failure == CipherResult::Failure::KeyNotInCodePage
                           ? QStringLiteral("key")
                           : QStringLiteral("text");
  return QStringLiteral("The %1 holds the character %2, which the code page cannot hold. %3")
      .arg(what, describeCharacter(result.character), consequence);
}

// Why a cipher step gave no text: `noResult` when the cipher gave nothing, else the code page's
// refusal and `refused`.
QString failureMessage(const CipherResult& result, const QString& noResult,
                       const QString& refused) {
  return result.failure == CipherResult::Failure::NoResult ? noResult
                                                           : codePageMessage(result, refused);
}

StepOutcome encryptStep(const QString& text, const QString& key, const ProgressReport& progress) {
  const CipherResult result = encryptText(text, key);
  if (!result.ok()) {
    return {std::nullopt,
            failureMessage(result,
                           QStringLiteral("The text is too long to encrypt. Nothing was changed."),
                           QStringLiteral("Nothing was encrypted."))};
  }
  progress(kCipherDone);
  return {bytesToHex(result.cipher), {}};
}

StepOutcome decryptStep(const QString& hex, const QString& key, const ProgressReport& progress) {
  const std::optional<QByteArray> cipher = hexToBytes(hex);
  if (!cipher || cipher->isEmpty()) return {std::nullopt, kNotEncrypted};
  progress(kHexDone);
  CipherResult result = decryptText(*cipher, key);
  if (result.failure == CipherResult::Failure::NotCodePageText) {
    return {std::nullopt, QStringLiteral("The decrypted text holds bytes that the code page cannot "
                                         "read. The text was left as it was.")};
  }
  if (!result.ok()) {
    return {std::nullopt, failureMessage(result,
                                         QStringLiteral("The key is wrong or the text is damaged. "
                                                        "The text was left as it was."),
                                         QStringLiteral("No text was encrypted with it."))};
  }
  return {std::move(result.text), {}};
}

}  // namespace

MainWindow::MainWindow(Prompts& prompts, const CryptPlaces& places, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
  setWindowTitle(kTitle);
  setWindowIcon(padlockIcon());
  const QRect client = toPixels({0, 0, 10950, 7515}, *this);
  setFixedSize(client.size());
  setColour(this, QPalette::Window, 0x00FF8080);

  textEdit_ = new LongLineTextEdit(this);
  textEdit_->setGeometry(toPixels({100, 240, 10695, 6120}, *this));
  textEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textEdit_->setTabChangesFocus(true);
  setColour(textEdit_->viewport(), QPalette::Base, 0x00FFFFFF);

  encryptButton_ = addButton(this, QStringLiteral("&Encrypt"), QStringLiteral("encrypt text"),
                             {960, 6480, 1000, 400});
  decryptButton_ = addButton(this, QStringLiteral("&Decrypt"), QStringLiteral("decrypt text"),
                             {3000, 6480, 1000, 400});
  closeButton_ =
      addButton(this, QStringLiteral("&Close"), QStringLiteral("Exit"), {8760, 6960, 1000, 400});
  setColour(closeButton_, QPalette::Button, 0x00C0C0C0);
  saveButton_ = addButton(this, QStringLiteral("&Save"), QStringLiteral("save to a file"),
                          {3000, 6960, 1000, 400});
  openButton_ = addButton(this, QStringLiteral("&Open"), QStringLiteral("open encrypted file"),
                          {960, 6960, 1000, 400});
  clearButton_ = addButton(this, QStringLiteral("Clear"), QString(), {8760, 6480, 1000, 400});
  openCryptButton_ =
      addButton(this, QStringLiteral("Open The Crypt"), QString(), {5400, 6720, 1935, 495});

  QWidget* tabOrder[] = {textEdit_,   encryptButton_, decryptButton_, closeButton_,
                         saveButton_, openButton_,    clearButton_,   openCryptButton_};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  textEdit_->setFocus();

  const auto onClick = [this](QPushButton* button, std::function<void()> handler) {
    connect(button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { guarded(handler); });
  };
  onClick(encryptButton_, [this] { encryptClicked(); });
  onClick(decryptButton_, [this] { decryptClicked(); });
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
  onClick(saveButton_, [this] { saveClicked(); });
  onClick(openButton_, [this] { openClicked(QStringLiteral("Open Encrypted File")); });
  onClick(openCryptButton_, [this] { openClicked(QStringLiteral("Manage Encrypted Files")); });
  onClick(clearButton_, [this] { textEdit_->replaceText(QString()); });

  if (const QScreen* screen = this->screen()) {
    QRect placed = rect();
    placed.moveCenter(screen->availableGeometry().center());
    move(placed.topLeft());
  }

  cryptFolder_ = locateCryptFolder(places);
}

void MainWindow::encryptClicked() {
  replaceUnderKey({QStringLiteral("Encrypt"), QStringLiteral("Type your key in."),
                   QStringLiteral("Encrypting..."), &encryptStep});
}

void MainWindow::decryptClicked() {
  replaceUnderKey({QStringLiteral("Decrypt"), QStringLiteral("Type the key again."),
                   QStringLiteral("Decrypting..."), &decryptStep});
}

void MainWindow::replaceUnderKey(const KeyedStep& keyed) {
  const QString text = textEdit_->text();
  std::optional<QString> key =
      prompts_.askText(QStringLiteral("Key"), keyed.title, keyed.prefilled);
  if (!key) return;
  struct WipeKey {
    QString& key;
    ~WipeKey() { secureWipe(key); }
  } wipeKey{*key};
  // The worker also builds the document to show, so that even that leaves the window free.
  QThread* const windowThread = thread();
  std::unique_ptr<QTextDocument> document;
  QString message;
  runBusy(keyed.working, [&](const ProgressReport& progress) {
    StepOutcome outcome = keyed.step(text, *key, progress);
    if (!outcome.text) {
      message = outcome.message;
      return;
    }
    progress(kResultReady);
    document = makeLongLineDocument(*outcome.text, windowThread);
  });
  if (!document) return warn(message);
  textEdit_->replaceDocument(std::move(document));
}

void MainWindow::runBusy(const QString& label,
                         const std::function<void(const ProgressReport&)>& work) {
  std::atomic<int> percentDone = 0;
  const ProgressReport report = [&](int percent) {
    percentDone = percent;
    if (progressObserver_) progressObserver_(percent);
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
  textEdit_->setReadOnly(true);
  busy_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct Restore {
    MainWindow& window;
    const QList<QPushButton*>& buttons;
    ~Restore() {
      QApplication::restoreOverrideCursor();
      window.busy_ = false;
      window.textEdit_->setReadOnly(false);
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

void MainWindow::closeEvent(QCloseEvent* event) {
  if (busy_) return event->ignore();  // the running operation still needs the window
  QWidget::closeEvent(event);
}

void MainWindow::guarded(const std::function<void()>& handler) {
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

void MainWindow::saveClicked() {
  const QString text = textEdit_->text();
  SaveResult saved;
  runBusy(QStringLiteral("Saving..."), [&](const ProgressReport&) {
    CodePageBytes content = toCodePage(text);
    const WipeAtScopeEnd wipeContent(content.bytes);  // the text may be a plain one
    if (content.unrepresentable) {
      saved.error = codePageMessage(
          {CipherResult::Failure::TextNotInCodePage, {}, {}, *content.unrepresentable},
          QStringLiteral("Nothing was saved."));
      return;
    }
    QByteArray file;
    file.reserve(content.bytes.size() + 2);  // no copy left behind by growing
    file.append(content.bytes.constData(), content.bytes.size()).append("\r\n");
    const WipeAtScopeEnd wipeFile(file);
    saved = saveToCrypt(cryptFolder_, file);
  });
  if (!saved.ok()) return warn(saved.error);
  prompts_.showMessage(
      QStringLiteral("File is saved to ...\n") + QDir::toNativeSeparators(saved.path),
      Icon::Information, kTitle);
}

void MainWindow::openClicked(const QString& title) {
  const auto path = prompts_.chooseFileToOpen({title, kOpenFilter, cryptFolder_});
  if (!path) return;
  QThread* const windowThread = thread();
  std::unique_ptr<QTextDocument> document;
  QString error;
  runBusy(QStringLiteral("Opening..."), [&](const ProgressReport&) {
    const ReadResult file = readCryptFile(*path);
    if (!file.text) {
      error = file.error;
      return;
    }
    document = makeLongLineDocument(*file.text, windowThread);
  });
  if (!document) return warn(error);
  textEdit_->replaceDocument(std::move(document));
}

void MainWindow::warn(const QString& text) { prompts_.showMessage(text, Icon::Warning, kTitle); }

}  // namespace quistel
