#include "window/wipe.h"

#include <atomic>

namespace quistel {

void Wipe(std::span<std::byte> bytes) {
  volatile std::byte* const out = bytes.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = std::byte{0};
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

void Wipe(QByteArray& bytes) {
  if (bytes.isEmpty() || !bytes.isDetached()) return;
  Wipe(std::as_writable_bytes(std::span(bytes.data(), static_cast<std::size_t>(bytes.size()))));
}

void Wipe(QString& text) {
  if (text.isEmpty() || !text.isDetached()) return;
  Wipe(std::as_writable_bytes(std::span(text.data(), static_cast<std::size_t>(text.size()))));
}

}  // namespace quistel
