#include "config/tuning.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "config/ini_store.h"
#include "config/options.h"
#include "config/settings_store.h"
#include "core/geometry.h"
#include "platform/files.h"
#include "platform/video.h"

namespace tw::config {

std::array<LevelSpec, 32> Levels{};
Single MapHeight = 0;
Integer PlayedGames = 0;
GameTuning Tuning{};

namespace {

// Every read below follows one rule: a missing or malformed value (including
// one that does not fit its field) leaves the field as it was.
std::optional<double> ReadNumber(const IniFileText& file, const char* section, const char* key) {
  return num::ParseNumber(ReadIni(file, section, key));
}

// A number stored as a Single; values beyond the Single range count as
// malformed so that no infinity reaches the world state.
std::optional<Single> AsSingle(std::optional<double> v, double scale = 1.0) {
  if (!v) return std::nullopt;
  const double scaled = *v * scale;
  if (!std::isfinite(scaled) || std::fabs(scaled) > static_cast<double>(std::numeric_limits<Single>::max()))
    return std::nullopt;
  return static_cast<Single>(scaled);
}

bool ReadSingle(const IniFileText& f, const char* s, const char* k, Single& field, double scale = 1.0) {
  if (auto v = AsSingle(ReadNumber(f, s, k), scale)) {
    field = *v;
    return true;
  }
  return false;
}

// A value the file holds `divisor` times larger: read as a Double and divided
// (not multiplied by the reciprocal, which can round differently).
void ReadSingleDivided(const IniFileText& f, const char* s, const char* k, Single& field, double divisor) {
  auto v = ReadNumber(f, s, k);
  if (v) *v /= divisor;
  if (auto single = AsSingle(v)) field = *single;
}

// Kept as a Double, but within the Single range: it ends up in Single state.
bool ReadDouble(const IniFileText& f, const char* s, const char* k, Double& field) {
  auto v = ReadNumber(f, s, k);
  if (!AsSingle(v)) return false;
  field = *v;
  return true;
}

void ReadInteger(const IniFileText& f, const char* s, const char* k, Integer& field) {
  if (auto v = ReadNumber(f, s, k)) {
    if (auto i = num::CIntChecked(*v)) field = *i;
  }
}

void ReadLong(const IniFileText& f, const char* s, const char* k, Long& field) {
  if (auto v = ReadNumber(f, s, k)) {
    if (auto i = num::CLngChecked(*v)) field = *i;
  }
}

bool ReadBool(const IniFileText& f, const char* s, const char* k, bool& field) {
  if (auto b = num::ParseBool(ReadIni(f, s, k))) {
    field = *b;
    return true;
  }
  return false;
}

void ReadText(const IniFileText& f, const char* s, const char* k, std::string& field) {
  field = ReadIni(f, s, k);
}

}  // namespace

std::string TuningFile() {
  return platform::AppPath(GameOptions.GameMode_Story ? "\\Textures\\lvl1.bmp" : "\\Textures\\lvl2.bmp");
}

Single ComputeMapHeight() {
  Long sum = 0;
  for (int i = 1; i <= 10; ++i) sum += Levels[static_cast<std::size_t>(i)].LevelSize;
  return static_cast<Single>(sum);
}

void SetDefaultLevels() {
  struct Row {
    Integer platform, skip;
    Single speed;
    Integer size;
    const char* type;
  };
  static const Row kRows[12] = {
      {0, 0, 0, 0, ""},
      {3, 3, 90, 20, "green"},       {4, 3, 100, 30, "greendark"}, {3, 4, 120, 80, "bluelight"},
      {4, 4, 130, 100, "blue"},      {3, 4, 150, 120, "yellow"},   {4, 4, 160, 120, "orangedark"},
      {3, 4, 180, 130, "blue2"},     {3, 5, 210, 140, "bluedark"}, {3, 6, 250, 150, "brown"},
      {4, 7, 270, 160, "reddark"},   {14, 0, 0, 15, "green"},
  };
  for (auto& level : Levels) level = LevelSpec{};
  for (std::size_t i = 1; i < 12; ++i) {
    Levels[i] = LevelSpec{kRows[i].platform, kRows[i].speed, kRows[i].skip, kRows[i].size, kRows[i].type};
  }
  MapHeight = ComputeMapHeight();
}

namespace {

// Holds the levels inside the grid: the shaft plus its end zone must end by
// row 5000, so a level that would run past it is shortened (and the ones
// after it left empty).
void HoldLevelsInsideGrid() {
  const Long room = core::kLastGridRow - core::kEndZoneRows;
  Long sum = 0;
  for (int i = 1; i <= 10; ++i) {
    auto& size = Levels[static_cast<std::size_t>(i)].LevelSize;
    if (sum + size > room) size = static_cast<Integer>(room - sum < 0 ? 0 : room - sum);
    sum += size;
  }
}

}  // namespace

void ReadLevels(bool& readFile) {
  if (!readFile) return;
  ReadLevels(readFile, ReadIniFile(TuningFile()));
}

void ReadLevels(bool& readFile, const IniFileText& file) {
  if (!readFile) return;
  bool complete = true;
  for (int n = 1; n <= 10 && complete; ++n) {
    auto& level = Levels[static_cast<std::size_t>(n)];
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "Level-%02d_", n);
    const std::string p = prefix;
    auto integer = [&](const char* name, Integer& field) {
      if (!complete) return;
      auto v = num::ParseNumber(ReadIni(file, "Levels", p + name));
      std::optional<Integer> i = v ? num::CIntChecked(*v) : std::nullopt;
      if (!i) {
        complete = false;
        return;
      }
      field = *i;
    };
    integer("PlatformSize", level.PlatformSize);
    integer("OnEachPlatformSkipLines", level.OnEachPlatformSkipLines);
    if (complete) {
      auto v = AsSingle(num::ParseNumber(ReadIni(file, "Levels", p + "ScreenSpeed")));
      if (v) {
        level.ScreenSpeed = *v;
      } else {
        complete = false;
      }
    }
    integer("LevelSize", level.LevelSize);
    if (complete) level.TileType = ReadIni(file, "Levels", p + "TileType");
  }
  HoldLevelsInsideGrid();
  // A value missing part-way leaves the map height as the defaults gave it.
  if (complete) MapHeight = ComputeMapHeight();
}

StartPositionsRead ReadTuning(const std::string& file) { return ReadTuning(ReadIniFile(file)); }

StartPositionsRead ReadTuning(const IniFileText& f) {
  GameTuning& t = Tuning;
  StartPositionsRead read;
  if (GameOptions.FULL_SCREEN) {
    if (auto v = ReadNumber(f, "Misc", "ShowCursor_InFullscreen")) {
      if (auto i = num::CLngChecked(*v)) {
        t.ShowCursor_InFullscreen = *i;
        platform::SetCursorVisible(t.ShowCursor_InFullscreen != 0);
      }
    }
  }
  ReadBool(f, "Misc", "DebugWindow_Visible", t.DebugWindow_Visible);

  static const char* const kTiles[7] = {"", "Tile_Normal", "Tile_Mud", "Tile_Gum", "Tile_Ice", "Tile_Glass",
                                        "Tile_Stone"};
  for (std::size_t i = 1; i <= 6; ++i) ReadInteger(f, "Map Precentage", kTiles[i], t.MapPercentage[i]);

  ReadSingle(f, "Player", "Position_Tile_X", t.Position_Tile_X, core::TileSize);
  ReadSingle(f, "Player", "Position_Tile_Y", t.Position_Tile_Y, core::TileSize);
  ReadSingle(f, "Player", "WalkSpeed", t.WalkSpeed);
  ReadSingle(f, "Player", "WalkSpeed_Mud_DEVIDER", t.WalkSpeed_Mud_DEVIDER);
  ReadSingleDivided(f, "Player", "WalkSpeed_Ice_MULTIPLY", t.WalkSpeed_Ice_MULTIPLY, 15.0);
  ReadSingleDivided(f, "Player", "Weight", t.Weight, 10.0);
  ReadSingle(f, "Player", "SlowDown_AfterHit_Ice_DEVIDER", t.SlowDown_AfterHit_Ice_DEVIDER);
  ReadSingle(f, "Player", "BounceFrom_Everything_DEVIDER", t.BounceFrom_Everything_DEVIDER);
  ReadSingleDivided(f, "Player", "BounceFrom_Gum_DEVIDER", t.BounceFrom_Gum_DEVIDER, 10.0);
  ReadSingle(f, "Player", "Smash_Glass_ForceNeeded", t.Smash_Glass_ForceNeeded);
  ReadSingle(f, "Player", "Jump_Force", t.Jump_Force);

  ReadSingle(f, "Falling_Tiles", "Weight", t.FallingTiles_Weight);
  ReadSingle(f, "Falling_Tiles", "Hit_PushOnForce", t.Hit_PushOnForce);
  ReadSingle(f, "Falling_Tiles", "Hit_SmashOnForce", t.Hit_SmashOnForce);
  ReadInteger(f, "Falling_Tiles", "Smashing_Explosion_Distance", t.Smashing_Explosion_Distance);
  ReadBool(f, "Falling_Tiles", "Continue_Falling_After_PushingAnotherTile",
           t.Continue_Falling_After_PushingAnotherTile);

  ReadSingle(f, "Score", "Staying_Alive", t.Staying_Alive);
  ReadSingle(f, "Score", "Falling_Speed", t.Falling_Speed);
  ReadSingle(f, "Score", "Hit_PushTile", t.Hit_PushTile);
  ReadSingle(f, "Score", "Hot_SmashTile", t.Hot_SmashTile);
  ReadSingle(f, "Score", "Combo_LastsFor_Seconds", t.Combo_LastsFor_Seconds);
  ReadSingleDivided(f, "Score", "Combo_OnHitTile_AppendToMultiplyer", t.Combo_OnHitTile_AppendToMultiplyer, 10.0);
  ReadBool(f, "Score", "Graphic_BackLayer", t.Graphic_BackLayer);
  ReadText(f, "Score", "Graphic_RGB", t.Graphic_RGB);
  ReadBool(f, "Score", "Graphic_Combo_Visible", t.Graphic_Combo_Visible);
  ReadText(f, "Score", "Graphic_Combo_RGB", t.Graphic_Combo_RGB);
  ReadBool(f, "Score", "Graphic_ComboOverPlayer_Visible", t.Graphic_ComboOverPlayer_Visible);
  ReadBool(f, "Score", "ScoreIs_ComboPlusScore", t.ScoreIs_ComboPlusScore);

  read.DrillStart = ReadSingle(f, "Sharp drills", "Starting_Position_Y", t.Starting_Position_Y);
  ReadSingle(f, "Sharp drills", "Speed_of_Lowering", t.Speed_of_Lowering);
  ReadLong(f, "Sharp drills", "HitStone_GoBack_Pixels", t.HitStone_GoBack_Pixels);

  ReadSingle(f, "Player", "Bonus_BombsAtStart", t.Bonus_BombsAtStart);

  ReadInteger(f, "Bonus", "NumOf_BigEars", t.NumOf_BigEars);
  ReadInteger(f, "Bonus", "NumOf_Bomb", t.NumOf_Bomb);
  ReadInteger(f, "Bonus", "NumOf_BombGlass", t.NumOf_BombGlass);
  ReadInteger(f, "Bonus", "NumOf_Boots", t.NumOf_Boots);
  ReadInteger(f, "Bonus", "NumOf_Pie", t.NumOf_Pie);

  ReadSingleDivided(f, "Score", "Bonus_BombGlass_Points", t.Bonus_BombGlass_Points, 10.0);
  ReadSingleDivided(f, "Score", "Bonus_Bomb_Points", t.Bonus_Bomb_Points, 10.0);
  ReadSingleDivided(f, "Bonus", "Bomb_Weight", t.Bomb_Weight, 10.0);
  ReadSingleDivided(f, "Score", "Bonus_Bomb_Points", t.Bonus_Bomb_Points, 10.0);
  ReadSingleDivided(f, "Bonus", "Pie_Weight", t.Pie_Weight, 10.0);
  ReadInteger(f, "Score", "Bonus_Pie_Points", t.Bonus_Pie_Points);
  ReadSingleDivided(f, "Bonus", "Boot_Weight", t.Boot_Weight, 10.0);
  ReadSingle(f, "Score", "Bonus_Boot_Points", t.Bonus_Boot_Points);
  ReadSingle(f, "Bonus", "Bonus_Boot_Time", t.Bonus_Boot_Time);
  ReadSingle(f, "Bonus", "Ears_Weight", t.Ears_Weight, 0.1);
  ReadSingle(f, "Score", "Bonus_Ears_Points", t.Bonus_Ears_Points);
  ReadSingle(f, "Bonus", "Bonus_Ears_Time", t.Bonus_Ears_Time);

  read.WaterStartup = ReadDouble(f, "Water", "StartupHeight", t.StartupHeight);
  read.WaterFixed = ReadDouble(f, "Water", "FixedHeight", t.FixedHeight);
  return read;
}

}  // namespace tw::config
