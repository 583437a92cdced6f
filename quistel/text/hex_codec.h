#pragma once
// Ciphertext bytes as upper-case hexadecimal text, and typed or pasted hex back to bytes.

#include <QByteArray>
#include <QString>
#include <optional>

namespace quistel {

// Two upper-case hex digits per byte, high digit first, nothing between them.
QString bytesToHex(QByteArrayView bytes);
// The same digits written at `out`, which has room for 2 * bytes.size() characters.
void writeHex(QByteArrayView bytes, char16_t* out);
// The bytes of hex digits (either case); white space anywhere is skipped. Nothing when the text
// holds anything else or an odd number of digits.
std::optional<QByteArray> hexToBytes(QStringView hex);

}  // namespace quistel
