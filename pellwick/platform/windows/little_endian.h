#pragma once
// Little-endian words in byte buffers, as Windows file formats store them.

#include <cstdint>
#include <span>
#include <vector>

namespace pellwick::win32 {

inline void putWord16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void putWord32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  putWord16(out, value & 0xFFFF);
  putWord16(out, value >> 16);
}

inline std::uint16_t word16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t word32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(word16(bytes, offset)) |
         static_cast<std::uint32_t>(word16(bytes, offset + 2)) << 16;
}

}  // namespace pellwick::win32
