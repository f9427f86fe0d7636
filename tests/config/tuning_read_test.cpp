// Reading the tuning file at a new game: keys, scaling, order and the
// continue-on-error rule; the level table and the grid bound.
#include "world/new_game.h"
#include "../world/world_fixture.h"

#include "config/settings_store.h"

#include <tuple>

namespace tw::testing {
namespace {

using TuningRead = WorldTest;

TEST_F(TuningRead, EveryKeyIsStoredWithItsScaling) {
  StartGame(/*story=*/false);
  const auto& t = config::Tuning;
  // One key of each kind of scaling: 30 / 15, 20 / 10, none, 100 / 10, none.
  EXPECT_EQ(std::tuple(t.MapPercentage[1], t.WalkSpeed_Ice_MULTIPLY, t.BounceFrom_Gum_DEVIDER, t.FallingTiles_Weight,
                       t.Bonus_Bomb_Points, t.Bonus_Pie_Points, t.Continue_Falling_After_PushingAnotherTile),
            std::tuple(50, 2.0f, 2.0f, 5.0f, 10.0f, 25, true));

  // The starting state taken from the file (tiles to pixels, weight / 10).
  EXPECT_EQ(std::tuple(world::Player.X, world::Player.Y, world::Player.Weight, world::Bombs),
            std::tuple(224.0f, 96.0f, 5.0f, 2.0f));
  EXPECT_EQ(std::tuple(world::DrillY, world::WaterY, world::WaterFixedY), std::tuple(-20.0f, 440.0f, 420.0f));
  // No level section: the built-in table's height.
  EXPECT_EQ(std::tuple(core::GameOver, core::CurrentLevel, config::MapHeight), std::tuple(false, 0, 1050.0f));
}

TEST_F(TuningRead, MissingAndMalformedValuesKeepTheEarlierGamesValues) {
  StartGame(false);
  // The second game's file has only the level section and a few bad values.
  StartGame(false, "[Player]\nWalkSpeed=fast\nJump_Force=1e300\n[Score]\nBonus_Pie_Points=99999\n"
                   "[Levels]\nLevel-01_PlatformSize=5\nLevel-01_OnEachPlatformSkipLines=2\n"
                   "Level-01_ScreenSpeed=77\nLevel-01_LevelSize=25\nLevel-01_TileType=blue\n");
  const auto& t = config::Tuning;
  // A jump force beyond the Single range counts as malformed, pie points beyond the Integer range likewise.
  EXPECT_EQ(std::tuple(t.WalkSpeed, t.Jump_Force, t.Bonus_Pie_Points, t.Weight, t.NumOf_Pie),
            std::tuple(100.0f, 150.0f, 25, 5.0f, 4));
  // Level 1 from the file; level 2's first key is missing, so the rest keep
  // their defaults and the map height stays the default one.
  const auto& l1 = config::Levels[1];
  EXPECT_EQ(std::tuple(l1.PlatformSize, l1.ScreenSpeed, l1.LevelSize, l1.TileType), std::tuple(5, 77.0f, 25, "blue"));
  EXPECT_EQ(std::tuple(config::Levels[2].LevelSize, config::MapHeight), std::tuple(30, 1050.0f));
}

TEST_F(TuningRead, DrillsAndWaterKeepTheirPlaceWhenTheirKeysAreMissing) {
  StartGame(false);
  // Where the last game left them.
  world::DrillY = 123.0f;
  world::WaterY = 300.0f;
  world::WaterFixedY = 310.0f;
  StartGame(false, "[Water]\nFixedHeight=70\n");
  // Only the water's fixed line has its key read.
  EXPECT_EQ(std::tuple(world::DrillY, world::WaterY, world::WaterFixedY), std::tuple(123.0f, 300.0f, 410.0f));
}

TEST_F(TuningRead, OnlyLevelsBeforeAnyGameLeavesZeros) {
  config::Tuning = config::GameTuning{};  // as at start-up
  StartGame(true, "[Levels]\nLevel-01_PlatformSize=6\n");
  EXPECT_FLOAT_EQ(config::Tuning.WalkSpeed, 0.0f);
  EXPECT_EQ(std::tuple(config::Tuning.NumOf_Bomb, world::Bonuses.size(), config::Levels[1].PlatformSize),
            std::tuple(0, 1u, 6));
  EXPECT_FLOAT_EQ(config::MapHeight, 1050.0f);
}

TEST_F(TuningRead, MalformedLevelSizeStopsTheLevelTable) {
  StartGame(false, BasicTuning() + LevelSection(2, 2, [](int n) { return n == 5 ? "ten" : "40"; }, "red"));
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(std::tuple(config::Levels[n].LevelSize, config::Levels[n].TileType), std::tuple(40, "red")) << n;
  // Level 5's keys before the bad one were read; from the bad one on, defaults.
  const auto& l5 = config::Levels[5];
  EXPECT_EQ(std::tuple(l5.PlatformSize, l5.ScreenSpeed, l5.LevelSize, l5.TileType), std::tuple(2, 50.0f, 120, "yellow"));
  EXPECT_EQ(std::tuple(config::Levels[6].PlatformSize, config::Levels[10].LevelSize, config::MapHeight), std::tuple(4, 160, 1050.0f));
}

TEST_F(TuningRead, LevelsThatWouldRunPastTheGridAreHeldInsideIt) {
  // A skip of -1 must not stall generation either.
  StartGame(false, BasicTuning() + LevelSection(3, -1, [](int) { return "900"; }, "green"));
  EXPECT_LE(config::MapHeight + 15.0f, 5000.0f);
  EXPECT_EQ(std::tuple(config::Levels[5].LevelSize, config::Levels[6].LevelSize, config::Levels[7].LevelSize),
            std::tuple(900, 4985 - 5 * 900, 0));
  // The stone floor sits at the held bottom.
  const int bottom = static_cast<int>(config::MapHeight);
  EXPECT_EQ(world::TileAt(5, static_cast<Single>(bottom)), world::kStone);
}

TEST_F(TuningRead, ModeChoosesTheFileAndPlayedGamesComeFromTheSettings) {
  config::SaveSetting(config::AppName(), "Stats", "Number_Of_Played_Games", "7");
  WriteTuning("[Player]\nWalkSpeed=11\n", /*story=*/true);
  WriteTuning("[Player]\nWalkSpeed=22\n", /*story=*/false);
  config::GameOptions.GameMode_Story = true;
  const world::NewGameRead read = world::StartNewGame();
  EXPECT_FLOAT_EQ(config::Tuning.WalkSpeed, 11.0f);
  EXPECT_EQ(config::PlayedGames, 7);
  // The file has no level table and places neither the drills nor the water.
  EXPECT_EQ(std::tuple(read.levels, read.positions.DrillStart, read.positions.WaterStartup), std::tuple(false, false, false));
  config::GameOptions.GameMode_Story = false;
  world::StartNewGame();
  EXPECT_FLOAT_EQ(config::Tuning.WalkSpeed, 22.0f);
}

TEST_F(TuningRead, ANewGameClearsTheWorldOfTheLastOne) {
  StartGame(false);
  world::Score = 500;
  core::ScrollY = -900;
  core::GameOver = true;
  world::FallingTiles[3].Active = true;
  world::Particles[10].Life = 20;
  world::ExplosionEffects[2].Active = true;
  world::ScorePopups[4].Active = true;
  world::WaterWave[100] = 7;
  world::BootTime = 30;
  world::TileAt(3, 2000, 9);
  StartGame(false);
  EXPECT_EQ(std::tuple(world::Score, core::ScrollY, world::WaterWave[100], world::BootTime), std::tuple(0.0f, 0.0f, 0.0f, 0.0f));
  EXPECT_EQ(std::tuple(core::GameOver, world::FallingTiles[3].Active, world::ExplosionEffects[2].Active,
                       world::ScorePopups[4].Active, world::Particles[10].Life),
            std::tuple(false, false, false, false, 0));
  EXPECT_EQ(world::TileAt(3, 2000), 0);  // below the shaft: cleared too
}

}  // namespace
}  // namespace tw::testing
