#include "reminders/interval_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace pellwick {

double leadingNumber(std::string_view text) {
  std::string number;  // the sign, digits and point read so far, without blanks
  bool anyDigit = false;
  bool pointSeen = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    if ((c == '-' || c == '+') && number.empty()) {
      number.push_back(c);
    } else if (c >= '0' && c <= '9') {
      number.push_back(c);
      anyDigit = true;
    } else if (c == '.' && !pointSeen) {
      number.push_back(c);
      pointSeen = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return 0;
  const bool negative = number.front() == '-';
  const std::size_t start = number.front() == '-' || number.front() == '+' ? 1 : 0;
  double magnitude = 0;
  const auto [end, error] =
      std::from_chars(number.data() + start, number.data() + number.size(), magnitude);
  if (error == std::errc::result_out_of_range) {
    // Too small for a double when no nonzero digit comes before the point: that is 0.
    const bool belowOne = number.find_first_of("123456789") > number.find('.');
    magnitude = belowOne ? 0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -magnitude : magnitude;
}

std::optional<std::int16_t> roundToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double whole = std::floor(value);
  const double fraction = value - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
  if (whole < std::numeric_limits<std::int16_t>::min() ||
      whole > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(whole);
}

std::optional<std::int16_t> intervalFromText(std::string_view text) {
  return roundToInt16(leadingNumber(text));
}

std::string normalIntervalText(std::string_view text) {
  const auto interval = intervalFromText(text);
  return interval ? std::to_string(*interval) : "0";
}

}  // namespace pellwick
