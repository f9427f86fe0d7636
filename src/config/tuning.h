// Game tuning: every number that shapes play, read from the mode's tuning
// file at each new game, and the ten-level table.
#pragma once

#include <array>
#include <string>

#include "config/ini_store.h"
#include "core/numeric.h"

namespace tw::config {

struct LevelSpec {
  Integer PlatformSize = 0;
  Single ScreenSpeed = 0;
  Integer OnEachPlatformSkipLines = 0;
  Integer LevelSize = 0;
  std::string TileType;
};

// Rows 1..10 are the levels, row 11 the end zone; row 0 and 12..31 stay zero.
extern std::array<LevelSpec, 32> Levels;
// Sum of the level sizes 1..10, in rows.
extern Single MapHeight;
// Played live games, from the user's settings store.
extern Integer PlayedGames;

// Fields are named after their keys. Values marked "/10" are stored already
// divided (the file holds ten times the value), "/15" likewise.
struct GameTuning {
  // Section "Misc".
  Long ShowCursor_InFullscreen = 0;
  bool DebugWindow_Visible = false;

  // Section "Map Precentage": weights of the six materials, index 1..6.
  std::array<Integer, 7> MapPercentage{};

  // Section "Player".
  Single Position_Tile_X = 0;  // start x in pixels (tiles x 32)
  Single Position_Tile_Y = 0;  // start y in pixels
  Single WalkSpeed = 0;        // pixels per second
  Single WalkSpeed_Mud_DEVIDER = 0;
  Single WalkSpeed_Ice_MULTIPLY = 0;  // /15
  Single Weight = 0;                  // /10; pixels per second per step of fall
  Single SlowDown_AfterHit_Ice_DEVIDER = 0;
  Single BounceFrom_Everything_DEVIDER = 0;
  Single BounceFrom_Gum_DEVIDER = 0;  // /10
  Single Smash_Glass_ForceNeeded = 0;
  Single Jump_Force = 0;
  Single Bonus_BombsAtStart = 0;

  // Section "Falling_Tiles".
  Single FallingTiles_Weight = 0;
  Single Hit_PushOnForce = 0;
  Single Hit_SmashOnForce = 0;
  Integer Smashing_Explosion_Distance = 0;
  bool Continue_Falling_After_PushingAnotherTile = false;

  // Section "Score".
  Single Staying_Alive = 0;
  Single Falling_Speed = 0;
  Single Hit_PushTile = 0;
  Single Hot_SmashTile = 0;
  Single Combo_LastsFor_Seconds = 0;
  Single Combo_OnHitTile_AppendToMultiplyer = 0;  // /10
  bool Graphic_BackLayer = false;
  std::string Graphic_RGB;
  bool Graphic_Combo_Visible = false;
  std::string Graphic_Combo_RGB;
  bool Graphic_ComboOverPlayer_Visible = false;
  bool ScoreIs_ComboPlusScore = false;
  Single Bonus_BombGlass_Points = 0;  // /10
  Single Bonus_Bomb_Points = 0;       // /10
  Integer Bonus_Pie_Points = 0;
  Single Bonus_Boot_Points = 0;
  Single Bonus_Ears_Points = 0;

  // Section "Sharp drills".
  Single Starting_Position_Y = 0;
  Single Speed_of_Lowering = 0;  // pixels per second
  Long HitStone_GoBack_Pixels = 0;

  // Section "Bonus".
  Integer NumOf_BigEars = 0;
  Integer NumOf_Bomb = 0;
  Integer NumOf_BombGlass = 0;
  Integer NumOf_Boots = 0;
  Integer NumOf_Pie = 0;
  Single Bomb_Weight = 0;  // /10
  Single Pie_Weight = 0;   // /10
  Single Boot_Weight = 0;  // /10
  Single Bonus_Boot_Time = 0;  // seconds
  Single Ears_Weight = 0;      // x0.1
  Single Bonus_Ears_Time = 0;  // seconds

  // Section "Water": heights above the canvas bottom, in pixels.
  Double StartupHeight = 0;
  Double FixedHeight = 0;
};

extern GameTuning Tuning;

// The tuning file of the current game mode.
std::string TuningFile();

// Reads the level table from a tuning file already read (one read serves a
// whole load); stops at the first missing or malformed value. True when the
// whole table was read.
bool ReadLevels(const IniFileText& file);
// Sets the built-in level table (rows 1..11) and the map height.
void SetDefaultLevels();
// The sum of the level sizes 1..10.
Single ComputeMapHeight();
// Which of the keys that also place the drills and the water were read.
struct StartPositionsRead {
  bool DrillStart = false;   // "Sharp drills" / "Starting_Position_Y"
  bool WaterStartup = false; // "Water" / "StartupHeight"
  bool WaterFixed = false;   // "Water" / "FixedHeight"
};
// Reads every tuning key (not the levels) from `file` into Tuning, leaving a
// field unchanged when its key is missing or malformed.
StartPositionsRead ReadTuning(const std::string& file);
StartPositionsRead ReadTuning(const IniFileText& file);

}  // namespace tw::config
