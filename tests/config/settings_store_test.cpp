#include "config/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

namespace tw::config {
namespace {

TEST(SettingsStore, ValuesLiveUnderTheUsersConfigFolderPerApplication) {
  test::TempDir home;
  ::setenv("XDG_CONFIG_HOME", home.path.c_str(), 1);
  EXPECT_EQ(GetSetting("tumblewell", "Stats", "Number_Of_Played_Games", "0"), "0");
  SaveSetting("tumblewell", "Stats", "Number_Of_Played_Games", "7");
  SaveSetting("tumblewell", "Loading", "MaxStrings", "160");
  SaveSetting("other", "Stats", "Number_Of_Played_Games", "99");
  EXPECT_EQ(GetSetting("tumblewell", "Stats", "Number_Of_Played_Games", "0"), "7");
  EXPECT_EQ(GetSetting("tumblewell", "loading", "maxstrings", ""), "160");
  EXPECT_EQ(SettingsFile("tumblewell"), home.path + "/tumblewell/settings.ini");
  EXPECT_NE(test::ReadText(home.path + "/other/settings.ini").find("99"), std::string::npos);
}

TEST(SettingsStore, AStoredEmptyValueIsNotTheFallback) {
  test::TempDir home;
  ::setenv("XDG_CONFIG_HOME", home.path.c_str(), 1);
  SaveSetting("tumblewell", "Loading", "MaxStrings", "");
  EXPECT_EQ(GetSetting("tumblewell", "Loading", "MaxStrings", "fallback"), "");
  EXPECT_EQ(GetSetting("tumblewell", "Loading", "Other", "fallback"), "fallback");
}

TEST(SettingsStore, TheApplicationNameIsTheExecutablesName) {
  EXPECT_EQ(AppName(), "test_config");
}

}  // namespace
}  // namespace tw::config
