#include "window/long_line_document.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "text/hex_codec.h"
#include "text/qt_secure_wipe.h"
#include "window/line_breaks.h"

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

QTextBlockFormat breakBefore(QStringView lineBreak) {
  QTextBlockFormat format;
  format.setProperty(kBreakBeforeProperty, lineBreak.toString());
  return format;
}

QString breakBefore(const QTextBlock& block) {
  const QVariant mark = block.blockFormat().property(kBreakBeforeProperty);
  return mark.isValid() ? mark.toString() : QString::fromUtf16(kTypedLineBreak);
}

// Inserts a text at the cursor: each line break becomes a block that remembers it, each row of a
// long line a block marked as a row; a line after the typed line break joins the block before it
// while that has room. Blocks with the same mark in a row go in with one insertText, their breaks
// as paragraph separators: the new blocks take the format of the block they split, and one call
// is far quicker than one per block.
class TextInserter {
 public:
  // `report`, when given, is told the characters gone into the document after each slice.
  TextInserter(QTextCursor& cursor, FillReport report)
      : cursor_(cursor), report_(std::move(report)) {}
  TextInserter(const TextInserter&) = delete;
  TextInserter& operator=(const TextInserter&) = delete;

  // Consecutive calls continue the text where the last one ended, as long as that was inside a
  // long line at a row's end.
  void insert(QStringView text) {
    run_.reserve(std::min(text.size(), kFlushLength) + 2 * kGroupLength);
    qsizetype lineStart = 0;
    for (qsizetype at = nextMayBreakLine(text, 0); at < text.size();) {
      const qsizetype breakLength = lineBreakLength(text, at);
      if (breakLength == 0) {
        at = nextMayBreakLine(text, at + 1);
        continue;
      }
      addLine(text.sliced(lineStart, at - lineStart));
      nextMark_ = text.sliced(at, breakLength);
      at += breakLength;
      lineStart = at;
      at = nextMayBreakLine(text, at);
    }
    addLine(text.sliced(lineStart));
    flush();
  }

  // The number of lines in each block that Insert started, in order; the first is the cursor's.
  const std::vector<int>& linesPerBlock() const { return linesPerBlock_; }

 private:
  void addLine(QStringView line) {
    qsizetype start = 0;
    do {
      qsizetype length = std::min<qsizetype>(kRowLength, line.size() - start);
      if (length > 0 && line[start + length - 1].isHighSurrogate() &&
          start + length < line.size()) {
        ++length;
      }
      addBlock(line.sliced(start, length));
      nextMark_ = QStringView();  // the next piece of this line is a row
      start += length;
    } while (start < line.size());
  }

  // A piece whose break before it is nextMark_; the first one continues the cursor's block.
  void addBlock(QStringView content) {
    addPiece(content);
    // A buffer that stays in the cache: the document takes the text in slices.
    if (run_.size() >= kFlushLength) flush();
  }

  void addPiece(QStringView content) {
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
      flush();
      cursor_.insertBlock(breakBefore(nextMark_));
      runHasMark_ = true;
      runMark_ = nextMark_.toString();
      run_ += content;
      return;
    }
    run_ += QChar::ParagraphSeparator;
    run_ += content;
  }

  void flush() {
    if (run_.isEmpty()) return;
    cursor_.insertText(run_);
    inserted_ += run_.size();
    run_.truncate(0);  // keeps the buffer
    if (report_) report_(inserted_);
  }

  QTextCursor& cursor_;
  FillReport report_;
  qsizetype inserted_ = 0;
  bool first_ = true;
  qsizetype blockLength_ = 0;  // of the block being filled, as far as we added to it
  QStringView nextMark_;
  bool runHasMark_ = false;
  QString runMark_;
  QString run_;
  std::vector<int> linesPerBlock_;
};

// A new document that `fill` fills through an inserter, each block knowing its number of lines.
template <typename Fill>
std::unique_ptr<QTextDocument> makeDocument(QThread* owner, const FillReport& report, Fill fill) {
  auto document = std::make_unique<QTextDocument>();
  document->setUndoRedoEnabled(false);  // its first text is no step of its own
  {
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    TextInserter inserter(cursor, report);
    fill(inserter);
    cursor.endEditBlock();
    QTextBlock block = document->firstBlock();
    for (const int lines : inserter.linesPerBlock()) {
      block.setUserState(lines);
      // Showing a document makes a layout object for each block that has none, a pause on
      // the window's thread at a hundred thousand blocks; here it costs the worker instead.
      block.layout();
      block = block.next();
    }
  }
  document->setUndoRedoEnabled(true);
  document->moveToThread(owner);
  return document;
}

// Turns a document's raw characters into the text, each separator into what it stands for.
// While no separator stands for more than one character the text is written over the raw
// characters, which saves a second buffer as large as the text; a longer mark moves what is
// written so far, and all that follows, into a string of its own.
class TextRewriter {
 public:
  explicit TextRewriter(QString raw)
      : raw_(std::move(raw)), data_(reinterpret_cast<char16_t*>(raw_.data())), size_(raw_.size()) {}

  // The raw characters; those from the last keep or add on are still as they were.
  QStringView original() const { return {data_, size_}; }

  // The raw characters from `start`, which is at or after all written so far.
  void keep(qsizetype start, qsizetype length) {
    if (grown_) {
      grown_->append(QStringView(data_ + start, length));
    } else {
      if (written_ != start)
        std::memmove(data_ + written_, data_ + start, length * sizeof(char16_t));
      written_ += length;
    }
  }

  // What a separator, just passed over, stands for.
  void add(QStringView mark) {
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

  QString take() {
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

}  // namespace

bool isRow(const QTextBlock& block) {
  return block.isValid() && block.blockFormat().hasProperty(kBreakBeforeProperty) &&
         block.blockFormat().property(kBreakBeforeProperty).toString().isEmpty();
}

void insertLongLineText(QTextCursor& cursor, QStringView text) {
  TextInserter(cursor, {}).insert(text);
}

std::unique_ptr<QTextDocument> makeLongLineDocument(QStringView text, QThread* owner,
                                                    const FillReport& report) {
  return makeDocument(owner, report, [&](TextInserter& inserter) { inserter.insert(text); });
}

std::unique_ptr<QTextDocument> makeHexDocument(const std::function<void(const ByteSink&)>& produce,
                                               QThread* owner, const FillReport& report) {
  // Slices of whole rows: each continues the line of the one before.
  constexpr qsizetype kSliceBytes = kFlushLength / 2;
  static_assert(2 * kSliceBytes % kRowLength == 0);
  return makeDocument(owner, report, [&](TextInserter& inserter) {
    QByteArray pending;
    pending.reserve(kSliceBytes);
    QString slice(2 * kSliceBytes, Qt::Uninitialized);
    const auto insertPending = [&] {
      writeHex(pending, reinterpret_cast<char16_t*>(slice.data()));
      inserter.insert(QStringView(slice).first(2 * pending.size()));
      pending.truncate(0);  // keeps the buffer
    };
    produce([&](QByteArrayView piece) {
      while (!piece.isEmpty()) {
        const qsizetype taken = std::min(kSliceBytes - pending.size(), piece.size());
        pending.append(piece.first(taken));
        piece = piece.sliced(taken);
        if (pending.size() == kSliceBytes) insertPending();
      }
    });
    if (!pending.isEmpty()) insertPending();
  });
}

std::unique_ptr<QTextDocument> makeHexDocument(QByteArrayView bytes, QThread* owner,
                                               const FillReport& report) {
  return makeHexDocument([&](const ByteSink& sink) { sink(bytes); }, owner, report);
}

namespace {

class CodePageCopy final : public CompactText {
 public:
  CodePageCopy(QByteArray bytes, const CodePage& codePage)
      : bytes_(std::move(bytes)), codePage_(codePage) {}
  ~CodePageCopy() override { secureWipe(bytes_); }
  CodePageCopy(const CodePageCopy&) = delete;
  CodePageCopy& operator=(const CodePageCopy&) = delete;

  qsizetype length() const override { return bytes_.size(); }

  std::unique_ptr<QTextDocument> document(QThread* owner, const FillReport& report) const override {
    const std::optional<QString> text = codePage_.decode(bytes_);
    // The bytes were made from a text by the same code page.
    if (!text) throw std::runtime_error("the text kept for undo cannot be read back");
    return makeLongLineDocument(*text, owner, report);
  }

 private:
  QByteArray bytes_;
  CodePage codePage_;
};

class HexCopy final : public CompactText {
 public:
  explicit HexCopy(QByteArray bytes) : bytes_(std::move(bytes)) {}

  qsizetype length() const override { return 2 * bytes_.size(); }

  std::unique_ptr<QTextDocument> document(QThread* owner, const FillReport& report) const override {
    return makeHexDocument(bytes_, owner, report);
  }

 private:
  QByteArray bytes_;
};

}  // namespace

std::unique_ptr<CompactText> codePageCopy(QByteArray bytes, const CodePage& codePage) {
  return std::make_unique<CodePageCopy>(std::move(bytes), codePage);
}

std::unique_ptr<CompactText> hexCopy(QByteArray bytes) {
  return std::make_unique<HexCopy>(std::move(bytes));
}

// The number of lines in a block: its line separators and one. Remembered in the block's state,
// which every change of the block clears.
int linesInBlock(QTextBlock& block) {
  if (block.userState() < 0) {
    block.setUserState(static_cast<int>(block.text().count(kLineInBlock)) + 1);
  }
  return block.userState();
}

QTextBlock appendLongLineText(QTextBlock block, qsizetype length, QString& text) {
  const QTextBlock first = block.document()->firstBlock();
  int markFormat = -1;
  QString mark;
  for (qsizetype appended = 0; block.isValid() && appended < length; block = block.next()) {
    if (block != first) {
      if (block.blockFormatIndex() != markFormat) {
        markFormat = block.blockFormatIndex();
        mark = breakBefore(block);
      }
      text += mark;
    }
    const QString content = block.text();
    qsizetype at = 0;
    for (qsizetype line = content.indexOf(kLineInBlock); line >= 0;
         line = content.indexOf(kLineInBlock, at)) {
      text += QStringView(content).sliced(at, line - at);
      text += QStringView(kTypedLineBreak);
      at = line + 1;
    }
    text += QStringView(content).sliced(at);
    appended += content.size() + 1;
  }
  return block;
}

QString longLineText(const QTextDocument& document, int from, int to) {
  // The document's own characters hold a paragraph separator where each block starts; those
  // become the blocks' marks again. Blocks of one format share one mark, looked up once. A line
  // separator inside a block is the typed line break.
  QString raw = document.toRawText();
  if (from > 0 || to < raw.size()) raw = QStringView(raw).sliced(from, to - from).toString();
  TextRewriter text(std::move(raw));
  const QStringView part = text.original();
  QTextBlock block = document.findBlock(from);
  int markFormat = -1;
  QString mark;
  qsizetype nextBlock = part.indexOf(QChar::ParagraphSeparator);
  qsizetype nextLine = part.indexOf(kLineInBlock);
  for (qsizetype at = 0; at < part.size();) {
    const bool lineFirst = nextLine >= 0 && (nextBlock < 0 || nextLine < nextBlock);
    const qsizetype separator = lineFirst ? nextLine : nextBlock;
    if (separator < 0) {
      text.keep(at, part.size() - at);
      break;
    }
    text.keep(at, separator - at);
    at = separator + 1;
    if (lineFirst) {
      text.add(QStringView(kTypedLineBreak));
      nextLine = part.indexOf(kLineInBlock, at);
      continue;
    }
    block = block.next();
    if (block.blockFormatIndex() != markFormat) {
      markFormat = block.blockFormatIndex();
      mark = breakBefore(block);
    }
    text.add(mark);
    nextBlock = part.indexOf(QChar::ParagraphSeparator, at);
  }
  return text.take();
}

}  // namespace quistel
