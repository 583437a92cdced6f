#pragma once
// A plain text box that stays quick with very long lines (a megabyte of hex digits is one
// line). Laying out such a line takes seconds, so a line longer than kRowLength is shown as
// rows of that many characters: each row is a block of the document marked as continuing the
// line before it. The marks are not part of the text: text() gives back exactly what was set
// or typed, line breaks as they came ("\n", "\r\n", "\r", ...).

#include <QPlainTextEdit>

namespace quistel {

class LongLineTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kRowLength = 1024;

  explicit LongLineTextEdit(QWidget* parent = nullptr);

  // Replaces the whole text; this is not an undo step.
  void setText(const QString& text);
  QString text() const;
  // Replaces the whole text as one undo step. Earlier steps are forgotten, so the document holds
  // at most one earlier whole text (plus what is typed after) however often it is replaced.
  void replaceText(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  QString textBetween(int from, int to) const;
};

}  // namespace quistel
