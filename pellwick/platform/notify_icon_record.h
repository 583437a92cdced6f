#pragma once
// The tray icon record in the shell's 88-byte single-byte form: six little-endian 32-bit
// fields, then a 64-byte tip.

#include <array>
#include <cstdint>

#include "platform/tray_shell.h"

namespace pellwick {

constexpr std::uint32_t kNotifyIconRecordSize = 88;
using NotifyIconRecord = std::array<std::uint8_t, kNotifyIconRecordSize>;

// Tip characters above U+00FF become '?'.
NotifyIconRecord toShellRecord(const NotifyIconData& data);
NotifyIconData fromShellRecord(const NotifyIconRecord& record);

}  // namespace pellwick
