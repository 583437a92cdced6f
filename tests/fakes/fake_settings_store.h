#pragma once
// A settings store in memory: sections of keys, with a switch that makes every write fail.

#include <map>
#include <string>

#include "settings/settings_store.h"

namespace pellwick::testing {

class FakeSettingsStore : public SettingsStore {
 public:
  std::string read(const std::string& section, const std::string& key) override {
    const auto found = sections.find(section);
    if (found == sections.end()) return {};
    const auto value = found->second.find(key);
    return value == found->second.end() ? std::string() : value->second;
  }
  bool save(const std::string& section, const std::string& key, const std::string& value) override {
    if (failing) return false;
    sections[section][key] = value;
    return true;
  }
  bool deleteSection(const std::string& section) override {
    return !failing && sections.erase(section) > 0;
  }
  std::string location() override { return "settings.ini"; }

  std::map<std::string, std::map<std::string, std::string>> sections;
  bool failing = false;
};

}  // namespace pellwick::testing
