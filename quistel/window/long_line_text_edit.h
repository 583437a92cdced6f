#pragma once
// A plain text box that stays quick with very long lines (a megabyte of hex digits is one
// line) and very many lines. Laying out such a line takes seconds, so a line longer than
// kRowLength is shown as rows of that many characters: each row is a block of the document
// marked as continuing the line before it. Short lines share blocks, which are costly to make.
// The marks are not part of the text: text() gives back exactly what was set or typed, line
// breaks as they came ("\n", "\r\n", "\r", ...).

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextOption>
#include <memory>

namespace quistel {

class LongLineTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kRowLength = 1024;

  explicit LongLineTextEdit(QWidget* parent = nullptr);
  ~LongLineTextEdit() override;

  // Replaces the whole text; this is not an undo step.
  void setText(const QString& text);
  QString text() const;

  // A document holding the text as this box shows it. Made on any thread, it is handed over to
  // `owner`, the box's thread, for replaceDocument.
  static std::unique_ptr<QTextDocument> MakeDocument(const QString& text, QThread* owner);
  // Shows the document in place of the text as one undo step. The box keeps only the document
  // shown before (or the one undone), so it holds at most one earlier whole text.
  void replaceDocument(std::unique_ptr<QTextDocument> document);
  void replaceText(const QString& text);

  // Steps back and forth through typing, and over a whole-text replacement.
  void undo();
  void redo();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  QString textBetween(int from, int to) const;
  // Gives each block from `block` to `last` that is not laid out its number of lines, so that
  // the scroll bar spans every line before each block is laid out.
  void countLines(QTextBlock block, const QTextBlock& last);
  // Gives a document made by MakeDocument the font, options and layout of the one shown.
  void dress(QTextDocument& document) const;
  // Shows `document`; gives back the one shown until now.
  std::unique_ptr<QTextDocument> swapIn(std::unique_ptr<QTextDocument> document);

  std::unique_ptr<QTextDocument> shown_;
  std::unique_ptr<QTextDocument> before_;  // shown before the last replacement, for undo
  std::unique_ptr<QTextDocument> undone_;  // the replacement undone, for redo
};

}  // namespace quistel
