#include "window/line_breaks.h"

#include <QChar>
#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quistel {
namespace {

// A quick first test for lineBreakLength: false for all characters that never break a line.
bool mayBreakLine(QChar c) {
  const char16_t u = c.unicode();
  return u <= u'\r' || (u & 0xFFFE) == QChar::LineSeparator || (u & 0xFFFE) == 0xFDD0;
}

}  // namespace

qsizetype lineBreakLength(QStringView text, qsizetype at) {
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

qsizetype nextMayBreakLine(QStringView text, qsizetype from) {
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
  while (from < text.size() && !mayBreakLine(text[from])) ++from;
  return from;
}

}  // namespace quistel
