#pragma once
// The per-user settings store: text values by section and key under the application
// "MyTrayFolder".

#include <QString>
#include <functional>
#include <memory>
#include <string>

class QSettings;

namespace pellwick {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text; empty when there is none.
  virtual std::string read(const std::string& section, const std::string& key) = 0;
  // False when the value could not be written.
  virtual bool save(const std::string& section, const std::string& key,
                    const std::string& value) = 0;
  // Removes the section and all its keys; false when there was none or it could not be written.
  virtual bool deleteSection(const std::string& section) = 0;
  // Where the values are kept, as a user would look for them (a file or a registry key).
  virtual std::string location() = 0;
};

// QSettings: on Linux the INI file <config>/MyTrayFolder.ini; on Windows the per-user
// registry key HKEY_CURRENT_USER\Software\MyTrayFolder.
class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();
  // An INI file of one's own (tests).
  explicit QtSettingsStore(const QString& iniFile);
  ~QtSettingsStore() override;

  std::string read(const std::string& section, const std::string& key) override;
  bool save(const std::string& section, const std::string& key, const std::string& value) override;
  bool deleteSection(const std::string& section) override;
  // The file with the home folder as "~" (Linux), or the registry key (Windows).
  std::string location() override;

 private:
  // A fresh view of the store per operation, so that its status tells about that operation.
  std::function<std::unique_ptr<QSettings>()> open_;
};

}  // namespace pellwick
