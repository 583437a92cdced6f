#include "title_clock/caption_composition.h"

#include <algorithm>

namespace pellwick {
namespace {

const QString kLongDate = QStringLiteral("dddd...   MMMM d, yyyy");
const QString kShortDate = QStringLiteral("MMMM d");
const QString kMediumTime = QStringLiteral("hh:mm AP");

}  // namespace

QString dateText(const DisplayMarks& marks, const QDateTime& now, const QLocale& locale) {
  if (marks.mesdate) {
    return locale.toString(now, kShortDate) + QStringLiteral("...   ") +
           locale.toString(now, kMediumTime);
  }
  if (marks.mestime) {
    return locale.toString(now, kLongDate) + QStringLiteral("    ") +
           locale.toString(now, kMediumTime);
  }
  if (marks.messdate) return locale.toString(now, kShortDate);
  if (marks.mesldate) return locale.toString(now, kLongDate);
  return {};
}

std::string composeCaption(const std::string& ownCaption, qsizetype ownLength,
                           const QString& dateText, int clientWidth, int fontPoints) {
  // 64 bits: no wrap-around, whatever the caption's length.
  const long long chars = clientWidth / std::max(fontPoints, 1);
  const long long room = chars - dateText.size() - ownLength;
  std::string caption = ownCaption;
  caption += room > 0 ? "        " : "      ";
  caption += dateText.toStdString();
  return caption;
}

}  // namespace pellwick
