// The reminders window's interval box: any text reads without a crash, the box's normal form
// is a fixed point, and it shows the interval the blinking icon is given (or 0 on overflow).

#include <string>

#include "reminders/interval_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string box = pellwick::normalIntervalText(text);
  const auto interval = pellwick::intervalFromText(text);
  fuzz::require(box == (interval ? std::to_string(*interval) : "0"),
                "the box shows the interval");
  fuzz::require(pellwick::normalIntervalText(box) == box, "a normal box stays as it is");
  return 0;
}
