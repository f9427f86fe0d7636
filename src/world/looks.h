// How the game screen looks beyond the world's own positions: the creature's
// wobble, squint and trail, the spin of falling tiles and debris, the drills'
// jitter, the water's strips, the level banner, the arrow hints and the pause
// overlay's fade. They advance in the frame's rules pass, not while drawing:
// the wobble and the spins draw from the one random generator between the
// world's rules, so their place in the frame is part of how the world evolves.
// The game screen only reads them.
#pragma once

#include <array>

#include "core/numeric.h"
#include "world/tile_dynamics.h"

namespace tw::world {

inline constexpr int kDrillColumns = 13;     // columns 1..13
inline constexpr int kWaterStrips = 209;     // canvas x 31, 33, ... 447

struct WaterStrip {
  Single top = 0;     // canvas y of the surface strip
  Single foam = 0;    // canvas y of the second strip
  Single height = 0;  // drawn only when above 0
  bool foamOn = false;
};

struct LooksState {
  Integer ShownLevel = 0;   // the level whose banner was last started
  Integer BannerTime = 0;   // frames of banner left
  Integer BannerAlpha = 0;
  bool BannerShown = false;
  Integer PauseFade = 0;    // opacity of the pause overlay, 0..100
  bool PauseShown = false;
  bool ArrowHintsOn = false;
  // The creature's last three screen positions (world x, canvas y), 0 newest.
  std::array<Single, 3> TrailX{};
  std::array<Single, 3> TrailY{};
  Single Wobble = 0;     // the creature's drawing angle
  Single Squint = 0;     // 0..100, rises while it falls
  Single EyeOffset = 0;  // Squint / 15, at most 3
  Single WaterPhaseA = 0;
  Single WaterPhaseB = 0;
  bool WaterShown = false;
  std::array<WaterStrip, kWaterStrips> Water{};
  // Drawing angles of falling tiles and smash debris, drawn afresh each
  // unpaused frame and kept while paused; shown = on the canvas when spun.
  std::array<Single, kFallingTileSlots> FallingAngle{};
  std::array<bool, kFallingTileSlots> FallingShown{};
  std::array<Single, kDebrisSlots> DebrisAngle{};
  std::array<bool, kDebrisSlots> DebrisShown{};
  std::array<Single, kDrillColumns> DrillAngle{};
  // The screen darkening at the hand-back to the menu, this frame.
  bool HandBackShown = false;
};
extern LooksState Looks;

// The banner and the look-ahead arrows start afresh with a new game.
void ResetLooks();

// The steps of the rules pass that move the looks, in the pass's order.
void AnimateCreature();
void SpinFallingTiles();
void SpinDebris();  // also the dust behind debris below the drills
void JitterDrills();
void MoveWater();   // the water line and surface (high detail), strips kept
void NoteArrowHints();
void AdvanceBanner();
void AdvancePauseFade();

// The row at the top of the canvas.
std::int32_t TopRow();
// Pixels per frame the screen rises at the current level (negative).
Single ScreenRise();

}  // namespace tw::world
