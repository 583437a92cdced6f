#pragma once
// Wiping Qt's strings and byte arrays: the buffer itself when the object has it to itself; a
// shared one is left to its other owners.

#include <QByteArray>
#include <QString>

#include "cipher/secure_wipe.h"

namespace quistel {

inline void secureWipe(QByteArray& bytes) {
  if (bytes.isEmpty() || !bytes.isDetached()) return;
  secureWipe(
      std::as_writable_bytes(std::span(bytes.data(), static_cast<std::size_t>(bytes.size()))));
}

inline void secureWipe(QString& text) {
  if (text.isEmpty() || !text.isDetached()) return;
  secureWipe(std::as_writable_bytes(std::span(text.data(), static_cast<std::size_t>(text.size()))));
}

// Wipes a string, byte array or vector when the scope ends, however it ends.
template <typename Secret>
class WipeAtScopeEnd {
 public:
  explicit WipeAtScopeEnd(Secret& secret) : secret_(secret) {}
  ~WipeAtScopeEnd() { secureWipe(secret_); }
  WipeAtScopeEnd(const WipeAtScopeEnd&) = delete;
  WipeAtScopeEnd& operator=(const WipeAtScopeEnd&) = delete;

 private:
  Secret& secret_;
};

}  // namespace quistel
