#pragma once
// A message under a password: a 4-byte little-endian length, the message, zero padding to whole
// 32-byte blocks, each block enciphered on its own by Rijndael with 256-bit blocks and a
// 256-bit key, the password's first 32 bytes padded with zeros. Every call sets a fresh key and
// wipes it, and its work buffers, before it returns.

#include <cstddef>
#include <functional>
#include <optional>

#include "cipher/rijndael.h"

namespace quistel {

// The ciphertext (a multiple of 32 bytes, at least 32), or nothing when the framed message
// would pass 2^31 - 1 bytes.
std::optional<Bytes> encryptMessage(ByteView message, ByteView password,
                                    CipherEngine engine = Rijndael::preferredEngine());

// Takes a ciphertext a piece at a time, in order.
using CipherSink = std::function<void(ByteView piece)>;

// The same ciphertext handed to `sink` in pieces of at most 16 KiB, so that it need never be
// held whole; false, and nothing handed over, when the framed message would be too long.
bool encryptMessageInPieces(ByteView message, ByteView password, const CipherSink& sink,
                            CipherEngine engine = Rijndael::preferredEngine());

// The message, present and empty for an empty one; nothing when the input is not whole
// 32-byte blocks or its decrypted length does not fit the data (wrong password, damage).
std::optional<Bytes> decryptMessage(ByteView ciphertext, ByteView password,
                                    CipherEngine engine = Rijndael::preferredEngine());

// Length prefix and message rounded up to whole blocks; nothing beyond the signed 32-bit range.
std::optional<std::size_t> framedLength(std::size_t messageLength);

}  // namespace quistel
