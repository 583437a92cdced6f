#include "platform/windows/notify_icon_record.h"

namespace pellwick {
namespace {

constexpr std::size_t kTipOffset = 24;

void putWord(NotifyIconRecord& record, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::uint32_t getWord(const NotifyIconRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
  }
  return value;
}

}  // namespace

void fillTrayIconRecord(NotifyIconData& record, std::uint32_t owner, std::uint32_t icon) {
  record.cbSize = kNotifyIconRecordSize;
  record.hWnd = owner;
  record.uID = 1;
  record.uFlags = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
  record.uCallbackMessage = mouse_code::MouseMove;
  record.hIcon = icon;
}

NotifyIconRecord toShellRecord(const NotifyIconData& data) {
  NotifyIconRecord record{};
  putWord(record, 0, data.cbSize);
  putWord(record, 4, data.hWnd);
  putWord(record, 8, data.uID);
  putWord(record, 12, data.uFlags);
  putWord(record, 16, data.uCallbackMessage);
  putWord(record, 20, data.hIcon);
  for (std::size_t i = 0; i < data.szTip.size(); ++i) {
    const char16_t c = data.szTip[i];
    record[kTipOffset + i] = c <= 0xFF ? static_cast<std::uint8_t>(c) : std::uint8_t{'?'};
  }
  return record;
}

NotifyIconData fromShellRecord(const NotifyIconRecord& record) {
  NotifyIconData data;
  data.cbSize = getWord(record, 0);
  data.hWnd = getWord(record, 4);
  data.uID = getWord(record, 8);
  data.uFlags = getWord(record, 12);
  data.uCallbackMessage = getWord(record, 16);
  data.hIcon = getWord(record, 20);
  for (std::size_t i = 0; i < data.szTip.size(); ++i) {
    data.szTip[i] = record[kTipOffset + i];
  }
  return data;
}

}  // namespace pellwick
