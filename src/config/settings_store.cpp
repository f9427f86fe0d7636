#include "config/settings_store.h"

#include "config/ini_store.h"
#include "config/saves.h"
#include "platform/files.h"

namespace tw::config {

namespace {
constexpr const char* kWhat = "the settings";
}  // namespace

std::string SettingsFile(std::string_view app) {
  const std::string dir = platform::UserConfigDir();
  if (dir.empty()) return {};  // no per-user folder: nothing is kept
  return dir + "/" + std::string(app) + "/settings.ini";
}

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view fallback) {
  const std::string path = SettingsFile(app);
  if (path.empty()) return std::string(fallback);
  const std::optional<std::string> text = LoadText(path, kWhat);
  if (!text) return std::string(fallback);
  return LookupIniText(*text, section, key).value_or(std::string(fallback));
}

void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) {
  const std::string path = SettingsFile(app);
  if (path.empty()) return;
  WriteIni(section, key, value, path, kWhat);
}

const std::string& AppName() {
  static const std::string name = platform::ExecutableBaseName();
  return name;
}

}  // namespace tw::config
