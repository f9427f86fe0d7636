// Shared set-up for the world tests: a private application directory and
// settings folder, a tuning file written by the test, and helpers that build
// small hand-made shafts.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "world/new_game.h"
#include "audio/sound.h"
#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "input/controls.h"
#include "input/keyboard.h"
#include "platform/files.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/effects.h"
#include "world/frame.h"
#include "world/grid.h"
#include "world/player.h"
#include "core/random.h"
#include "world/score.h"
#include "world/tile_dynamics.h"
#include "test_support.h"

namespace tw::testing {

// A complete tuning file with round numbers that make the rules easy to
// follow by hand: each section's "Key=value" entries separated by spaces.
inline std::string BasicTuning() {
  static const char* const sections[][2] = {
      {"Misc", "DebugWindow_Visible=False"},
      {"Map Precentage", "Tile_Normal=50 Tile_Mud=10 Tile_Gum=10 Tile_Ice=10 Tile_Glass=10 Tile_Stone=10"},
      {"Player", "Position_Tile_X=7 Position_Tile_Y=3 WalkSpeed=100 WalkSpeed_Mud_DEVIDER=2 WalkSpeed_Ice_MULTIPLY=30 "
                 "Weight=50 SlowDown_AfterHit_Ice_DEVIDER=2 BounceFrom_Everything_DEVIDER=4 BounceFrom_Gum_DEVIDER=20 "
                 "Smash_Glass_ForceNeeded=5.5 Jump_Force=150 Bonus_BombsAtStart=2"},
      {"Falling_Tiles", "Weight=5 Hit_PushOnForce=3 Hit_SmashOnForce=7 Smashing_Explosion_Distance=5 "
                        "Continue_Falling_After_PushingAnotherTile=True"},
      {"Score", "Staying_Alive=1 Falling_Speed=10 Hit_PushTile=5 Hot_SmashTile=10 Bonus_BombGlass_Points=150 "
                "Bonus_Bomb_Points=100 Bonus_Pie_Points=25 Bonus_Boot_Points=15 Bonus_Ears_Points=12"},
      {"Sharp drills", "Starting_Position_Y=-20 Speed_of_Lowering=2 HitStone_GoBack_Pixels=50"},
      {"Bonus", "NumOf_BigEars=2 NumOf_Bomb=3 NumOf_BombGlass=1 NumOf_Boots=2 NumOf_Pie=4 Bomb_Weight=5 Pie_Weight=3 "
                "Boot_Weight=2 Bonus_Boot_Time=10 Ears_Weight=4 Bonus_Ears_Time=8"},
      {"Water", "StartupHeight=40 FixedHeight=60"}};
  std::string text;
  for (const auto& [name, entries] : sections) {
    std::string lines = std::string(entries) + " ";
    std::replace(lines.begin(), lines.end(), ' ', '\n');
    text += "[" + std::string(name) + "]\n" + lines;
  }
  return text;
}

// The sounds played since the last ListenToSounds().
inline std::vector<audio::SoundCall>& PlayedSounds() {
  static std::vector<audio::SoundCall> calls;
  return calls;
}

inline void Press(int code) { core::KeyState[static_cast<std::size_t>(code)] = core::kKeyDown; }
inline void Release(int code) { core::KeyState[static_cast<std::size_t>(code)] = 0; }

// The installed story and arcade tuning files, copied into `dir`.
inline void CopyInstalledTuning(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  for (const auto& [from, to] : {std::pair{"tuning_story.ini", "lvl1.bmp"}, std::pair{"tuning_arcade.ini", "lvl2.bmp"}}) {
    fs::copy_file(fs::path(TW_SOURCE_DIR) / "data" / from, dir / "textures" / to, fs::copy_options::overwrite_existing);
  }
}

// `text` with the values of some "Key=value" lines replaced.
inline std::string WithValues(std::string text, std::initializer_list<std::pair<std::string, std::string>> values) {
  for (const auto& [key, value] : values) {
    const auto found = text.find("\n" + key + "=");
    if (found == std::string::npos) {
      ADD_FAILURE() << "no key " << key;
      continue;
    }
    const auto at = found + 1;
    text.replace(at, text.find('\n', at) - at, key + "=" + value);
  }
  return text;
}

// A "[Levels]" section of ten levels; `size` gives each level's LevelSize text.
inline std::string LevelSection(int platform, int skip, const std::function<std::string(int)>& size,
                                const std::string& type) {
  std::string text = "[Levels]\n";
  for (int n = 1; n <= 10; ++n) {
    char p[16];
    std::snprintf(p, sizeof p, "Level-%02d_", n);
    text += std::string(p) + "PlatformSize=" + std::to_string(platform) + "\n" + p +
            "OnEachPlatformSkipLines=" + std::to_string(skip) + "\n" + p + "ScreenSpeed=50\n" + p + "LevelSize=" +
            size(n) + "\n" + p + "TileType=" + type + "\n";
  }
  return text;
}

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A private application directory (with "textures") and settings folder, made the game's own.
    std::filesystem::create_directories(dir_ / "textures");
    std::filesystem::create_directories(dir_ / "config");
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    platform::SetAppDir(dir_.string());
    config::GameOptions.Sound_On = false;
    config::GameOptions.Details_High = true;
    config::GameOptions.GameMode_Story = false;
    config::GameOptions.FULL_SCREEN = false;
    core::FrameTime = 0.02;
    core::SeedRandom(1);
    // State that a new game deliberately leaves alone, cleared so that the
    // cases also pass when run one after another in a single process.
    for (auto& d : world::SmashDebrisList) d = world::SmashDebris{};
    core::KeyState.fill(0);
    core::Controls = core::ControlState{};
    input::KeyLatches = input::KeyLatchState{};
    core::Paused = false;
    core::MouseButton1 = core::MouseButton2 = core::MouseButton3 = false;
    core::ReplayPlayback = false;
    world::EndFade = 0;
    for (auto& entry : config::HighScores) entry = config::HighScoreEntry{};
    config::ClearPendingEntry();
  }
  void TearDown() override { audio::SetSoundObserver(nullptr); }

  // Turns the sound on and records every sound played from now on.
  static void ListenToSounds() {
    config::GameOptions.Sound_On = true;
    PlayedSounds().clear();
    audio::SetSoundObserver([](const audio::SoundCall& call) { PlayedSounds().push_back(call); });
  }

  void WriteTuning(const std::string& text, bool story) {
    std::ofstream(dir_ / "textures" / (story ? "lvl1.bmp" : "lvl2.bmp")) << text;
  }

  void StartGame(bool story, const std::string& tuning = BasicTuning()) {
    config::GameOptions.GameMode_Story = story;
    WriteTuning(tuning, story);
    world::StartNewGame();
    AfterNewGame();
  }
  // What the layers above the world add to a new game (the screen fixtures).
  virtual void AfterNewGame() {}

  // Tuning only, on an empty shaft: for hand-built scenes.
  void EmptyShaft(bool story = false, const std::string& tuning = BasicTuning()) {
    StartGame(story, tuning);
    world::ClearTileLayer();
    world::Bonuses.assign(1, world::Bonus{});
    for (auto& column : world::TileGrid.Touched) column.fill(true);
  }

  static void Set(int col, int row, Integer v) {
    world::TileAt(static_cast<Single>(col), static_cast<Single>(row), v);
  }
  static Integer Get(int col, int row) {
    return world::TileAt(static_cast<Single>(col), static_cast<Single>(row));
  }
  // Places the creature standing on the row below `row` (its box in `row`).
  static void PlaceCreature(int col, int row) {
    world::Player.X = static_cast<Single>(col * 32);
    world::Player.Y = static_cast<Single>(row * 32);
    world::Player.PrevX = world::Player.X;
    world::Player.VelocityY = 0;
    world::Player.Airborne = false;
  }

  test::TempDir temp_;
  std::filesystem::path dir_ = temp_.path;
};

}  // namespace tw::testing
