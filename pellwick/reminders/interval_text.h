#pragma once
// Reading the reminders window's interval box: a leading number, rounded to 16 bits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellwick {

// The number at the start of `text`: an optional sign, digits and one decimal point.
// Blanks, tabs and line feeds are skipped anywhere; reading stops at the first other
// character. Empty or non-numeric text reads as 0.
double leadingNumber(std::string_view text);

// `value` rounded to a 16-bit signed integer, halves to the even neighbour; nothing when
// the result lies outside -32768..32767.
std::optional<std::int16_t> roundToInt16(double value);

// The interval `text` asks for: its leading number as a 16-bit integer; nothing on overflow.
std::optional<std::int16_t> intervalFromText(std::string_view text);

// What the box holds once it has been normalised: that integer in plain decimal, or "0"
// when the number does not fit.
std::string normalIntervalText(std::string_view text);

}  // namespace pellwick
