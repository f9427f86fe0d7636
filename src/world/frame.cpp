#include "world/frame.h"

#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/effects.h"
#include "world/grid.h"
#include "world/level_scroll.h"
#include "world/looks.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace tw::world {

namespace {

Single NextLevelSpeed() {
  const int row = core::CurrentLevel + 1;
  if (row < 0 || row >= static_cast<int>(config::Levels.size())) return 0.0f;
  return config::Levels[static_cast<std::size_t>(row)].ScreenSpeed;
}

void VisibleCellRules() {
  const std::int32_t top = TopRow();
  for (std::int32_t row = top; row <= top + 15; ++row) {
    if (static_cast<Single>(row) > config::MapHeight) break;
    for (int col = 0; col <= 14; ++col) {
      if (TileAt(static_cast<Single>(col), static_cast<Single>(row)) == kEmpty) continue;
      GlassBombCell(col, row);
      WaterContactCell(col, row);
      DrillContactCell(col, row);
    }
  }
  GlassBombPending = false;  // the conversion lasts one frame
}

// The screen darkens after the end of a game, then the menu takes over.
bool HandBack() {
  Looks.HandBackShown = EndFade > 0;
  if (!Looks.HandBackShown) return false;
  EndFade -= 2;
  if (EndFade > 0) return false;
  core::InGame = false;
  return true;
}

}  // namespace

void ApplyCommands(const core::FrameCommands& c) {
  if (c.ToggleDebugWindow) core::DebugWindowVisible = !core::DebugWindowVisible;
  // A game the test keys changed keeps its score out of the high-score table.
  // Showing the window changes nothing; a replay played back (the autoplayer's
  // attract games among them) and a game already over are not the player's.
  const bool testKey = c.ScrollAhead || c.ScrollBack || c.CreatureToTop || c.ViewToCreature ||
                       c.FillBombs || c.Lighter || c.Heavier || c.GlassBomb;
  if (testKey && !core::ReplayPlayback && !core::GameOver) core::TestKeysUsed = true;
  if (c.ScrollAhead) {
    // Speed x 5 is a Single product; only the step time brings in Double.
    core::ScrollY = static_cast<Single>(static_cast<double>(core::ScrollY) +
                                        static_cast<double>(NextLevelSpeed() * 5.0f) * core::FrameTime);
  }
  if (c.ScrollBack) {
    core::ScrollY = static_cast<Single>(static_cast<double>(core::ScrollY) -
                                        static_cast<double>(NextLevelSpeed()) * core::FrameTime * 10.0);
  }
  if (c.CreatureToTop) Player.Y = -core::ScrollY + 96.0f;
  if (c.ViewToCreature) core::ScrollY = -Player.Y + 160.0f;
  if (c.GiveUp && EndFade == 0.0f) {
    core::Paused = false;
    EndGame();
  }
  for (int k = 0; k < c.EndPlaybackKeys; ++k) {
    if (EndFade == 0.0f) EndGame();
  }
  if (c.Bomb) Explode(0);
  if (c.TogglePause && !core::GameOver) core::Paused = !core::Paused;
  if (c.FillBombs) Bombs = 100;
  if (c.Lighter) Player.Weight -= 1.0f;
  if (c.Heavier) Player.Weight += 1.0f;
  if (c.GlassBomb) GlassBombPending = true;
}

void Step() {
  UpdatePlayer();
  UpdateTiles();
  LowerDrills();
  ScoreStep("");
  DriftClouds();
  TrackLevelAndScroll();
}

bool RunFrameRules() {
  VisibleCellRules();
  AnimateCreature();
  SpinFallingTiles();
  SpinDebris();
  UpdateBonuses();
  UpdateExplosions();
  UpdateParticles();
  JitterDrills();
  MoveWater();
  UpdateScorePopups();
  NoteArrowHints();
  TickBonusTimers();
  AdvanceBanner();
  if (Score < 0.0f) Score = 0.0f;
  AdvancePauseFade();
  return HandBack();
}

}  // namespace tw::world
