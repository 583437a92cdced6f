#pragma once
// The tray icon record in the shell's 88-byte single-byte form: six little-endian 32-bit
// fields, then a 64-byte tip.

#include <array>
#include <cstdint>

#include "platform/windows/notify_icon_data.h"

namespace pellwick {

constexpr std::uint32_t kNotifyIconRecordSize = 88;
using NotifyIconRecord = std::array<std::uint8_t, kNotifyIconRecordSize>;

// Fills the record as Pellwick's tray icons send it: 88 bytes, icon id 1, message,
// icon and tip fields valid, mouse actions as message 512 to `owner`. The tip is left as it is.
void fillTrayIconRecord(NotifyIconData& record, std::uint32_t owner, std::uint32_t icon);

// Tip characters above U+00FF become '?'.
NotifyIconRecord toShellRecord(const NotifyIconData& data);
NotifyIconData fromShellRecord(const NotifyIconRecord& record);

}  // namespace pellwick
