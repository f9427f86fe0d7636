#include "world/new_game.h"

#include <string>

#include "config/ini_store.h"
#include "config/settings_store.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/numeric.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/effects.h"
#include "world/grid.h"
#include "world/player.h"
#include "world/score.h"
#include "world/shaft_generator.h"
#include "world/tile_dynamics.h"

namespace tw::world {

NewGameRead StartNewGame() {
  // One read of the tuning file serves the whole set-up.
  const config::IniFileText file = config::ReadIniFile(config::TuningFile());

  core::GameOver = false;
  core::ScrollY = 0;
  ResetScoreAccumulators();
  ComboMultiplier = 1.0f;
  core::CurrentLevel = 0;
  core::TestKeysUsed = false;

  // The whole tile layer, end zone included, so nothing of an earlier shaft
  // survives below a shorter one.
  ClearTileLayer();

  ClearFallingTiles();
  ClearEffects();
  for (auto& popup : ScorePopups) popup.Active = false;
  WaterWave.fill(0.0f);
  BootTime = 0;
  EarsTime = 0;
  GlassBombPending = false;

  BuildTileTypes();
  config::SetDefaultLevels();

  if (auto v = num::ParseNumber(config::GetSetting(config::AppName(), "Stats", "Number_Of_Played_Games", "0"))) {
    if (auto i = num::CIntChecked(*v)) config::PlayedGames = *i;
  }

  // The drills' position and the water lines take a value as it is read, so a
  // missing key leaves them where the previous game left them.
  NewGameRead done;
  const config::StartPositionsRead read = done.positions = config::ReadTuning(file);
  const config::GameTuning& t = config::Tuning;
  if (read.DrillStart) DrillY = t.Starting_Position_Y;
  if (read.WaterStartup) WaterY = static_cast<Single>(static_cast<double>(CanvasHeight) - t.StartupHeight);
  if (read.WaterFixed) WaterFixedY = static_cast<Single>(static_cast<double>(CanvasHeight) - t.FixedHeight);
  core::DebugWindowVisible = t.DebugWindow_Visible;

  // The values the file gives as starting states.
  ResetPlayer();
  Bombs = t.Bonus_BombsAtStart;

  done.levels = config::ReadLevels(file);
  GenerateShaft();
  return done;
}

}  // namespace tw::world
