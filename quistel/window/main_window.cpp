#include "window/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <algorithm>
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

// Progress of Encrypt and Decrypt, in percent, at the end of their longer stages; making the
// document takes the rest.
constexpr int kTextRead = 20;
constexpr int kHexDone = 30;
constexpr int kCipherDone = 60;
// Progress of Save once the text is read; writing it takes the rest.
constexpr int kSaveRead = 90;
constexpr int kShowProgressAfterMs = 1000;
constexpr int kProgressPollMs = 100;
// Characters of the text read on the window's thread between two of its events.
constexpr qsizetype kReadSliceLength = 1 << 20;
// From this many characters on, Encrypt and Decrypt keep the text they replace as a compact
// copy, for undo, and let go of its document before they make the new one: the two documents of
// a text of a hundred megabytes would fill a gigabyte. A shorter text keeps its document, and
// with it the steps of its typing.
constexpr qsizetype kCompactFrom = 1 << 20;

// Ends an operation whose progress dialog was cancelled, at the next report of its progress.
struct OperationStopped {};

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

// Progress from `from` to 100 percent while a document of `total` characters is made.
FillReport documentProgress(const ProgressReport& progress, int from, qsizetype total) {
  return [&progress, from, total](qsizetype inserted) {
    progress(from + static_cast<int>((100 - from) * std::min(inserted, total) /
                                     std::max<qsizetype>(total, 1)));
  };
}

}  // namespace

// The text of an operation, read a slice at a time on the window's thread.
class TextReader {
 public:
  virtual ~TextReader() = default;
  // Takes the next slice; false when the rest cannot change the outcome.
  virtual bool add(QStringView slice) = 0;
  // Once all is read: the text in far less memory than the document showing it, or nothing.
  virtual std::unique_ptr<CompactText> compactCopy() const = 0;
};

namespace {

// Plain text read a slice at a time, turned into code-page bytes as it comes.
class CodePageReader final : public TextReader {
 public:
  // Room for two bytes a character, a line break or a double-byte character, so that the bytes
  // never move: a move would leave a copy behind that nobody wipes. Untouched room costs nothing.
  explicit CodePageReader(qsizetype length) { bytes_.reserve(2 * length + 2); }
  ~CodePageReader() override { secureWipe(bytes_); }
  CodePageReader(const CodePageReader&) = delete;
  CodePageReader& operator=(const CodePageReader&) = delete;

  bool add(QStringView slice) override {
    CodePageBytes converted = CodePage::ansi().encode(slice);
    const WipeAtScopeEnd wipe(converted.bytes);
    unrepresentable_ = std::move(converted.unrepresentable);
    if (unrepresentable_) return false;
    bytes_ += converted.bytes;
    return true;
  }

  std::unique_ptr<CompactText> compactCopy() const override {
    return codePageCopy(bytes_, CodePage::ansi());
  }

  const QByteArray& bytes() const { return bytes_; }
  // When the text holds a character the code page cannot hold, the message naming it.
  std::optional<QString> refusal(const QString& consequence) const {
    if (!unrepresentable_) return std::nullopt;
    return codePageMessage({CipherResult::Failure::TextNotInCodePage, {}, {}, *unrepresentable_},
                           consequence);
  }

 private:
  QByteArray bytes_;
  std::optional<QString> unrepresentable_;
};

StepOutcome encryptStep(const CodePageReader& text, const QString& key, QThread* owner,
                        const ProgressReport& progress) {
  if (std::optional<QString> refused = text.refusal(QStringLiteral("Nothing was encrypted."))) {
    return {nullptr, *refused};
  }
  const qsizetype hexLength =
      2 * static_cast<qsizetype>(framedLength(text.bytes().size()).value_or(0));
  CipherResult result;
  // The ciphertext goes into the document as it comes, never held whole.
  std::unique_ptr<QTextDocument> document = makeHexDocument(
      [&](const ByteSink& sink) {
        result = encryptCodePageBytes(text.bytes(), key, [&](ByteView piece) {
          sink(QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
        });
      },
      owner, documentProgress(progress, kTextRead, hexLength));
  if (!result.ok()) {
    return {nullptr,
            failureMessage(result,
                           QStringLiteral("The text is too long to encrypt. Nothing was changed."),
                           QStringLiteral("Nothing was encrypted."))};
  }
  return {std::move(document), {}};
}

StepOutcome decryptStep(std::optional<QByteArray> cipher, const QString& key, QThread* owner,
                        const ProgressReport& progress) {
  if (!cipher || cipher->isEmpty()) return {nullptr, kNotEncrypted};
  progress(kHexDone);
  const CipherResult result = decryptText(*cipher, key);
  cipher.reset();  // not held while the document is made
  if (result.failure == CipherResult::Failure::NotCodePageText) {
    return {nullptr, QStringLiteral("The decrypted text holds bytes that the code page cannot "
                                    "read. The text was left as it was.")};
  }
  if (!result.ok()) {
    return {nullptr, failureMessage(result,
                                    QStringLiteral("The key is wrong or the text is damaged. "
                                                   "The text was left as it was."),
                                    QStringLiteral("No text was encrypted with it."))};
  }
  progress(kCipherDone);
  return {makeLongLineDocument(result.text, owner,
                               documentProgress(progress, kCipherDone, result.text.size())),
          {}};
}

bool isHexDigit(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

// Hex text read a slice at a time, turned into bytes as it comes, so that the whole hex text is
// never held.
class HexReader final : public TextReader {
 public:
  explicit HexReader(qsizetype length) { bytes_->reserve(length / 2); }

  bool add(QStringView slice) override {
    if (!bytes_) return false;  // not hex
    pending_ += slice;
    // A digit whose partner is in the next slice waits for it.
    qsizetype digits = 0;
    qsizetype lastDigit = 0;
    for (qsizetype at = 0; at < pending_.size(); ++at) {
      if (isHexDigit(pending_[at])) {
        ++digits;
        lastDigit = at;
        canonical_ = canonical_ && !pending_[at].isLower();
      } else {
        canonical_ = false;
      }
    }
    const qsizetype cut = digits % 2 != 0 ? lastDigit : pending_.size();
    const std::optional<QByteArray> decoded = hexToBytes(QStringView(pending_).first(cut));
    if (!decoded) {
      bytes_.reset();
      return false;
    }
    *bytes_ += *decoded;
    pending_.remove(0, cut);
    return true;
  }

  // Upper-case digits alone are the bytes' hex text, which the bytes bring back.
  std::unique_ptr<CompactText> compactCopy() const override {
    if (!canonical_ || !bytes_ || !pending_.isEmpty()) return nullptr;
    return hexCopy(*bytes_);
  }

  // The bytes of all the slices, as hexToBytes() gives them for the whole text.
  std::optional<QByteArray> take() {
    if (!pending_.isEmpty()) return std::nullopt;  // an odd number of digits
    return std::move(bytes_);
  }

 private:
  std::optional<QByteArray> bytes_{std::in_place};
  QString pending_;
  bool canonical_ = true;
};

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
  // Undo and redo end in a message should they fail, like a button.
  textEdit_->setStepGuard([this](const std::function<void()>& step) { guarded(step); });
  // Undo and redo over a very large text make its document beside the window, like Encrypt.
  textEdit_->setCompactMaker([this](const CompactText& text) {
    std::unique_ptr<QTextDocument> document;
    QThread* const windowThread = thread();
    guarded([&] {
      runBusy(QStringLiteral("Restoring the text..."), [&](const ProgressReport& progress) {
        document = text.document(windowThread, documentProgress(progress, 0, text.length()));
      });
    });
    return document;
  });

  if (const QScreen* screen = this->screen()) {
    QRect placed = rect();
    placed.moveCenter(screen->availableGeometry().center());
    move(placed.topLeft());
  }

  cryptFolder_ = locateCryptFolder(places);
}

void MainWindow::encryptClicked() {
  CodePageReader text(textEdit_->document()->characterCount());
  replaceUnderKey({QStringLiteral("Encrypt"), QStringLiteral("Type your key in."),
                   QStringLiteral("Encrypting...")},
                  text, [&](const QString& key, QThread* owner, const ProgressReport& progress) {
                    return encryptStep(text, key, owner, progress);
                  });
}

void MainWindow::decryptClicked() {
  HexReader hex(textEdit_->document()->characterCount());
  replaceUnderKey({QStringLiteral("Decrypt"), QStringLiteral("Type the key again."),
                   QStringLiteral("Decrypting...")},
                  hex, [&](const QString& key, QThread* owner, const ProgressReport& progress) {
                    return decryptStep(hex.take(), key, owner, progress);
                  });
}

void MainWindow::replaceUnderKey(const KeyedStep& keyed, TextReader& reader,
                                 const MakeDocument& make) {
  std::optional<QString> key =
      prompts_.askText(QStringLiteral("Key"), keyed.title, keyed.prefilled);
  if (!key) return;
  struct WipeKey {
    QString& key;
    ~WipeKey() { secureWipe(key); }
  } wipeKey{*key};
  // The text is read a slice at a time between the window's events, and the worker also builds
  // the document to show, so that even a very large text leaves the window free.
  const int length = textEdit_->document()->characterCount();
  const ReadSlice readSlice = readInto(reader, kTextRead, [&] {
    if (length < kCompactFrom) return;
    if (std::unique_ptr<CompactText> copy = reader.compactCopy()) {
      textEdit_->setAside(std::move(copy), keyed.working);
    }
  });
  QThread* const windowThread = thread();
  StepOutcome outcome;
  try {
    runBusy(
        keyed.working,
        [&](const ProgressReport& progress) { outcome = make(*key, windowThread, progress); },
        readSlice);
    if (outcome.document) return textEdit_->replaceDocument(std::move(outcome.document));
  } catch (...) {
    textEdit_->restoreSetAside();
    throw;
  }
  textEdit_->restoreSetAside();
  warn(outcome.message);
}

MainWindow::ReadSlice MainWindow::readInto(TextReader& reader, int share,
                                           const std::function<void()>& allRead) {
  const QTextDocument& document = *textEdit_->document();
  return
      [&reader, share, allRead, unread = document.firstBlock(), length = document.characterCount(),
       slice = QString()](const std::function<void(int percent)>& progress) mutable {
        slice.truncate(0);  // keeps the buffer
        unread = appendLongLineText(unread, kReadSliceLength, slice);
        if (!reader.add(slice)) return false;  // the worker tells why
        if (unread.isValid()) {
          progress(static_cast<int>(qint64{share} * unread.position() / length));
          return true;
        }
        allRead();
        return false;
      };
}

void MainWindow::runBusy(const QString& label,
                         const std::function<void(const ProgressReport&)>& work,
                         const ReadSlice& readSlice) {
  std::atomic<int> percentDone = 0;
  std::atomic<bool> stopRequested = false;
  // The work reports its progress between its steps, and ends there when asked to stop.
  const ProgressReport report = [&](int percent) {
    percentDone = percent;
    if (progressObserver_) progressObserver_(percent);
    if (stopRequested) throw OperationStopped();
  };
  std::exception_ptr failure;
  const std::unique_ptr<QThread> worker(QThread::create([&] {
    try {
      report(percentDone);  // as far as the window's part came
      work(report);
    } catch (...) {
      failure = std::current_exception();
    }
  }));
  // However this function is left, even by an exception from an event handled below, the worker
  // has ended first: it works on this function's variables.
  struct EndWorker {
    QThread& worker;
    std::atomic<bool>& stopRequested;
    ~EndWorker() {
      stopRequested = true;
      worker.wait();
    }
  } endWorker{*worker, stopRequested};

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

  QProgressDialog progress(label, QStringLiteral("Cancel"), 0, 100, this);
  progress.setWindowTitle(kTitle);
  progress.setMinimumDuration(kShowProgressAfterMs);
  progress.setValue(0);
  QTimer poll;
  connect(&poll, &QTimer::timeout, &progress, [&] { progress.setValue(percentDone); });
  // Cancel, Esc and the close box. The dialog is gone for good: a new value would show it again.
  const auto stop = [&] {
    stopRequested = true;
    poll.stop();
  };
  connect(&progress, &QProgressDialog::canceled, &poll, stop);
  connect(&progress, &QDialog::rejected, &poll, stop);
  poll.start(kProgressPollMs);
  QEventLoop loop;
  connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  // The window's part first, a slice at a time between the window's events; then the worker.
  bool started = false;
  QTimer reading;
  connect(&reading, &QTimer::timeout, &loop, [&] {
    if (stopRequested) return loop.quit();
    if (readSlice && readSlice([&](int percent) { percentDone = percent; })) return;
    reading.stop();
    worker->start();
    started = true;
  });
  reading.start(0);
  loop.exec();
  reading.stop();
  worker->wait();

  if (failure) std::rethrow_exception(failure);
  if (!started) throw OperationStopped();  // cancelled before the worker's part
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
  } catch (const OperationStopped&) {
    return;  // the user's choice: nothing to tell
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
  CodePageReader content(textEdit_->document()->characterCount());
  SaveResult saved;
  runBusy(
      QStringLiteral("Saving..."),
      [&](const ProgressReport&) {
        if (std::optional<QString> refused =
                content.refusal(QStringLiteral("Nothing was saved."))) {
          saved.error = *refused;
          return;
        }
        content.add(u"\r\n");  // a saved text ends in a line break
        saved = saveToCrypt(cryptFolder_, content.bytes());
      },
      readInto(content, kSaveRead, [] {}));
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
