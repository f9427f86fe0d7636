#include "config/settings_store.h"

#include "config/ini_store.h"
#include "platform/files.h"

namespace tw::config {

std::string SettingsFile(std::string_view app) {
  return platform::UserConfigDir() + "/" + std::string(app) + "/settings.ini";
}

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view fallback) {
  const std::string path = SettingsFile(app);
  if (!platform::FileExists(path)) return std::string(fallback);
  const std::string text = platform::ReadFile(path).value_or(std::string());
  return LookupIniText(text, section, key).value_or(std::string(fallback));
}

void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) {
  WriteIni(section, key, value, SettingsFile(app));
}

const std::string& AppName() {
  static const std::string name = platform::ExecutableBaseName();
  return name;
}

}  // namespace tw::config
