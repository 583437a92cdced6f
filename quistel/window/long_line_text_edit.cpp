#include "window/long_line_text_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QResizeEvent>
#include <QScrollBar>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quistel {
namespace {

// The text that stood before a block: a line break, or nothing for a row of a long line.
constexpr int kBreakBeforeProperty = QTextFormat::UserProperty + 1;

// Lines that end in the typed line break share a block, up to this many characters, each
// break a line separator inside it: a document of many short lines then has few blocks, which
// makes it far quicker to build.
constexpr qsizetype kGroupLength = 4096;
constexpr QChar kLineInBlock = QChar::LineSeparator;
// Text goes into a document in slices of this many characters.
constexpr qsizetype kFlushLength = 256 * 1024;

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
    case QChar::LineSeparator:  // one of the text's own, so that every one in a block is ours
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
  return u <= u'\r' || (u & 0xFFFE) == QChar::LineSeparator || (u & 0xFFFE) == 0xFDD0;
}

// The first character from `from` on for which MayBreakLine holds, else the text's end.
qsizetype NextMayBreakLine(QStringView text, qsizetype from) {
#ifdef __SSE2__
  // Eight characters at a time, the same test.
  const __m128i pairMask = _mm_set1_epi16(static_cast<short>(0xFFFE));
  for (; from + 8 <= text.size(); from += 8) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.utf16() + from));
    const __m128i control =
        _mm_cmpeq_epi16(_mm_subs_epu16(c, _mm_set1_epi16(u'\r')), _mm_setzero_si128());
    const __m128i pair = _mm_and_si128(c, pairMask);
    const __m128i separator =
        _mm_or_si128(_mm_cmpeq_epi16(pair, _mm_set1_epi16(QChar::LineSeparator)),
                     _mm_cmpeq_epi16(pair, _mm_set1_epi16(static_cast<short>(0xFDD0))));
    const int found = _mm_movemask_epi8(_mm_or_si128(control, separator));
    if (found != 0) return from + std::countr_zero(static_cast<unsigned>(found)) / 2;
  }
#endif
  while (from < text.size() && !MayBreakLine(text[from])) ++from;
  return from;
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
// long line a block marked as a row; a line after the typed line break joins the block before it
// while that has room. Blocks with the same mark in a row go in with one insertText, their breaks
// as paragraph separators: the new blocks take the format of the block they split, and one call
// is far quicker than one per block.
class TextInserter {
 public:
  explicit TextInserter(QTextCursor& cursor) : cursor_(cursor) {}
  TextInserter(const TextInserter&) = delete;
  TextInserter& operator=(const TextInserter&) = delete;

  void Insert(QStringView text) {
    run_.reserve(std::min(text.size(), kFlushLength) + 2 * kGroupLength);
    qsizetype lineStart = 0;
    for (qsizetype at = NextMayBreakLine(text, 0); at < text.size();) {
      const qsizetype breakLength = LineBreakLength(text, at);
      if (breakLength == 0) {
        at = NextMayBreakLine(text, at + 1);
        continue;
      }
      AddLine(text.sliced(lineStart, at - lineStart));
      nextMark_ = text.sliced(at, breakLength);
      at += breakLength;
      lineStart = at;
      at = NextMayBreakLine(text, at);
    }
    AddLine(text.sliced(lineStart));
    Flush();
  }

  // The number of lines in each block that Insert started, in order; the first is the cursor's.
  const std::vector<int>& LinesPerBlock() const { return linesPerBlock_; }

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

  // A piece whose break before it is nextMark_; the first one continues the cursor's block.
  void AddBlock(QStringView content) {
    AddPiece(content);
    // A buffer that stays in the cache: the document takes the text in slices.
    if (run_.size() >= kFlushLength) Flush();
  }

  void AddPiece(QStringView content) {
    const qsizetype blockLength = blockLength_;
    blockLength_ = content.size();
    if (first_) {
      first_ = false;
      run_ += content;
      linesPerBlock_.push_back(1);
      return;
    }
    if (nextMark_ == QStringView(kTypedLineBreak) &&
        blockLength + 1 + content.size() <= kGroupLength) {
      run_ += kLineInBlock;
      run_ += content;
      blockLength_ += blockLength + 1;
      ++linesPerBlock_.back();
      return;
    }
    linesPerBlock_.push_back(1);
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
  qsizetype blockLength_ = 0;  // of the block being filled, as far as we added to it
  QStringView nextMark_;
  bool runHasMark_ = false;
  QString runMark_;
  QString run_;
  std::vector<int> linesPerBlock_;
};

void InsertText(QTextCursor& cursor, QStringView text) { TextInserter(cursor).Insert(text); }

// Fills an empty document with the text, each block knowing its number of lines.
void FillDocument(QTextDocument& document, QStringView text) {
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  TextInserter inserter(cursor);
  inserter.Insert(text);
  cursor.endEditBlock();
  QTextBlock block = document.firstBlock();
  for (const int lines : inserter.LinesPerBlock()) {
    block.setUserState(lines);
    block = block.next();
  }
}

// The number of lines in a block: its line separators and one. Remembered in the block's state,
// which every change of the block clears.
int LinesOf(QTextBlock& block) {
  if (block.userState() < 0) {
    block.setUserState(static_cast<int>(block.text().count(kLineInBlock)) + 1);
  }
  return block.userState();
}

// Turns a document's raw characters into the text, each separator into what it stands for.
// While no separator stands for more than one character the text is written over the raw
// characters, which saves a second buffer as large as the text; a longer mark moves what is
// written so far, and all that follows, into a string of its own.
class TextRewriter {
 public:
  explicit TextRewriter(QString raw)
      : raw_(std::move(raw)), data_(reinterpret_cast<char16_t*>(raw_.data())), size_(raw_.size()) {}

  // The raw characters; those from the last Keep or Add on are still as they were.
  QStringView original() const { return {data_, size_}; }

  // The raw characters from `start`, which is at or after all written so far.
  void Keep(qsizetype start, qsizetype length) {
    if (grown_) {
      grown_->append(QStringView(data_ + start, length));
    } else {
      if (written_ != start) std::memmove(data_ + written_, data_ + start, length * sizeof(char16_t));
      written_ += length;
    }
  }

  // What a separator, just passed over, stands for.
  void Add(QStringView mark) {
    if (!grown_ && mark.size() > 1) {
      grown_.emplace();
      grown_->reserve(size_ + size_ / 8 + mark.size());
      grown_->append(QStringView(data_, written_));
    }
    if (grown_) {
      grown_->append(mark);
    } else {
      std::copy(mark.utf16(), mark.utf16() + mark.size(), data_ + written_);
      written_ += mark.size();
    }
  }

  QString Take() {
    if (grown_) return std::move(*grown_);
    raw_.truncate(written_);
    return std::move(raw_);
  }

 private:
  QString raw_;
  char16_t* data_;
  qsizetype size_;
  qsizetype written_ = 0;
  std::optional<QString> grown_;
};

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
  FillDocument(*document, text);
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
  if (shown_) {
    disconnect(shown_.get(), &QTextDocument::undoCommandAdded, this, nullptr);
    disconnect(shown_.get(), &QTextDocument::contentsChange, this, nullptr);
  }
  setDocument(document.get());
  countLines(document->firstBlock(), document->lastBlock());
  // A new edit ends what could be redone.
  connect(document.get(), &QTextDocument::undoCommandAdded, this, [this] { undone_.reset(); });
  connect(document.get(), &QTextDocument::contentsChange, this, [this](int from, int, int added) {
    const QTextBlock last = this->document()->findBlock(from + added);
    for (QTextBlock block = this->document()->findBlock(from); block.isValid();
         block = block.next()) {
      block.setUserState(-1);  // changed: count again
      if (block == last) break;
    }
    countLines(this->document()->findBlock(from), last);
  });
  moveCursor(QTextCursor::Start);
  std::swap(shown_, document);
  return document;
}

void LongLineTextEdit::countLines(QTextBlock block, const QTextBlock& last) {
  bool changed = false;
  for (; block.isValid(); block = block.next()) {
    if (block.layout()->lineCount() == 0 && block.lineCount() != LinesOf(block)) {
      block.setLineCount(LinesOf(block));
      changed = true;
    }
    if (block == last) break;
  }
  if (changed) {
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
  }
}

void LongLineTextEdit::resizeEvent(QResizeEvent* event) {
  const int topLine = verticalScrollBar()->value();
  QPlainTextEdit::resizeEvent(event);  // a new width lays the document out afresh
  if (event->oldSize().width() != event->size().width()) {
    countLines(document()->firstBlock(), document()->lastBlock());
    verticalScrollBar()->setValue(topLine);  // the same line on top again
  }
}

QString LongLineTextEdit::textBetween(int from, int to) const {
  // The document's own characters hold a paragraph separator where each block starts; those
  // become the blocks' marks again. Blocks of one format share one mark, looked up once. A line
  // separator inside a block is the typed line break.
  QString raw = document()->toRawText();
  if (from > 0 || to < raw.size()) raw = QStringView(raw).sliced(from, to - from).toString();
  TextRewriter text(std::move(raw));
  const QStringView part = text.original();
  QTextBlock block = document()->findBlock(from);
  int markFormat = -1;
  QString mark;
  qsizetype nextBlock = part.indexOf(QChar::ParagraphSeparator);
  qsizetype nextLine = part.indexOf(kLineInBlock);
  for (qsizetype at = 0; at < part.size();) {
    const bool lineFirst = nextLine >= 0 && (nextBlock < 0 || nextLine < nextBlock);
    const qsizetype separator = lineFirst ? nextLine : nextBlock;
    if (separator < 0) {
      text.Keep(at, part.size() - at);
      break;
    }
    text.Keep(at, separator - at);
    at = separator + 1;
    if (lineFirst) {
      text.Add(QStringView(kTypedLineBreak));
      nextLine = part.indexOf(kLineInBlock, at);
      continue;
    }
    block = block.next();
    if (block.blockFormatIndex() != markFormat) {
      markFormat = block.blockFormatIndex();
      mark = BreakBefore(block);
    }
    text.Add(mark);
    nextBlock = part.indexOf(QChar::ParagraphSeparator, at);
  }
  return text.Take();
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
