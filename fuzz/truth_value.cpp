// A stored setting read as a truth value: any text reads without a crash; blanks around it and
// the letter case change nothing; a text of decimal digits is on exactly when one of them is
// not 0; and what the program writes reads back as written.

#include <algorithm>
#include <cctype>
#include <string>

#include "fuzz_input.h"
#include "settings/saved_settings.h"

namespace {

std::string withCase(std::string_view text, int (*change)(int)) {
  std::string changed(text);
  for (char& c : changed) c = static_cast<char>(change(static_cast<unsigned char>(c)));
  return changed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto value = pellwick::readTruthValue(text);
  fuzz::require(pellwick::readTruthValue(" \t" + std::string(text) + "\r\n") == value,
                "blanks around the text change nothing");
  fuzz::require(pellwick::readTruthValue(withCase(text, std::toupper)) == value &&
                    pellwick::readTruthValue(withCase(text, std::tolower)) == value,
                "the letter case changes nothing");
  if (!text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; })) {
    const bool nonzero = std::ranges::any_of(text, [](char c) { return c != '0'; });
    // Digits beyond the largest double read as no value, never as the wrong one.
    fuzz::require(!value || *value == nonzero, "digits are on when one is not 0");
  }
  if (value) {
    fuzz::require(pellwick::readTruthValue(pellwick::truthText(*value)) == value,
                  "a truth value written reads back");
  }
  return 0;
}
