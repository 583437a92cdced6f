#pragma once
// The five check marks of the tray menu as they are kept in the settings store: the four
// display modes in section "STARTUP", start at login in section "AUTORUN".

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/display_settings.h"
#include "settings/settings_store.h"

namespace pellwick {

inline constexpr char kStartupSection[] = "STARTUP";
inline constexpr char kAutorunSection[] = "AUTORUN";
inline constexpr char kAutorunKey[] = "mautorun";

// The mode's key in section "STARTUP": "mesldate", "messdate", "mestime", "mesdate".
std::string_view displayModeKey(DisplayMode mode);

// The stored text as a truth value: True or False in any letter case, or a number (nonzero
// is on). Anything else, the empty text included, is no truth value.
std::optional<bool> readTruthValue(std::string_view text);
// "True" or "False".
std::string truthText(bool on);

struct SavedSettings {
  DisplaySettings display;
  bool startAtLogin = false;
};

// Every mark as stored; a key that is absent or no truth value leaves its mark off.
SavedSettings readSavedSettings(SettingsStore& store);

// Rewrites the section "STARTUP" so that it holds only this entry's mark. False when the
// mark could not be saved.
bool saveDisplayMode(SettingsStore& store, DisplayMode mode, bool on);
// The same for the section "AUTORUN".
bool saveStartAtLoginMark(SettingsStore& store, bool on);

}  // namespace pellwick
