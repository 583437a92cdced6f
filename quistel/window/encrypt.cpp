#include "window/encrypt.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>

#include "window/code_page.h"
#include "window/long_line_text_edit.h"
#include "window/prompts.h"
#include "window/text_crypt.h"
#include "window/window_icon.h"

namespace quistel {
namespace {

using Icon = Prompts::Icon;

const QString kTitle = QStringLiteral("Quistel");
const QString kOpenFilter =
    QStringLiteral("Text Files(*.txt)|*.txt|Rich Text Files(*.rtf)|*.rtf|All Files(*.*)|*.*|");

// A place in twips (1/1440 inch), the unit the window's layout is written in.
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

// A colour written as 0x00BBGGRR.
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

// Runs a step with the busy cursor showing.
template <typename Step>
auto WithBusyCursor(Step step) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct Restore {
    ~Restore() { QApplication::restoreOverrideCursor(); }
  } restore;
  return step();
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

  connect(cmdEncrypt, &QPushButton::clicked, this, &Encrypt::cmdEncryptClick);
  connect(cmdDecrypt, &QPushButton::clicked, this, &Encrypt::cmdDecryptClick);
  connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
  connect(cmdSave, &QPushButton::clicked, this, &Encrypt::cmdSaveClick);
  connect(cmdOpen, &QPushButton::clicked, this,
          [this] { openClick(QStringLiteral("Open Encrypted File")); });
  connect(OpenCrypt, &QPushButton::clicked, this,
          [this] { openClick(QStringLiteral("Manage Encrypted Files")); });
  connect(Clear, &QPushButton::clicked, Text1, &LongLineTextEdit::clearText);

  if (const QScreen* screen = this->screen()) {
    QRect placed = rect();
    placed.moveCenter(screen->availableGeometry().center());
    move(placed.topLeft());
  }

  cryptFolder_ = LocateCryptFolder(places);
}

void Encrypt::cmdEncryptClick() {
  const QString text = Text1->text();
  replaceUnderKey({QStringLiteral("Encrypt"), QStringLiteral("Type your key in."),
                   QStringLiteral("The text is too long to encrypt. Nothing was changed."),
                   QStringLiteral("Nothing was encrypted.")},
                  [&](const QString& key) {
                    CryptResult result = EncryptText(text, key);
                    if (result.ok()) result.text = TextToHex(result.text);
                    return result;
                  });
}

void Encrypt::cmdDecryptClick() {
  const QString hex = Text1->text().trimmed();
  replaceUnderKey(
      {QStringLiteral("Decrypt"), QStringLiteral("Type the key again."),
       QStringLiteral("The key is wrong or the text is damaged. The text was left as it was."),
       QStringLiteral("No text was encrypted with it.")},
      [&](const QString& key) { return DecryptText(HexToText(hex), key); });
}

void Encrypt::replaceUnderKey(const KeyedStep& step,
                              const std::function<CryptResult(const QString&)>& crypt) {
  const auto key = prompts_.InputBox(QStringLiteral("Key"), step.title, step.prefilled);
  if (!key) return;
  const CryptResult result = WithBusyCursor([&] {
    const CryptResult crypted = crypt(*key);
    if (crypted.ok()) Text1->setText(crypted.text);
    return crypted;
  });
  if (result.failure == CryptResult::Failure::kNoResult) {
    warn(step.noResult);
  } else if (!result.ok()) {
    warn(CodePageMessage(result, step.notInCodePage));
  }
}

void Encrypt::cmdSaveClick() {
  const SaveResult saved = WithBusyCursor([&]() -> SaveResult {
    CodePageBytes content = ToCodePage(Text1->text());
    if (content.unrepresentable) {
      return {
          {},
          CodePageMessage({CryptResult::Failure::kTextNotInCodePage, {}, *content.unrepresentable},
                          QStringLiteral("Nothing was saved."))};
    }
    content.bytes += "\r\n";
    return SaveToCrypt(cryptFolder_, content.bytes);
  });
  if (!saved.ok()) return warn(saved.error);
  prompts_.MessageBox(
      QStringLiteral("File is saved to ...\n") + QDir::toNativeSeparators(saved.path),
      Icon::kInformation, kTitle);
}

void Encrypt::openClick(const QString& title) {
  const auto path = prompts_.ShowOpen({title, kOpenFilter, cryptFolder_});
  if (!path) return;
  const ReadResult read = WithBusyCursor([&] {
    ReadResult file = ReadCryptFile(*path);
    if (file.text) Text1->setText(*file.text);
    return file;
  });
  if (!read.text) warn(read.error);
}

void Encrypt::warn(const QString& text) { prompts_.MessageBox(text, Icon::kWarning, kTitle); }

}  // namespace quistel
