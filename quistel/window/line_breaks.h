#pragma once
// Finding the line breaks of a text quickly: most characters are ruled out eight at a time.

#include <QStringView>

namespace quistel {

// Length of the line break at `at`: the characters a text document turns into block breaks
// ("\r\n" is one break of two), or 0.
qsizetype lineBreakLength(QStringView text, qsizetype at);

// The first position from `from` on that may hold a line break, else the text's end.
qsizetype nextMayBreakLine(QStringView text, qsizetype from);

}  // namespace quistel
