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

}  // namespace quistel
