#include "window/long_line_text_edit.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "text/hex_codec.h"
#include "window/long_line_document.h"
#include "window/window_testing.h"

namespace quistel {
namespace {

using namespace Qt::StringLiterals;

constexpr int kRow = kRowLength;

// Characters that tell their positions apart: A..Z over and over.
QString letters(qsizetype count) {
  QString text(count, Qt::Uninitialized);
  for (qsizetype i = 0; i < count; ++i) text[i] = QChar(static_cast<char16_t>(u'A' + i % 26));
  return text;
}

class LongLineTextEditTest : public testing::Test {
 protected:
  void putCursorAt(int position) {
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(position);
    edit.setTextCursor(cursor);
  }

  LongLineTextEdit edit;
};

TEST_F(LongLineTextEditTest, GivesBackExactlyTheTextItWasGiven) {
  QString special = u"nbsp\u00a0 sep\u2028 para\u2029 frames\ufdd0\ufdd1 euro\u20ac"_s;
  special += QChar(0);
  QString longLine = letters(3 * kRow + 7);
  longLine[kRow - 1] = QChar(0xD83D);  // a surrogate pair across a row boundary
  longLine[kRow] = QChar(0xDE00);
  const QString texts[] = {
      u""_s,
      u"one line"_s,
      u"unix\nwindows\r\nold mac\rend\r\n"_s,
      u"\n\n\r\n\r\r"_s,
      special,
      longLine,
      u"short\r\n"_s + letters(5000) + u"\nshort again\n"_s + letters(kRow),
  };
  for (const QString& text : texts) {
    edit.replaceText(text);
    EXPECT_EQ(edit.text(), text);
    QString sliced;
    for (QTextBlock block = edit.document()->firstBlock(); block.isValid();)
      block = appendLongLineText(block, 7, sliced);
    EXPECT_EQ(sliced, text);
  }
  edit.replaceText(letters(3 * kRow));
  EXPECT_EQ(edit.document()->blockCount(), 3);
}

TEST_F(LongLineTextEditTest, EnterInsideALongLineBreaksItThere) {
  const QString line = letters(3 * kRow - 100);
  edit.replaceText(line);
  putCursorAt(kRow + 1 + 500);  // the second row, 500 characters in
  QTest::keyClick(&edit, Qt::Key_Return);
  const QString expected = line.left(kRow + 500) + u"\n"_s + line.mid(kRow + 500);
  EXPECT_EQ(edit.text(), expected);

  QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), line);
  putCursorAt(kRow + 1 + 500);
  QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(edit.text(), expected);
}

TEST_F(LongLineTextEditTest, BackspaceAndDeleteAtARowEdgeRemoveACharacterOfTheLine) {
  const QString line = letters(2 * kRow + 10);
  edit.replaceText(line);
  putCursorAt(kRow + 1);  // start of the second row
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QString expected = line;
  expected.remove(kRow - 1, 1);
  EXPECT_EQ(edit.text(), expected);

  edit.replaceText(line);
  putCursorAt(kRow);  // end of the first row
  QTest::keyClick(&edit, Qt::Key_Delete);
  expected = line;
  expected.remove(kRow, 1);
  EXPECT_EQ(edit.text(), expected);

  // At the start of a real line, Backspace still joins the lines.
  edit.replaceText(u"ab\ncd"_s);
  putCursorAt(3);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), u"abcd"_s);
}

TEST_F(LongLineTextEditTest, CopiesAndPastesTheExactText) {
  const QString line = letters(2 * kRow + 100);
  edit.replaceText(u"first\r\n"_s + line + u"\rlast"_s);
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(3);
  cursor.setPosition(edit.document()->characterCount() - 3, QTextCursor::KeepAnchor);
  edit.setTextCursor(cursor);
  edit.copy();
  EXPECT_EQ(QApplication::clipboard()->text(), u"st\r\n"_s + line + u"\rla"_s);

  const QString pasted = u"x\r\ny\u2029"_s + letters(kRow + 5) + u"\rz"_s;
  QApplication::clipboard()->setText(pasted);
  edit.replaceText(line);
  putCursorAt(kRow + 1 + 10);  // inside the second row
  edit.paste();
  EXPECT_EQ(edit.text(), line.left(kRow + 10) + pasted + line.mid(kRow + 10));
}

TEST_F(LongLineTextEditTest, ManyShortLinesShareBlocksYetScrollAndEditLineByLine) {
  QString text;
  for (int line = 0; line < 3000; ++line) text += u"line %1\n"_s.arg(line);
  edit.resize(400, 300);
  edit.show();
  edit.replaceText(text);
  EXPECT_LT(edit.document()->blockCount(), 100);
  EXPECT_EQ(edit.text(), text);
  // The scroll bar spans every line before the blocks are laid out, and after a new width,
  // which keeps the line on top. Positions count one character per line break here.
  EXPECT_GT(edit.verticalScrollBar()->maximum(), 3000 - 30);
  edit.verticalScrollBar()->setValue(2000);
  edit.resize(edit.width() + 10, edit.height());
  QApplication::processEvents();
  EXPECT_GT(edit.verticalScrollBar()->maximum(), 3000 - 30);
  const int top = edit.cursorForPosition(QPoint(1, 1)).position();
  EXPECT_EQ(text.mid(top, 10), u"line 2000\n"_s);

  // Enter, Backspace and a paste of lines inside such a block.
  const int lineStart = static_cast<int>(text.indexOf(u"line 40\n"_s));
  putCursorAt(lineStart + 4);
  QTest::keyClick(&edit, Qt::Key_Return);
  QString expected = text;
  expected.insert(lineStart + 4, u'\n');
  EXPECT_EQ(edit.text(), expected);
  putCursorAt(lineStart);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  expected.remove(lineStart - 1, 1);
  EXPECT_EQ(edit.text(), expected);
  QApplication::clipboard()->setText(u"a\nb\r\nc"_s);
  edit.paste();
  expected.insert(lineStart - 1, u"a\nb\r\nc"_s);
  EXPECT_EQ(edit.text(), expected);
}

TEST_F(LongLineTextEditTest, AReplacementIsOneUndoStepThatRedoes) {
  const QString before = u"typed\r\n"_s + letters(3 * kRow + 5) + u"\rend"_s;
  const QString after = letters(2 * kRow) + u"\nnew"_s;
  edit.replaceText(before);
  edit.replaceText(after);
  EXPECT_EQ(edit.text(), after);
  edit.undo();
  EXPECT_EQ(edit.text(), before);
  edit.redo();
  EXPECT_EQ(edit.text(), after);

  // Only the last replacement is kept: the document never piles up whole texts.
  edit.replaceText(u""_s);
  edit.undo();
  EXPECT_EQ(edit.text(), after);
  edit.undo();  // nothing older is held
  EXPECT_EQ(edit.text(), after);
}

TEST_F(LongLineTextEditTest, AHexDocumentMadeInSlicesIsTheHexTextInRows) {
  QByteArray bytes(300 * 1024 + 17, Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  const QString hex = bytesToHex(bytes);
  qsizetype reported = 0;
  const std::unique_ptr<QTextDocument> document =
      makeHexDocument(bytes, edit.thread(), [&](qsizetype inserted) {
        EXPECT_GT(inserted, reported);
        reported = inserted;
      });
  EXPECT_GE(reported, hex.size());
  EXPECT_EQ(document->blockCount(), (hex.size() + kRow - 1) / kRow);
  edit.replaceDocument(makeHexDocument(bytes, edit.thread()));
  EXPECT_EQ(edit.text(), hex);

  // Bytes handed over in pieces that end anywhere make the same document.
  edit.replaceDocument(makeHexDocument(
      [&](const ByteSink& sink) {
        for (qsizetype at = 0; at < bytes.size(); at += 7919)
          sink(bytes.sliced(at).first(std::min<qsizetype>(7919, bytes.size() - at)));
      },
      edit.thread()));
  EXPECT_EQ(edit.text(), hex);
}

TEST_F(LongLineTextEditTest, AFailureWhileShowingATextKeepsTheOneShownAndItsUndo) {
  const auto lines = [](int count) { return u"line\n"_s.repeated(count); };
  edit.replaceText(lines(200));
  edit.replaceText(u"shown"_s);
  // Showing a text sets the scroll bar's range; a failure is injected there.
  bool failNext = false;
  QObject::connect(edit.verticalScrollBar(), &QScrollBar::rangeChanged, [&] {
    if (std::exchange(failNext, false)) throw std::bad_alloc();
  });

  failNext = true;
  EXPECT_THROW(edit.replaceText(lines(300)), std::bad_alloc);
  EXPECT_EQ(edit.text(), u"shown"_s);
  failNext = true;
  EXPECT_THROW(edit.undo(), std::bad_alloc);
  EXPECT_EQ(edit.text(), u"shown"_s);

  edit.undo();  // the step back is still there
  EXPECT_EQ(edit.text(), lines(200));
  edit.redo();
  EXPECT_EQ(edit.text(), u"shown"_s);
  QTest::keyClicks(&edit, u"typed "_s);
  EXPECT_EQ(edit.text(), u"typed shown"_s);

  // A text set aside that cannot be shown again is the step back instead.
  edit.setAside(codePageCopy(CodePage::ansi().encode(lines(300)).bytes, CodePage::ansi()),
                u"working"_s);
  EXPECT_EQ(edit.text(), u""_s);
  failNext = true;
  EXPECT_THROW(edit.restoreSetAside(), std::bad_alloc);
  edit.undo();
  EXPECT_EQ(edit.text(), lines(300));

  // So is one whose document was not made (the user stopped it), until it is made.
  edit.setCompactMaker([](const CompactText&) { return nullptr; });
  edit.setAside(hexCopy("\x01\xAB"), u"working"_s);
  edit.restoreSetAside();
  EXPECT_EQ(edit.text(), u""_s);
  edit.undo();
  EXPECT_EQ(edit.text(), u""_s);
  edit.setCompactMaker([&](const CompactText& text) { return text.document(edit.thread()); });
  edit.undo();
  EXPECT_EQ(edit.text(), u"01AB"_s);
}

}  // namespace
}  // namespace quistel
