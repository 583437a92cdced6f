#include "window/long_line_text_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quistel {
namespace {

bool atRowStart(const QTextCursor& cursor) {
  return cursor.atBlockStart() && isRow(cursor.block());
}

bool atRowEnd(const QTextCursor& cursor) {
  return cursor.atBlockEnd() && isRow(cursor.block().next());
}

bool isPlainBackspace(const QKeyEvent* event) {
  return event->key() == Qt::Key_Backspace &&
         (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
}

}  // namespace

LongLineTextEdit::LongLineTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  // A row of hex thousands of characters long is laid out and drawn whole when shown; without
  // shaping, which text in the code page does not need, that takes half the time.
  QFont unshaped = font();
  unshaped.setStyleStrategy(QFont::PreferNoShaping);
  setFont(unshaped);
  compactMaker_ = [this](const CompactText& text) { return text.document(thread()); };
  // Our own documents from the start: the box deletes a document it made itself when another
  // is set, and undo keeps the one shown before.
  auto first = std::make_unique<QTextDocument>();
  dress(*first);
  swapIn(first);
}

LongLineTextEdit::~LongLineTextEdit() {
  setDocument(nullptr);  // the box lets go of our documents before they are deleted
}

QString LongLineTextEdit::text() const {
  return longLineText(*document(), 0, document()->characterCount() - 1);
}

void LongLineTextEdit::replaceDocument(std::unique_ptr<QTextDocument> document) {
  dress(*document);
  KeptText shownBefore{swapIn(document), nullptr};
  if (setAside_) shownBefore = std::move(setAside_);  // not the empty stand-in
  setPlaceholderText({});
  // What was undone in the text shown until now cannot come back once it is replaced.
  if (shownBefore.document) shownBefore.document->clearUndoRedoStacks(QTextDocument::RedoStack);
  before_ = std::move(shownBefore);
  undone_ = {};
}

void LongLineTextEdit::setAside(std::unique_ptr<CompactText> text, const QString& placeholder) {
  auto standIn = std::make_unique<QTextDocument>();
  dress(*standIn);
  swapIn(standIn);
  setAside_ = {nullptr, std::move(text)};
  setPlaceholderText(placeholder);
}

void LongLineTextEdit::restoreSetAside() {
  if (!setAside_) return;
  setPlaceholderText({});
  bool shown = false;
  try {
    shown = showKept(setAside_).has_value();
  } catch (...) {
    before_ = std::move(setAside_);  // a step back still brings it
    throw;
  }
  if (!shown) before_ = std::move(setAside_);
}

void LongLineTextEdit::dress(QTextDocument& document) const {
  // Fonts and layouts belong to the box's thread, so a document gets them only here. The layout
  // comes last: it then takes all blocks in one pass.
  document.setDefaultFont(this->document()->defaultFont());
  document.setDefaultTextOption(this->document()->defaultTextOption());
  document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
}

void LongLineTextEdit::replaceText(const QString& text) {
  replaceDocument(makeLongLineDocument(text, thread()));
}

void LongLineTextEdit::undo() {
  if (document()->isUndoAvailable()) return QPlainTextEdit::undo();
  if (!before_) return;
  if (std::optional<KeptText> shown = showKept(before_)) undone_ = std::move(*shown);
}

void LongLineTextEdit::redo() {
  if (document()->isRedoAvailable()) return QPlainTextEdit::redo();
  if (!undone_) return;
  if (std::optional<KeptText> shown = showKept(undone_)) before_ = std::move(*shown);
}

std::unique_ptr<QTextDocument> LongLineTextEdit::swapIn(std::unique_ptr<QTextDocument>& incoming) {
  // The box owns the document before it shows it.
  std::swap(shown_, incoming);
  try {
    showDocument(*shown_);
  } catch (...) {
    std::swap(shown_, incoming);
    if (shown_) showDocument(*shown_);
    throw;
  }
  return std::move(incoming);
}

std::optional<LongLineTextEdit::KeptText> LongLineTextEdit::showKept(KeptText& kept) {
  std::unique_ptr<QTextDocument> incoming =
      kept.document ? std::move(kept.document) : compactMaker_(*kept.compact);
  if (!incoming) return std::nullopt;
  try {
    if (kept.compact) dress(*incoming);
    KeptText shownBefore{swapIn(incoming), nullptr};
    kept = {};
    return shownBefore;
  } catch (...) {
    if (!kept.compact) kept.document = std::move(incoming);
    throw;
  }
}

void LongLineTextEdit::userStep(void (LongLineTextEdit::*step)()) {
  const auto run = [this, step] { (this->*step)(); };
  if (stepGuard_) return stepGuard_(run);
  run();
}

void LongLineTextEdit::showDocument(QTextDocument& document) {
  disconnect(this->document(), &QTextDocument::undoCommandAdded, this, nullptr);
  disconnect(this->document(), &QTextDocument::contentsChange, this, nullptr);
  setDocument(&document);
  countLines(document.firstBlock(), document.lastBlock());
  // A new edit ends what could be redone.
  connect(&document, &QTextDocument::undoCommandAdded, this, [this] { undone_ = {}; });
  connect(&document, &QTextDocument::contentsChange, this, [this](int from, int, int added) {
    const QTextBlock last = this->document()->findBlock(from + added);
    for (QTextBlock block = this->document()->findBlock(from); block.isValid();
         block = block.next()) {
      block.setUserState(-1);  // changed: count again
      if (block == last) break;
    }
    countLines(this->document()->findBlock(from), last);
  });
  moveCursor(QTextCursor::Start);
}

void LongLineTextEdit::countLines(QTextBlock block, const QTextBlock& last) {
  bool changed = false;
  for (; block.isValid(); block = block.next()) {
    // The count first: asking a block for its layout makes one.
    if (block.lineCount() != linesInBlock(block) && block.layout()->lineCount() == 0) {
      block.setLineCount(linesInBlock(block));
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

void LongLineTextEdit::keyPressEvent(QKeyEvent* event) {
  QTextCursor cursor = textCursor();
  if (isReadOnly()) return QPlainTextEdit::keyPressEvent(event);

  if (event->matches(QKeySequence::Undo)) return userStep(&LongLineTextEdit::undo);
  // Ctrl+Y redoes everywhere, not only where the desktop's own redo key is Ctrl+Y.
  if (event->matches(QKeySequence::Redo) ||
      (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
    return userStep(&LongLineTextEdit::redo);
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
  const bool backspace = isPlainBackspace(event) && atRowStart(cursor);
  const bool del = event->matches(QKeySequence::Delete) && atRowEnd(cursor);
  if (!cursor.hasSelection() && (backspace || del)) {
    cursor.beginEditBlock();
    if (backspace) {
      while (atRowStart(cursor)) cursor.deletePreviousChar();
      cursor.deletePreviousChar();
    } else {
      while (atRowEnd(cursor)) cursor.deleteChar();
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
    connect(action, &QAction::triggered, this, [this, step = step] { userStep(step); });
    action->setEnabled(!isReadOnly() && available);
  }
  menu->exec(event->globalPos());
}

QMimeData* LongLineTextEdit::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  auto* data = new QMimeData;
  data->setText(longLineText(*document(), cursor.selectionStart(), cursor.selectionEnd()));
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
  insertLongLineText(cursor, source->text());
  cursor.endEditBlock();
  setTextCursor(cursor);
  ensureCursorVisible();
}

}  // namespace quistel
