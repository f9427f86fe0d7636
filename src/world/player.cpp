#include "world/player.h"

#include <string>

#include "audio/sound.h"
#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/effects.h"
#include "world/grid.h"
#include "core/random.h"
#include "world/safe_divide.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace tw::world {

PlayerState Player{};
bool GameWon = false;
bool EndReady = false;
Single EndFade = 0;
std::string TypedName;
std::string LastName;
Long LastGameScore = 0;

namespace {

PlayerState& P = Player;

// Probes: the cell under the point (X + a, Y + b) of the creature's box.
Single ProbeCol(Single a) { return static_cast<Single>(num::PixelToCell(static_cast<double>(P.X + a))); }
Single ProbeRow(Single b) { return static_cast<Single>(num::PixelToCell(static_cast<double>(P.Y + b))); }
Integer CellAt(Single a, Single b) { return TileAt(ProbeCol(a), ProbeRow(b)); }
Integer MaterialAt(Single a, Single b) { return MaterialOf(CellAt(a, b)); }
bool Solid(Single a, Single b) { return CellAt(a, b) > 0; }
bool Empty(Single a, Single b) { return CellAt(a, b) == 0; }
void Touch(Single a, Single b) { TouchAt(ProbeCol(a), ProbeRow(b), true, true); }
void Hit(Single a, Single b, Single force) { HitTile(ProbeCol(a), ProbeRow(b), force, true, false); }

// Snaps a coordinate to the top-left of its cell, plus `cells` cells.
Single SnapToCell(Single v, Long cells) {
  return static_cast<Single>((num::CLng(static_cast<double>(v)) / 32 + cells) * 32);
}

// The creature's box never leaves the grid sideways: a start column past the
// grid or a walking step longer than a tile (both only from an edited tuning
// file) would otherwise carry it through the walls into cells that do not exist.
Single OnGrid(Single x) {
  constexpr Single kRightmost = static_cast<Single>((core::kGridColumns - 1) * core::TileSize);
  if (!(x >= 0.0f)) return 0.0f;  // NaN too
  return x > kRightmost ? kRightmost : x;
}

Single ScreenRise() {
  const int level = core::CurrentLevel;
  if (level < 0 || level >= static_cast<int>(config::Levels.size())) return 0.0f;
  return -(config::Levels[static_cast<std::size_t>(level)].ScreenSpeed / 50.0f);
}

// Walking distance of one step on material m, before the direction.
double WalkStep(Integer m, double w) {
  const auto& t = config::Tuning;
  const double dt = core::FrameTime;
  const double speed = static_cast<double>(t.WalkSpeed);
  // Speed over divisor and speed times factor are Single results; only the
  // step time brings in Double precision.
  if (m == kMatMud) {
    const Single perSecond = static_cast<Single>(SafeDivide(speed, static_cast<double>(t.WalkSpeed_Mud_DEVIDER)));
    return static_cast<double>(perSecond) * dt * w;
  }
  if (m == kMatIce) {
    const Single perSecond = t.WalkSpeed_Ice_MULTIPLY * t.WalkSpeed;
    return static_cast<double>(perSecond) * dt * w;
  }
  return speed * dt * w;
}

// Three gum flecks on one side of the creature. Each offset is added to X on
// its own (X + 18, not X + 22 - 4) so the Single sums round alike.
void GumFlecksRight(Single y) {
  for (Single dx : {22.0f, 18.0f, 14.0f}) {
    SpawnParticle(kParticleGum, P.X + dx + 80.0f, y, 0.5f, ScreenRise(), -4.0f, 60.0f, true);
  }
}

void GumFlecksLeft(Single y) {
  for (Single dx : {-5.0f, -9.0f, -13.0f}) {
    SpawnParticle(kParticleGum, P.X + dx + 80.0f, y, -0.5f, ScreenRise(), 4.0f, 60.0f, true);
  }
}

void Footprint(Integer kind, Single life) {
  const Single y = P.Y + 24.0f + core::ScrollY;
  if (core::IsDown(core::key::Left)) {
    SpawnParticle(kind, P.X + 22.0f + 80.0f, y, 0.5f, ScreenRise(), -4.0f, life, true);
  } else {
    SpawnParticle(kind, P.X - 5.0f + 80.0f, y, -0.5f, ScreenRise(), 4.0f, life, true);
  }
}

// A jump, or a brake while falling.
void Jump() {
  const auto& t = config::Tuning;
  const double dt = core::FrameTime;
  auto& c = core::Controls;
  // 1. Jump, or a brake while falling.
  if (c.JumpRequest) {
    if (P.VelocityY > 0.0f) {
      P.VelocityY = static_cast<Single>(static_cast<double>(P.VelocityY) / (EarsOn() ? 4.0 / 3.0 : 10.0 / 9.0));
      P.SwooshTimer = 3.0f;
      audio::PlaySound("swoosh", false, 90, 0, 26);
    } else if (!P.Airborne) {
      P.Airborne = true;
      P.VelocityY = static_cast<Single>(-(static_cast<double>(t.Jump_Force) * dt));
      P.Y -= 1.0f;
      // The pitch is worked out in Single before it is rounded.
      const Single pitch = (P.Weight - 4.0f) * 4.0f + 22.0f;
      audio::PlaySound("jump", false, 100, 0, num::CLng(static_cast<double>(pitch)));
    }
    c.JumpRequest = false;
  }
}

// Walking (on ice a move keeps going until something stops it), its sound and footprints.
void Walk() {
  auto& c = core::Controls;
  // 2.-5. Walking; on ice a move keeps going until something stops it.
  const double w = BootsOn() ? 1.5 : 1.0;
  P.OnIce = MaterialAt(26, 36) == kMatIce || MaterialAt(6, 36) == kMatIce;
  if (c.MoveLeft) {
    const Integer m = MaterialAt(16, 36);
    if (MaterialAt(-4, 30) == 0) {
      P.X = static_cast<Single>(static_cast<double>(P.X) - WalkStep(m, w));
      if (!P.OnIce) c.MoveLeft = false;
    }
  }
  if (c.MoveRight) {
    const Integer m = MaterialAt(16, 36);
    if (MaterialAt(36, 30) == 0) {
      P.X = static_cast<Single>(static_cast<double>(P.X) + WalkStep(m, w));
      if (!P.OnIce) c.MoveRight = false;
    }
  }
  P.X = OnGrid(P.X);

  // 6. Walking sound and footprints.
  if (P.X != P.PrevX && !P.Airborne) {
    if (!P.WalkSoundOn) {
      audio::PlaySound("walk", true, 94, 0, 0);
      P.WalkSoundOn = true;
    }
    const Integer f1 = MaterialAt(6, 36);
    const Integer f2 = MaterialAt(26, 36);
    if (num::FloorToLong(3.0 * static_cast<double>(core::Rnd())) == 2 && (f1 == kMatMud || f2 == kMatMud)) {
      Footprint(kParticleMud, 50.0f);
    }
    if (num::FloorToLong(2.0 * static_cast<double>(core::Rnd())) == 1 && (f1 == kMatIce || f2 == kMatIce)) {
      Footprint(kParticleIce, 60.0f);
    }
  } else {
    audio::StopSound("walk");
    P.WalkSoundOn = false;
  }
  // 7.
  P.PrevX = P.X;
}

// Gravity while nothing is underfoot.
void Air() {
  const double dt = core::FrameTime;
  // 8. Gravity.
  if (Empty(26, 32) && Empty(4, 32)) {
    P.VelocityY = static_cast<Single>(static_cast<double>(P.VelocityY) + static_cast<double>(P.Weight) * dt);
    if (P.VelocityY >= 6.0f) {
      SpawnParticle(kParticleDust, P.X + 80.0f, P.Y + core::ScrollY, 0.0f, ScreenRise(), 2.0f, 30.0f, true);
      SpawnParticle(kParticleStreak, P.X + 80.0f + core::Rnd() * 4.0f - 2.0f, P.Y + core::ScrollY - 15.0f, 0.0f,
                    ScreenRise(), 2.0f, 20.0f, true);
    }
  }
}

// Ground contact by material: gum bounces, glass breaks, the rest is knocked.
void Landing() {
  const auto& t = config::Tuning;
  // 9. Ground contact.
  if (Solid(26, 32) || Solid(4, 32)) {
    if (Solid(4, 32)) Touch(4, 32);
    if (Solid(26, 32)) Touch(26, 32);
    if (P.VelocityY > 0.0f && (MaterialAt(18, 32) == kMatGum || MaterialAt(14, 32) == kMatGum)) {
      Hit(3, 32, P.VelocityY);
      Hit(28, 32, P.VelocityY);
      if (P.VelocityY > 0.5f) audio::PlaySound("boing", false, 80, 0, 0);
      P.VelocityY = static_cast<Single>(
          -SafeDivide(static_cast<double>(P.VelocityY), static_cast<double>(t.BounceFrom_Gum_DEVIDER)));
      const Single y = P.Y + 24.0f + core::ScrollY;
      if (MaterialAt(26, 36) == kMatGum) GumFlecksRight(y);
      if (MaterialAt(6, 36) == kMatGum) GumFlecksLeft(y);
    }
    P.GlassHit = false;
    const Single glassForce = t.Hit_SmashOnForce + P.VelocityY - t.Smash_Glass_ForceNeeded;
    if (CellAt(3, 32) == kGlass) {
      Hit(3, 32, glassForce);
      P.GlassHit = true;
    }
    if (CellAt(28, 32) == kGlass) {
      Hit(28, 32, glassForce);
      P.GlassHit = true;
    }
    Hit(3, 32, P.VelocityY);
    Hit(28, 32, P.VelocityY);
    if (P.GlassHit) {
      P.VelocityY = static_cast<Single>(
          SafeDivide(static_cast<double>(P.VelocityY), static_cast<double>(t.SlowDown_AfterHit_Ice_DEVIDER)));
    } else if (P.VelocityY > 0.0f) {
      P.VelocityY = static_cast<Single>(
          -SafeDivide(static_cast<double>(P.VelocityY), static_cast<double>(t.BounceFrom_Everything_DEVIDER)));
    }
  }
}

// Moving, snapping to the floor and out of the walls, the head, side touches and falling tiles.
void Settle() {
  // 10.-12. Move, snap to the floor, drop into one-tile holes.
  P.Y += P.VelocityY;
  if (Solid(16, 32)) P.Y = SnapToCell(P.Y, 0);
  if (Solid(36, 33) && Solid(-4, 33) && Empty(36, 28) && Empty(-4, 28) && Empty(16, 33) && Empty(16, 65)) {
    P.Y += 2.0f;
  }

  // 13. Airborne.
  if (Empty(28, 33) && Empty(4, 33)) {
    P.Airborne = true;
  } else {
    if (P.Airborne) audio::PlaySound("fall1", false, 85, 0, 0);
    P.Airborne = false;
  }

  // 14. Out of the walls.
  if (Solid(0, 4)) P.X = SnapToCell(P.X, 1);
  if (Solid(0, 28)) P.X = SnapToCell(P.X, 1);
  if (Solid(32, 4)) P.X = SnapToCell(P.X, 0);
  if (Solid(32, 28)) P.X = SnapToCell(P.X, 0);

  // 15. Head.
  for (Single a : {4.0f, 28.0f}) {
    if (Solid(a, 0)) {
      P.Y = SnapToCell(P.Y, 1);
      if (P.VelocityY < 0.0f) P.VelocityY = 0;
    }
  }

  // 16. Side touches.
  if (Solid(-4, 28)) Touch(-4, 28);
  if (Solid(35, 28)) Touch(35, 28);

  // 17. Falling tiles on the head or under the feet.
  for (FallingTile& f : FallingTiles) {
    if (!f.Active) continue;
    if (P.Y - 32.0f < f.Y && f.Y < P.Y && P.X - 28.0f < f.X && f.X < P.X + 28.0f) {
      if (P.VelocityY < f.VelocityY) P.VelocityY += f.VelocityY / 3.0f;
      f.Y -= 2.0f;
      if (f.VelocityY >= 0.0f) f.VelocityY = static_cast<Single>(static_cast<double>(f.VelocityY) * (1.0 / 3.0));
      f.Touched = true;
    }
    if (P.Y < f.Y && f.Y < P.Y + 35.0f && P.X - 24.0f < f.X && f.X < P.X + 24.0f) {
      P.Y -= 1.0f;
      if (P.VelocityY >= 0.0f) P.VelocityY = static_cast<Single>(static_cast<double>(P.VelocityY) * (1.0 / 3.0));
      f.Touched = true;
    }
  }
}

// The drill warning, the water, and the end of the game: lost or won.
void EndChecks() {
  // 18. Drill warning.
  const Single s = core::ScrollY + P.Y + DrillY;
  if (s < 1.0f && P.VelocityY > 0.0f && !P.NeedleWarned) {
    audio::PlaySound("nidle", false, 100, 0, 0);
    P.NeedleWarned = true;
  } else if (s > 1.0f && P.VelocityY > 0.0f) {
    P.NeedleWarned = false;
  }

  // 19. Water.
  const Single bottom = core::ScrollY + P.Y + 32.0f;
  const Single line = WaterY + 5.0f;
  if (line < bottom && !P.InWater) {
    P.InWater = true;
    if (config::GameOptions.Details_High) {
      audio::PlaySound("waterhit" + std::to_string(core::RandomWhole(1, 5)), false, 92, 0, 0);
    }
    Long from = num::CLng(static_cast<double>(P.X));
    Long to = num::CLng(static_cast<double>(P.X + 32.0f));
    if (ClampToWavePixels(from, to)) {
      for (Long i = from; i <= to; ++i) DisturbWater(static_cast<long>(i / 2 - 13), 2.0 * static_cast<double>(P.VelocityY));
    }
  } else if (line > bottom) {
    P.InWater = false;
  }

  // 20. Lost: the drills reach the creature, or it leaves the bottom of the canvas.
  if (P.Y < DrillTipWorldY() || P.Y > 480.0f - core::ScrollY) {
    audio::StopSound("walk");
    EndGame();
  }

  // 21. Won: below the last rows of the shaft.
  if (static_cast<double>(config::MapHeight) - 4.0 < static_cast<double>(num::CLng(static_cast<double>(P.Y)) / 32)) {
    GameWon = true;
    EndGame();
  }
}

}  // namespace

void ResetPlayer() {
  const auto& t = config::Tuning;
  P = PlayerState{};
  P.X = OnGrid(t.Position_Tile_X);
  P.Y = t.Position_Tile_Y;
  P.PrevX = P.X;
  P.Weight = t.Weight;
  GameWon = false;
}

void UpdatePlayer() {
  if (core::GameOver) return;
  Jump();
  Walk();
  Air();
  Landing();
  Settle();
  EndChecks();
}

void EndGame() {
  core::GameOver = true;
  EndReady = false;
  TypedName = LastName;
  audio::StopSound("walk");
  ComboCount = 0;
  ComboMultiplier = 1.0f;
  if (static_cast<double>(Score) < static_cast<double>(config::HighScores[9].Score)) {
    EndReady = true;
    EndFade = 100;
    audio::PlaySound("done", false, 90, 0, 20);
  } else {
    audio::PlaySound("done", false, 90, 0, 30);
  }
  if (!core::ReplayPlayback) LastGameScore = num::CLng(static_cast<double>(Score));
}

}  // namespace tw::world
