#pragma once
// A plain text box that stays quick with very long lines and very many lines: it shows
// documents made by makeLongLineDocument(), keeps the typing keys, clipboard and undo true to
// the text they hold, and steps back over a whole-text replacement.

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextOption>
#include <functional>
#include <memory>
#include <optional>

#include "window/long_line_document.h"

namespace quistel {

class LongLineTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LongLineTextEdit(QWidget* parent = nullptr);
  ~LongLineTextEdit() override;

  QString text() const;

  // Shows the document in place of the text as one undo step: the text shown before, or the
  // one set aside. The box keeps only that text (or the one undone), so it holds at most one
  // earlier whole text.
  void replaceDocument(std::unique_ptr<QTextDocument> document);
  void replaceText(const QString& text);

  // Lets go of the document shown, whose text lives on only as `text`, and shows `placeholder`
  // in an empty box: an operation about to replace a very large text makes room for the new one
  // this way. replaceDocument() or restoreSetAside() end it.
  void setAside(std::unique_ptr<CompactText> text, const QString& placeholder);
  // Shows the text set aside again, if there is one.
  void restoreSetAside();

  // Steps back and forth through typing, and over a whole-text replacement.
  void undo();
  void redo();

  // Makes the document of a text kept compactly, when it is shown again; nothing when that did
  // not come about (a failure, or the user stopped it). By default it is made here and now; a
  // window can have it made beside its thread.
  using CompactMaker = std::function<std::unique_ptr<QTextDocument>(const CompactText& text)>;
  void setCompactMaker(CompactMaker maker) { compactMaker_ = std::move(maker); }

  // Runs an undo or redo the user asked for by key or menu. By default what it throws goes on
  // out of the event; a window can catch it and tell the user instead.
  using StepGuard = std::function<void(const std::function<void()>& step)>;
  void setStepGuard(StepGuard guard) { stepGuard_ = std::move(guard); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // Gives each block from `block` to `last` that is not laid out its number of lines, so that
  // the scroll bar spans every line before each block is laid out.
  void countLines(QTextBlock block, const QTextBlock& last);
  // Gives a document made by makeLongLineDocument the font, options and layout of the one shown.
  void dress(QTextDocument& document) const;
  // A whole text the box can show again: a document, or a compact copy of one.
  struct KeptText {
    std::unique_ptr<QTextDocument> document;
    std::unique_ptr<CompactText> compact;
    explicit operator bool() const { return document || compact; }
  };

  // Shows the incoming document and gives back the one shown until now. Should that throw, the
  // box shows what it showed before and `incoming` keeps its document.
  std::unique_ptr<QTextDocument> swapIn(std::unique_ptr<QTextDocument>& incoming);
  // The same for a kept text, which is empty afterwards; nothing, and the kept text as it was,
  // when its document could not be made. Kept as it was too should that throw.
  std::optional<KeptText> showKept(KeptText& kept);
  void showDocument(QTextDocument& document);
  // Undo or redo, as the user asked for it.
  void userStep(void (LongLineTextEdit::*step)());

  std::unique_ptr<QTextDocument> shown_;
  KeptText before_;    // shown before the last replacement, for undo
  KeptText undone_;    // the replacement undone, for redo
  KeptText setAside_;  // what an operation set aside
  CompactMaker compactMaker_;
  StepGuard stepGuard_;
};

}  // namespace quistel
