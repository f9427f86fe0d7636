// The user's settings store: small per-user values keyed by application name,
// section and key (the played-games count, the loading-screen total). Kept as
// an INI file under the user's configuration folder.
#pragma once

#include <string>
#include <string_view>

namespace tw::config {

// The file that holds application `app`'s settings.
std::string SettingsFile(std::string_view app);
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view fallback);
void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value);

// The application name the game uses for its settings: the executable's base name.
const std::string& AppName();

}  // namespace tw::config
