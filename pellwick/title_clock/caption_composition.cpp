#include "title_clock/caption_composition.h"

#include <algorithm>

namespace pellwick {
namespace {

const QString kLongDate = QStringLiteral("dddd...   MMMM d, yyyy");
const QString kShortDate = QStringLiteral("MMMM d");
const QString kMediumTime = QStringLiteral("hh:mm AP");

}  // namespace

QString dateText(const DisplaySettings& display, const QDateTime& now, const QLocale& locale) {
  if (display.isOn(DisplayMode::ShortDateAndTime)) {
    return locale.toString(now, kShortDate) + QStringLiteral("...   ") +
           locale.toString(now, kMediumTime);
  }
  if (display.isOn(DisplayMode::LongDateAndTime)) {
    return locale.toString(now, kLongDate) + QStringLiteral("    ") +
           locale.toString(now, kMediumTime);
  }
  if (display.isOn(DisplayMode::ShortDate)) return locale.toString(now, kShortDate);
  if (display.isOn(DisplayMode::LongDate)) return locale.toString(now, kLongDate);
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
