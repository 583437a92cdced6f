#pragma once
// Which of the title-bar clock's four display modes are on: the tray menu writes them, the
// clock reads them at every tick.

#include <array>
#include <cstddef>
#include <initializer_list>

namespace pellwick {

enum class DisplayMode { LongDate, ShortDate, LongDateAndTime, ShortDateAndTime };

// In menu order.
inline constexpr std::array kDisplayModes{DisplayMode::LongDate, DisplayMode::ShortDate,
                                          DisplayMode::LongDateAndTime,
                                          DisplayMode::ShortDateAndTime};

class DisplaySettings {
 public:
  DisplaySettings() = default;
  DisplaySettings(std::initializer_list<DisplayMode> on) {
    for (DisplayMode mode : on) set(mode, true);
  }

  bool isOn(DisplayMode mode) const { return on_[index(mode)]; }
  void set(DisplayMode mode, bool on) { on_[index(mode)] = on; }
  bool anyOn() const { return on_[0] || on_[1] || on_[2] || on_[3]; }
  bool operator==(const DisplaySettings&) const = default;

 private:
  static std::size_t index(DisplayMode mode) { return static_cast<std::size_t>(mode); }

  std::array<bool, kDisplayModes.size()> on_{};
};

}  // namespace pellwick
