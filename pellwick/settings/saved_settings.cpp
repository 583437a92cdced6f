#include "settings/saved_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace pellwick {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// Plain decimal numbers only: no "inf", "nan" or hexadecimal.
std::optional<double> readNumber(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789+-.eE") != std::string_view::npos) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool saveOnly(SettingsStore& store, const std::string& section, std::string_view key, bool on) {
  store.deleteSection(section);  // fails when the section is not there yet, which is fine
  return store.save(section, std::string(key), truthText(on));
}

}  // namespace

std::string_view displayModeKey(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::LongDate:
      return "mesldate";
    case DisplayMode::ShortDate:
      return "messdate";
    case DisplayMode::LongDateAndTime:
      return "mestime";
    case DisplayMode::ShortDateAndTime:
      return "mesdate";
  }
  return {};
}

std::optional<bool> readTruthValue(std::string_view text) {
  text = trimmed(text);
  if (equalsIgnoringCase(text, "true")) return true;
  if (equalsIgnoringCase(text, "false")) return false;
  if (const auto number = readNumber(text)) return *number != 0;
  return std::nullopt;
}

std::string truthText(bool on) { return on ? "True" : "False"; }

SavedSettings readSavedSettings(SettingsStore& store) {
  SavedSettings saved;
  for (DisplayMode mode : kDisplayModes) {
    const std::string key(displayModeKey(mode));
    const auto value = readTruthValue(store.read(kStartupSection, key));
    if (value) saved.display.set(mode, *value);
  }
  if (const auto value = readTruthValue(store.read(kAutorunSection, kAutorunKey))) {
    saved.startAtLogin = *value;
  }
  return saved;
}

bool saveDisplayMode(SettingsStore& store, DisplayMode mode, bool on) {
  return saveOnly(store, kStartupSection, displayModeKey(mode), on);
}

bool saveStartAtLoginMark(SettingsStore& store, bool on) {
  return saveOnly(store, kAutorunSection, kAutorunKey, on);
}

}  // namespace pellwick
