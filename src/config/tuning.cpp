#include "config/tuning.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <variant>
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

// The tuning keys in the order they are read (the order shows through the
// defaults a game keeps when one fails to read, and Score/Bonus_Bomb_Points
// is read twice). A Single is multiplied by `by`, or with kDivide read as a
// Double and divided by it.
enum SingleRead : bool { kScale = false, kDivide = true };
struct TuningKey {
  const char* section;
  const char* key;
  std::variant<Single GameTuning::*, Integer GameTuning::*, Long GameTuning::*, Double GameTuning::*,
               bool GameTuning::*, std::string GameTuning::*>
      field;
  double by = 1.0;
  SingleRead how = kScale;
  bool StartPositionsRead::*noted = nullptr;  // set when the key was read
};

const TuningKey kTuningKeys[] = {
    {"Player", "Position_Tile_X", &GameTuning::Position_Tile_X, core::TileSize},
    {"Player", "Position_Tile_Y", &GameTuning::Position_Tile_Y, core::TileSize},
    {"Player", "WalkSpeed", &GameTuning::WalkSpeed},
    {"Player", "WalkSpeed_Mud_DEVIDER", &GameTuning::WalkSpeed_Mud_DEVIDER},
    {"Player", "WalkSpeed_Ice_MULTIPLY", &GameTuning::WalkSpeed_Ice_MULTIPLY, 15.0, kDivide},
    {"Player", "Weight", &GameTuning::Weight, 10.0, kDivide},
    {"Player", "SlowDown_AfterHit_Ice_DEVIDER", &GameTuning::SlowDown_AfterHit_Ice_DEVIDER},
    {"Player", "BounceFrom_Everything_DEVIDER", &GameTuning::BounceFrom_Everything_DEVIDER},
    {"Player", "BounceFrom_Gum_DEVIDER", &GameTuning::BounceFrom_Gum_DEVIDER, 10.0, kDivide},
    {"Player", "Smash_Glass_ForceNeeded", &GameTuning::Smash_Glass_ForceNeeded},
    {"Player", "Jump_Force", &GameTuning::Jump_Force},
    {"Falling_Tiles", "Weight", &GameTuning::FallingTiles_Weight},
    {"Falling_Tiles", "Hit_PushOnForce", &GameTuning::Hit_PushOnForce},
    {"Falling_Tiles", "Hit_SmashOnForce", &GameTuning::Hit_SmashOnForce},
    {"Falling_Tiles", "Smashing_Explosion_Distance", &GameTuning::Smashing_Explosion_Distance},
    {"Falling_Tiles", "Continue_Falling_After_PushingAnotherTile", &GameTuning::Continue_Falling_After_PushingAnotherTile},
    {"Score", "Staying_Alive", &GameTuning::Staying_Alive},
    {"Score", "Falling_Speed", &GameTuning::Falling_Speed},
    {"Score", "Hit_PushTile", &GameTuning::Hit_PushTile},
    {"Score", "Hot_SmashTile", &GameTuning::Hot_SmashTile},
    {"Score", "Combo_LastsFor_Seconds", &GameTuning::Combo_LastsFor_Seconds},
    {"Score", "Combo_OnHitTile_AppendToMultiplyer", &GameTuning::Combo_OnHitTile_AppendToMultiplyer, 10.0, kDivide},
    {"Score", "Graphic_BackLayer", &GameTuning::Graphic_BackLayer},
    {"Score", "Graphic_RGB", &GameTuning::Graphic_RGB},
    {"Score", "Graphic_Combo_Visible", &GameTuning::Graphic_Combo_Visible},
    {"Score", "Graphic_Combo_RGB", &GameTuning::Graphic_Combo_RGB},
    {"Score", "Graphic_ComboOverPlayer_Visible", &GameTuning::Graphic_ComboOverPlayer_Visible},
    {"Score", "ScoreIs_ComboPlusScore", &GameTuning::ScoreIs_ComboPlusScore},
    {"Sharp drills", "Starting_Position_Y", &GameTuning::Starting_Position_Y, 1.0, kScale, &StartPositionsRead::DrillStart},
    {"Sharp drills", "Speed_of_Lowering", &GameTuning::Speed_of_Lowering},
    {"Sharp drills", "HitStone_GoBack_Pixels", &GameTuning::HitStone_GoBack_Pixels},
    {"Player", "Bonus_BombsAtStart", &GameTuning::Bonus_BombsAtStart},
    {"Bonus", "NumOf_BigEars", &GameTuning::NumOf_BigEars},
    {"Bonus", "NumOf_Bomb", &GameTuning::NumOf_Bomb},
    {"Bonus", "NumOf_BombGlass", &GameTuning::NumOf_BombGlass},
    {"Bonus", "NumOf_Boots", &GameTuning::NumOf_Boots},
    {"Bonus", "NumOf_Pie", &GameTuning::NumOf_Pie},
    {"Score", "Bonus_BombGlass_Points", &GameTuning::Bonus_BombGlass_Points, 10.0, kDivide},
    {"Score", "Bonus_Bomb_Points", &GameTuning::Bonus_Bomb_Points, 10.0, kDivide},
    {"Bonus", "Bomb_Weight", &GameTuning::Bomb_Weight, 10.0, kDivide},
    {"Score", "Bonus_Bomb_Points", &GameTuning::Bonus_Bomb_Points, 10.0, kDivide},
    {"Bonus", "Pie_Weight", &GameTuning::Pie_Weight, 10.0, kDivide},
    {"Score", "Bonus_Pie_Points", &GameTuning::Bonus_Pie_Points},
    {"Bonus", "Boot_Weight", &GameTuning::Boot_Weight, 10.0, kDivide},
    {"Score", "Bonus_Boot_Points", &GameTuning::Bonus_Boot_Points},
    {"Bonus", "Bonus_Boot_Time", &GameTuning::Bonus_Boot_Time},
    {"Bonus", "Ears_Weight", &GameTuning::Ears_Weight, 0.1},
    {"Score", "Bonus_Ears_Points", &GameTuning::Bonus_Ears_Points},
    {"Bonus", "Bonus_Ears_Time", &GameTuning::Bonus_Ears_Time},
    {"Water", "StartupHeight", &GameTuning::StartupHeight, 1.0, kScale, &StartPositionsRead::WaterStartup},
    {"Water", "FixedHeight", &GameTuning::FixedHeight, 1.0, kScale, &StartPositionsRead::WaterFixed},
};

bool ReadKey(const IniFileText& f, const TuningKey& k, Single& field) {
  if (k.how == kScale) return ReadSingle(f, k.section, k.key, field, k.by);
  ReadSingleDivided(f, k.section, k.key, field, k.by);
  return false;
}
bool ReadKey(const IniFileText& f, const TuningKey& k, Integer& field) {
  ReadInteger(f, k.section, k.key, field);
  return false;
}
bool ReadKey(const IniFileText& f, const TuningKey& k, Long& field) {
  ReadLong(f, k.section, k.key, field);
  return false;
}
bool ReadKey(const IniFileText& f, const TuningKey& k, Double& field) { return ReadDouble(f, k.section, k.key, field); }
bool ReadKey(const IniFileText& f, const TuningKey& k, bool& field) { return ReadBool(f, k.section, k.key, field); }
bool ReadKey(const IniFileText& f, const TuningKey& k, std::string& field) {
  ReadText(f, k.section, k.key, field);
  return false;
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

bool ReadLevels(const IniFileText& file) {
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
  return complete;
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

  for (const TuningKey& k : kTuningKeys) {
    const bool got = std::visit([&](auto field) { return ReadKey(f, k, t.*field); }, k.field);
    if (got && k.noted) read.*k.noted = true;
  }
  return read;
}

}  // namespace tw::config
