#pragma once
// The document behind the text box, built for very long lines (a megabyte of hex digits is one
// line) and very many lines. Laying out such a line takes seconds, so a line longer than
// kRowLength is kept as rows of that many characters: each row is a block marked as continuing
// the line before it. Short lines share blocks, which are costly to make. The marks are not part
// of the text: longLineText() gives back exactly what went in, line breaks as they came ("\n",
// "\r\n", "\r", ...).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTextBlock>
#include <functional>
#include <memory>

#include "text/code_page.h"

class QTextCursor;
class QTextDocument;
class QThread;

namespace quistel {

inline constexpr int kRowLength = 4096;

// Told how many characters went into a document being made, a slice at a time; may throw to
// stop making it.
using FillReport = std::function<void(qsizetype inserted)>;

// A document holding the text. Made on any thread, it is handed over to `owner`.
std::unique_ptr<QTextDocument> makeLongLineDocument(QStringView text, QThread* owner,
                                                    const FillReport& report = {});

// Takes bytes a piece at a time, in order.
using ByteSink = std::function<void(QByteArrayView piece)>;

// A document holding, as upper-case hex digits on one line, the bytes that `produce` hands to
// the sink it is given; neither the whole hex text nor all the bytes are ever held.
std::unique_ptr<QTextDocument> makeHexDocument(const std::function<void(const ByteSink&)>& produce,
                                               QThread* owner, const FillReport& report = {});
std::unique_ptr<QTextDocument> makeHexDocument(QByteArrayView bytes, QThread* owner,
                                               const FillReport& report = {});

// A whole text kept in far less memory than a document holding it, to be shown again.
class CompactText {
 public:
  virtual ~CompactText() = default;
  // The number of characters the document will hold, about.
  virtual qsizetype length() const = 0;
  // A document holding the text, for `owner`; made on any thread.
  virtual std::unique_ptr<QTextDocument> document(QThread* owner,
                                                  const FillReport& report = {}) const = 0;
};

// A text kept as its bytes in the code page; they are wiped when the copy goes.
std::unique_ptr<CompactText> codePageCopy(QByteArray bytes, const CodePage& codePage);
// A text that is exactly the bytes' upper-case hex digits on one line, kept as the bytes.
std::unique_ptr<CompactText> hexCopy(QByteArray bytes);

// Inserts the text at the cursor, into a document made as above.
void insertLongLineText(QTextCursor& cursor, QStringView text);

// The text between two positions of the document.
QString longLineText(const QTextDocument& document, int from, int to);

// Appends the text from the start of `block` on, about `length` characters of it in whole
// blocks, to `text`; gives the block to go on from, invalid at the end. Read this way from the
// first block, a document gives the same text as longLineText().
QTextBlock appendLongLineText(QTextBlock block, qsizetype length, QString& text);

// Whether the block is a row that continues the line before it.
bool isRow(const QTextBlock& block);

// The number of lines the block holds.
int linesInBlock(QTextBlock& block);

}  // namespace quistel
