// A stored setting read as a truth value: any text reads without a crash, and what the
// program writes reads back as written.

#include "fuzz_input.h"
#include "settings/saved_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto value = pellwick::readTruthValue(text)) {
    fuzz::require(pellwick::readTruthValue(pellwick::truthText(*value)) == value,
                  "a truth value written reads back");
  }
  return 0;
}
