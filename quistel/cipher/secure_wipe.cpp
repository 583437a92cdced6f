#include "cipher/secure_wipe.h"

#include <atomic>
#include <cstring>

namespace quistel {

void secureWipe(std::span<std::byte> bytes) {
  if (bytes.empty()) return;  // an empty vector may have no buffer at all
#if defined(__GLIBC__)
  explicit_bzero(bytes.data(), bytes.size());
#else
  volatile std::byte* const out = bytes.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = std::byte{0};
  std::atomic_signal_fence(std::memory_order_seq_cst);
#endif
}

}  // namespace quistel
