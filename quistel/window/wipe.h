#pragma once
// Overwriting key material with zeros in a way the optimiser cannot drop as a dead store.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <span>

namespace quistel {

void Wipe(std::span<std::byte> bytes);

// The array's own buffer when it has it to itself; a shared one is left to its other owners.
void Wipe(QByteArray& bytes);
void Wipe(QString& text);

}  // namespace quistel
