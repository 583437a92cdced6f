#pragma once
// What one clock tick writes into a caption: the display mode's date text, joined to the
// window's own caption by blanks.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <string>

#include "settings/display_settings.h"

namespace pellwick {

// The date text of the display mode that is on, in the locale's names; the last mode in
// menu order wins. Empty when no mode is on.
QString dateText(const DisplaySettings& display, const QDateTime& now, const QLocale& locale);

// The own caption (UTF-8, `ownLength` UTF-16 units long), eight blanks and the date text
// when the client area has room for all of it at `fontPoints` pixels a character; six
// blanks instead of eight when it has not.
std::string composeCaption(const std::string& ownCaption, qsizetype ownLength,
                           const QString& dateText, int clientWidth, int fontPoints);

}  // namespace pellwick
