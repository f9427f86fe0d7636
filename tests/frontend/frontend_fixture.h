// Shared set-up for the front-end tests: a private application directory
// and settings folder, the story tuning file, a record of the sounds played,
// and keys set directly in the key table (no keyboard device is open, so a
// read leaves the table as the test set it).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "frontend/end_of_game.h"
#include "frontend/menu.h"
#include "frontend/menu_screens.h"
#include "input/controls.h"
#include "input/keyboard.h"
#include "input/name_entry.h"
#include "platform/files.h"
#include "replay/replay.h"
#include "world/drills_water.h"
#include "world/player.h"
#include "world/random.h"
#include "world/score.h"

namespace tw::testing {

inline std::vector<std::string>& PlayedSounds() {
  static std::vector<std::string> sounds;
  return sounds;
}

inline void Press(int code) { input::KeyState[static_cast<std::size_t>(code)] = input::kKeyDown; }
inline void Release(int code) { input::KeyState[static_cast<std::size_t>(code)] = 0; }

class FrontendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    dir_ = fs::temp_directory_path() /
           ("tw_front_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "textures");
    fs::create_directories(dir_ / "config");
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").string().c_str(), 1);
    platform::SetAppDir(dir_.string());
    fs::copy_file(fs::path(TW_SOURCE_DIR) / "data" / "tuning_story.ini", dir_ / "textures" / "lvl1.bmp");
    fs::copy_file(fs::path(TW_SOURCE_DIR) / "data" / "tuning_arcade.ini", dir_ / "textures" / "lvl2.bmp");
    config::GameOptions = config::Options{};
    config::GameOptions.StoryReaden = true;
    config::LoadHighScores();  // the built-in story table: 2500 down to 250
    world::SeedRandom(7);
    input::KeyState.fill(0);
    PlayedSounds().clear();
    audio::SetSoundObserver([](const audio::SoundCall& call) { PlayedSounds().push_back(call.name); });
  }
  void TearDown() override {
    audio::SetSoundObserver(nullptr);
    std::filesystem::remove_all(dir_);
  }

  // One menu-input frame with `code` down, then one with it up.
  static void Tap(int code) {
    Press(code);
    frontend::MenuInput();
    Release(code);
    frontend::MenuInput();
  }
  static int CountSound(const std::string& name) {
    int n = 0;
    for (const auto& s : PlayedSounds()) n += s == name ? 1 : 0;
    return n;
  }

  std::string ReadFile(const std::string& relative) const {
    std::ifstream in(dir_ / relative);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Contains(const std::string& relative, const std::string& text) const {
    return ReadFile(relative).find(text) != std::string::npos;
  }

  std::filesystem::path dir_;
};

}  // namespace tw::testing
