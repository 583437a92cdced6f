#pragma once
// What every fuzz target shares: the entry point libFuzzer calls, a check that stops the run
// when a property fails, and the split of one input into a password and a message.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

using Input = std::span<const std::uint8_t>;

inline void require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", property);
  std::abort();
}

// The first byte gives the password's length (up to 40, so that passwords longer than the
// 32 bytes that count occur too); the password follows, the rest is the message.
struct KeyedInput {
  Input password;
  Input message;
};

inline KeyedInput splitKeyed(Input input) {
  if (input.empty()) return {};
  const std::size_t length = std::min<std::size_t>(input[0] % 41, input.size() - 1);
  return {input.subspan(1, length), input.subspan(1 + length)};
}

}  // namespace fuzz
