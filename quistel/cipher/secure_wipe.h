#pragma once
// Overwriting key material with zeros in a way the optimiser cannot drop as a dead store.

#include <cstddef>
#include <ranges>
#include <span>

namespace quistel {

void secureWipe(std::span<std::byte> bytes);

// Any array, vector or span of plain values.
template <std::ranges::contiguous_range Range>
void secureWipe(Range& items) {
  secureWipe(std::as_writable_bytes(std::span(items)));
}

}  // namespace quistel
