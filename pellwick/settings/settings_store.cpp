#include "settings/settings_store.h"

#include <QDir>
#include <QSettings>

namespace pellwick {
namespace {

constexpr char kApplication[] = "MyTrayFolder";

QString text(const std::string& s) { return QString::fromStdString(s); }

bool written(QSettings& settings) {
  settings.sync();
  return settings.status() == QSettings::NoError;
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : open_([] {
#ifdef Q_OS_WIN
        return std::make_unique<QSettings>(QString("HKEY_CURRENT_USER\\Software\\") + kApplication,
                                           QSettings::NativeFormat);
#else
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           kApplication);
#endif
      }) {
}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : open_([iniFile] { return std::make_unique<QSettings>(iniFile, QSettings::IniFormat); }) {}

QtSettingsStore::~QtSettingsStore() = default;

std::string QtSettingsStore::read(const std::string& section, const std::string& key) {
  const auto settings = open_();
  return settings->value(text(section) + "/" + text(key)).toString().toStdString();
}

bool QtSettingsStore::save(const std::string& section, const std::string& key,
                           const std::string& value) {
  const auto settings = open_();
  settings->setValue(text(section) + "/" + text(key), text(value));
  return written(*settings);
}

bool QtSettingsStore::deleteSection(const std::string& section) {
  const auto settings = open_();
  if (!settings->childGroups().contains(text(section))) return false;
  settings->remove(text(section));
  return written(*settings);
}

std::string QtSettingsStore::location() {
  const QString file = open_()->fileName();
  const QString home = QDir::homePath() + '/';
  return (file.startsWith(home) ? "~/" + file.mid(home.size()) : file).toStdString();
}

}  // namespace pellwick
