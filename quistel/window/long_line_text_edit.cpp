#include "window/long_line_text_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace quistel {
namespace {

// The text that stood before a block: a line break, or nothing for a row of a long line.
constexpr int kBreakBeforeProperty = QTextFormat::UserProperty + 1;

#ifdef Q_OS_WIN
constexpr char16_t kTypedLineBreak[] = u"\r\n";
#else
constexpr char16_t kTypedLineBreak[] = u"\n";
#endif

// Length of the line break at `at`: the characters the document turns into block breaks.
qsizetype LineBreakLength(QStringView text, qsizetype at) {
  switch (text[at].unicode()) {
    case u'\r':
      return at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
    case u'\n':
    case QChar::ParagraphSeparator:
    case 0xFDD0:  // what the document uses to open and close frames
    case 0xFDD1:
      return 1;
    default:
      return 0;
  }
}

// A quick first test for LineBreakLength: false for all characters that never break a line.
bool MayBreakLine(QChar c) {
  const char16_t u = c.unicode();
  return u <= u'\r' || u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1;
}

QTextBlockFormat BreakBefore(QStringView lineBreak) {
  QTextBlockFormat format;
  format.setProperty(kBreakBeforeProperty, lineBreak.toString());
  return format;
}

QString BreakBefore(const QTextBlock& block) {
  const QVariant mark = block.blockFormat().property(kBreakBeforeProperty);
  return mark.isValid() ? mark.toString() : QString::fromUtf16(kTypedLineBreak);
}

bool IsRow(const QTextBlock& block) {
  return block.isValid() && block.blockFormat().hasProperty(kBreakBeforeProperty) &&
         block.blockFormat().property(kBreakBeforeProperty).toString().isEmpty();
}

bool AtRowStart(const QTextCursor& cursor) {
  return cursor.atBlockStart() && IsRow(cursor.block());
}

bool AtRowEnd(const QTextCursor& cursor) {
  return cursor.atBlockEnd() && IsRow(cursor.block().next());
}

// Inserts a text at the cursor: each line break becomes a block that remembers it, each row of a
// long line a block marked as a row. Blocks with the same mark in a row go in with one
// insertText, their breaks as paragraph separators: the new blocks take the format of the block
// they split, and one call is far quicker than one per block.
class TextInserter {
 public:
  explicit TextInserter(QTextCursor& cursor) : cursor_(cursor) {}
  TextInserter(const TextInserter&) = delete;
  TextInserter& operator=(const TextInserter&) = delete;

  void Insert(QStringView text) {
    // One buffer for all runs: a run is at most the text and a separator per row.
    run_.reserve(text.size() + text.size() / LongLineTextEdit::kRowLength + 1);
    qsizetype lineStart = 0;
    for (qsizetype at = 0; at < text.size();) {
      const qsizetype breakLength = MayBreakLine(text[at]) ? LineBreakLength(text, at) : 0;
      if (breakLength == 0) {
        ++at;
        continue;
      }
      AddLine(text.sliced(lineStart, at - lineStart));
      nextMark_ = text.sliced(at, breakLength);
      at += breakLength;
      lineStart = at;
    }
    AddLine(text.sliced(lineStart));
    Flush();
  }

 private:
  void AddLine(QStringView line) {
    qsizetype start = 0;
    do {
      qsizetype length = std::min<qsizetype>(LongLineTextEdit::kRowLength, line.size() - start);
      if (length > 0 && line[start + length - 1].isHighSurrogate() &&
          start + length < line.size()) {
        ++length;
      }
      AddBlock(line.sliced(start, length));
      nextMark_ = QStringView();  // the next piece of this line is a row
      start += length;
    } while (start < line.size());
  }

  // A block whose break before it is nextMark_; the first one continues the cursor's block.
  void AddBlock(QStringView content) {
    if (first_) {
      first_ = false;
      run_ += content;
      return;
    }
    if (!runHasMark_ || nextMark_ != runMark_) {
      Flush();
      cursor_.insertBlock(BreakBefore(nextMark_));
      runHasMark_ = true;
      runMark_ = nextMark_.toString();
      run_ += content;
      return;
    }
    run_ += QChar::ParagraphSeparator;
    run_ += content;
  }

  void Flush() {
    if (!run_.isEmpty()) cursor_.insertText(run_);
    run_.truncate(0);  // keeps the buffer
  }

  QTextCursor& cursor_;
  bool first_ = true;
  QStringView nextMark_;
  bool runHasMark_ = false;
  QString runMark_;
  QString run_;
};

void InsertText(QTextCursor& cursor, QStringView text) { TextInserter(cursor).Insert(text); }

bool IsPlainBackspace(const QKeyEvent* event) {
  return event->key() == Qt::Key_Backspace &&
         (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
}

}  // namespace

LongLineTextEdit::LongLineTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  // Our own documents from the start: the box deletes a document it made itself when another
  // is set, and undo keeps the one shown before.
  auto first = std::make_unique<QTextDocument>();
  dress(*first);
  swapIn(std::move(first));
}

LongLineTextEdit::~LongLineTextEdit() {
  setDocument(nullptr);  // the box lets go of our documents before they are deleted
}

void LongLineTextEdit::setText(const QString& text) {
  before_.reset();
  undone_.reset();
  QTextDocument* document = this->document();
  document->setUndoRedoEnabled(false);
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.removeSelectedText();
  cursor.setBlockFormat(QTextBlockFormat());
  InsertText(cursor, text);
  cursor.endEditBlock();
  document->setUndoRedoEnabled(true);
  moveCursor(QTextCursor::Start);
}

QString LongLineTextEdit::text() const { return textBetween(0, document()->characterCount() - 1); }

std::unique_ptr<QTextDocument> LongLineTextEdit::MakeDocument(const QString& text, QThread* owner) {
  auto document = std::make_unique<QTextDocument>();
  document->setUndoRedoEnabled(false);  // its first text is no step of its own
  QTextCursor cursor(document.get());
  cursor.beginEditBlock();
  InsertText(cursor, text);
  cursor.endEditBlock();
  document->setUndoRedoEnabled(true);
  document->moveToThread(owner);
  return document;
}

void LongLineTextEdit::replaceDocument(std::unique_ptr<QTextDocument> document) {
  dress(*document);
  undone_.reset();
  // What was undone in the text shown until now cannot come back once it is replaced.
  shown_->clearUndoRedoStacks(QTextDocument::RedoStack);
  before_ = swapIn(std::move(document));
}

void LongLineTextEdit::dress(QTextDocument& document) const {
  // Fonts and layouts belong to the box's thread, so a document gets them only here. The layout
  // comes last: it then takes all blocks in one pass.
  document.setDefaultFont(this->document()->defaultFont());
  document.setDefaultTextOption(this->document()->defaultTextOption());
  document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
}

void LongLineTextEdit::replaceText(const QString& text) {
  replaceDocument(MakeDocument(text, thread()));
}

void LongLineTextEdit::undo() {
  if (document()->isUndoAvailable()) return QPlainTextEdit::undo();
  if (before_) undone_ = swapIn(std::move(before_));
}

void LongLineTextEdit::redo() {
  if (document()->isRedoAvailable()) return QPlainTextEdit::redo();
  if (undone_) before_ = swapIn(std::move(undone_));
}

std::unique_ptr<QTextDocument> LongLineTextEdit::swapIn(std::unique_ptr<QTextDocument> document) {
  if (shown_) disconnect(shown_.get(), &QTextDocument::undoCommandAdded, this, nullptr);
  setDocument(document.get());
  // A new edit ends what could be redone.
  connect(document.get(), &QTextDocument::undoCommandAdded, this, [this] { undone_.reset(); });
  moveCursor(QTextCursor::Start);
  std::swap(shown_, document);
  return document;
}

QString LongLineTextEdit::textBetween(int from, int to) const {
  // The document's own characters hold a paragraph separator where each block starts; those
  // become the blocks' marks again. Blocks of one format share one mark, looked up once.
  const QString raw = document()->toRawText();
  const QStringView part = QStringView(raw).sliced(from, to - from);
  QString text;
  text.reserve(part.size());
  QTextBlock block = document()->findBlock(from);
  int markFormat = -1;
  QString mark;
  for (qsizetype at = 0; at < part.size();) {
    const qsizetype separator = part.indexOf(QChar::ParagraphSeparator, at);
    if (separator < 0) {
      text += part.sliced(at);
      break;
    }
    text += part.sliced(at, separator - at);
    block = block.next();
    if (block.blockFormatIndex() != markFormat) {
      markFormat = block.blockFormatIndex();
      mark = BreakBefore(block);
    }
    text += mark;
    at = separator + 1;
  }
  return text;
}

void LongLineTextEdit::keyPressEvent(QKeyEvent* event) {
  QTextCursor cursor = textCursor();
  if (isReadOnly()) return QPlainTextEdit::keyPressEvent(event);

  if (event->matches(QKeySequence::Undo)) return undo();
  // Ctrl+Y redoes everywhere, not only where the desktop's own redo key is Ctrl+Y.
  if (event->matches(QKeySequence::Redo) ||
      (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
    return redo();
  }

  if (event->matches(QKeySequence::InsertParagraphSeparator) ||
      event->matches(QKeySequence::InsertLineSeparator)) {
    // A line break of its own, never the row mark of the block it splits.
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertBlock(QTextBlockFormat());
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
    return;
  }

  // Next to a row mark the keys act on the neighbouring character of the line, not the mark.
  const bool backspace = IsPlainBackspace(event) && AtRowStart(cursor);
  const bool del = event->matches(QKeySequence::Delete) && AtRowEnd(cursor);
  if (!cursor.hasSelection() && (backspace || del)) {
    cursor.beginEditBlock();
    if (backspace) {
      while (AtRowStart(cursor)) cursor.deletePreviousChar();
      cursor.deletePreviousChar();
    } else {
      while (AtRowEnd(cursor)) cursor.deleteChar();
      cursor.deleteChar();
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void LongLineTextEdit::contextMenuEvent(QContextMenuEvent* event) {
  const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
  // The menu's Undo and Redo step over whole-text replacements too.
  const struct {
    const char* name;
    void (LongLineTextEdit::*step)();
    bool available;
  } steps[] = {
      {"edit-undo", &LongLineTextEdit::undo, document()->isUndoAvailable() || before_},
      {"edit-redo", &LongLineTextEdit::redo, document()->isRedoAvailable() || undone_},
  };
  for (const auto& [name, step, available] : steps) {
    QAction* action = menu->findChild<QAction*>(QString::fromLatin1(name));
    if (action == nullptr) continue;
    action->disconnect();
    connect(action, &QAction::triggered, this, step);
    action->setEnabled(!isReadOnly() && available);
  }
  menu->exec(event->globalPos());
}

QMimeData* LongLineTextEdit::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  auto* data = new QMimeData;
  data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
  return data;
}

bool LongLineTextEdit::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasText();
}

void LongLineTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  QTextCursor cursor = textCursor();
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  InsertText(cursor, source->text());
  cursor.endEditBlock();
  setTextCursor(cursor);
  ensureCursorVisible();
}

}  // namespace quistel
