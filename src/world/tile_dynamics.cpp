#include "world/tile_dynamics.h"

#include <cmath>
#include <string>

#include "audio/sound.h"
#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/effects.h"
#include "world/grid.h"
#include "world/player.h"
#include "core/random.h"
#include "world/safe_divide.h"
#include "world/score.h"

namespace tw::world {

std::array<FallingTile, kFallingTileSlots> FallingTiles{};
std::array<SmashDebris, kDebrisSlots> SmashDebrisList{};

namespace {

// Cell index of a world pixel position: round half to even, then truncate.
Single Cell(Single px) { return static_cast<Single>(num::PixelToCell(static_cast<double>(px))); }

Integer CellAtPixel(Single x, Single y) { return TileAt(Cell(x), Cell(y)); }

Single LevelScreenSpeed() {
  const int level = core::CurrentLevel;
  if (level < 0 || level >= static_cast<int>(config::Levels.size())) return 0.0f;
  return config::Levels[static_cast<std::size_t>(level)].ScreenSpeed;
}

bool IsSpecialCell(Integer v) {
  return v == 51 || v == 52 || v == 53 || v == 54 || v == 55 || v == 61 || v == 62;
}

// Falling-tile and debris positions are whole pixels of one cell; the water
// surface pixels they cover run from x to x + 32.
void DisturbWaterSpan(Single x, double amount) {
  Long from = num::CLng(static_cast<double>(x));
  Long to = num::CLng(static_cast<double>(x) + 32.0);
  if (!ClampToWavePixels(from, to)) return;
  for (Long px = from; px <= to; ++px) DisturbWater(static_cast<long>(px / 2) - 13, amount);
}

void Push(Single column, Single row, Single force, bool scoring, bool forceAll) {
  FallingTile* entry = nullptr;
  for (FallingTile& t : FallingTiles) {
    if (!t.Active) {
      entry = &t;
      break;
    }
  }
  const Integer cell = TileAt(column, row);
  if (cell == kEmpty || entry == nullptr) return;
  if (cell == kStone && !forceAll) return;
  audio::PlaySound("tilepush", false, 100, 0, 0);
  entry->Active = true;
  entry->X = column * 32.0f;
  entry->Y = row * 32.0f;
  entry->VelocityY = force / 3.0f;
  entry->TileType = static_cast<Single>(cell);
  // Compares a world y with the canvas water line, as the original does; the
  // tile pass clears the flag again while the tile is above the water.
  if (entry->Y + 32.0f > WaterY) entry->Splashed = true;
  entry->Touched = TouchAt(column, row, false, false);
  if (!config::GameOptions.GameMode_Story) entry->Touched = true;
  TileAt(column, row, kEmpty);
  TouchAt(column, row, true, false);
  if (scoring) {
    ScoreStep("brick_push");
    ShowScorePopup(entry->X + 80.0f + 10.0f, entry->Y + core::ScrollY, PointsText(config::Tuning.Hit_PushTile));
  }
}

void Smash(Single column, Single row, bool scoring, bool forceAll) {
  SmashDebris* entry = nullptr;
  for (SmashDebris& d : SmashDebrisList) {
    if (!d.Active) {
      entry = &d;
      break;
    }
  }
  const Integer cell = TileAt(column, row);
  if (cell == kEmpty || entry == nullptr) return;
  if (!forceAll && (cell == kStone || IsSpecialCell(cell))) return;
  if (cell == kGlass) {
    const std::string name = "breakglass" + std::to_string(core::RandomWhole(1, 3));
    audio::PlaySound(name, false, 95, 0, 20 + core::RandomWhole(0, 4));
  } else {
    const std::string name = "breakother" + std::to_string(core::RandomWhole(1, 3));
    audio::PlaySound(name, false, 80, 0, 20 + core::RandomWhole(0, 4));
  }
  entry->Active = true;
  entry->X = column * 32.0f + 10.0f;
  entry->Y = row * 32.0f + 10.0f;
  entry->Age = 0;
  entry->TileType = static_cast<Single>(cell);
  entry->Touched = TouchAt(column, row, false, false);
  TileAt(column, row, kEmpty);
  TouchAt(column, row, true, false);
  if (scoring) {
    ScoreStep("brick_smash");
    ShowScorePopup(entry->X + 80.0f, entry->Y + core::ScrollY, PointsText(config::Tuning.Hot_SmashTile));
  }
  const Single top = entry->Y + core::ScrollY;
  if (top + 32.0f > WaterY && top < WaterY) {
    Long from = num::CLng(static_cast<double>(entry->X));
    Long to = num::CLng(static_cast<double>(entry->X) + 32.0);
    if (ClampToWavePixels(from, to)) {
      for (Long px = from; px <= to; ++px) {
        const long j = static_cast<long>(px / 2);
        if (j > 13) DisturbWater(j - 13, 10.0);
      }
    }
  }
}

}  // namespace

void HitTile(Single column, Single row, Single force, bool scoring, bool forceAll) {
  if (!(column < 15.0f)) return;
  const auto& t = config::Tuning;
  if (t.Hit_PushOnForce < force && force < t.Hit_SmashOnForce) {
    Push(column, row, force, scoring, forceAll);
  } else if (force >= t.Hit_SmashOnForce) {
    Smash(column, row, scoring, forceAll);
  }
}

void UpdateTiles() {
  const auto& tune = config::Tuning;
  const Single screenRise = -(LevelScreenSpeed() / 50.0f);
  for (FallingTile& T : FallingTiles) {
    if (!T.Active) continue;

    if (num::FloorToLong(3.0 * static_cast<double>(core::Rnd())) == 2) {
      SpawnParticle(kParticleDust, T.X + 80.0f, T.Y + core::ScrollY, 0.0f, -2.0f, 2.0f, 50.0f, true);
    }

    if (CellAtPixel(T.X, T.Y + 32.0f) == kEmpty) {
      T.VelocityY = static_cast<Single>(static_cast<double>(T.VelocityY) +
                                        static_cast<double>(tune.FallingTiles_Weight) * core::FrameTime);
      T.Y += T.VelocityY;
    }

    const Single bottom = core::ScrollY + T.Y + 32.0f;
    if (WaterY + 5.0f < bottom) {
      if (!T.Splashed) {
        T.Splashed = true;
        if (config::GameOptions.Details_High) {
          audio::PlaySound("waterhit" + std::to_string(core::RandomWhole(1, 5)), false, 92, 0, 0);
        }
        DisturbWaterSpan(T.X, 2.0 * static_cast<double>(T.VelocityY));
      }
    } else if (WaterY + 5.0f > bottom) {
      T.Splashed = false;
    }

    if (T.VelocityY > 0.0f && MaterialOf(CellAtPixel(T.X, T.Y + 40.0f)) == kMatGum) {
      HitTile(Cell(T.X), Cell(T.Y + 32.0f), T.VelocityY, true, false);
      if (T.VelocityY > 0.0f) {
        if (T.VelocityY > 0.4f) audio::PlaySound("boing", false, 80, 0, 0);
        T.VelocityY = static_cast<Single>(
            -SafeDivide(static_cast<double>(T.VelocityY), static_cast<double>(tune.BounceFrom_Gum_DEVIDER)));
        T.Y += 1.0f;
      }
      T.Y += T.VelocityY;
      const Single y = T.Y + 24.0f + core::ScrollY;
      for (Single dx : {22.0f, 18.0f, 14.0f}) {
        SpawnParticle(kParticleGum, T.X + dx + 80.0f, y, 0.5f, screenRise, -4.0f, 60.0f, true);
      }
      for (Single dx : {-5.0f, -9.0f, -13.0f}) {
        SpawnParticle(kParticleGum, T.X + dx + 80.0f, y, -0.5f, screenRise, 4.0f, 60.0f, true);
      }
    }

    if (CellAtPixel(T.X, T.Y + 32.0f) > 0) {
      TouchAt(Cell(T.X), Cell(T.Y), true, T.Touched);
      const Single glassForce = tune.Hit_SmashOnForce + T.VelocityY - tune.Smash_Glass_ForceNeeded;
      if (CellAtPixel(T.X, T.Y + 32.0f) == kGlass) {
        HitTile(Cell(T.X), Cell(T.Y + 32.0f), glassForce, true, false);
      }
      if (T.TileType == static_cast<Single>(kGlass)) {
        TileAt(Cell(T.X), Cell(T.Y), kGlass);
        HitTile(Cell(T.X), Cell(T.Y), glassForce, true, false);
        T.Active = false;
        return;  // a landing glass tile ends the whole pass for this step
      }
      HitTile(Cell(T.X), Cell(T.Y + 32.0f), T.VelocityY, true, false);
      T.Y = static_cast<Single>((num::CLng(static_cast<double>(T.Y)) / 32) * 32);

      if (CellAtPixel(T.X, T.Y + 32.0f) == kEmpty && tune.Continue_Falling_After_PushingAnotherTile) {
        if (T.VelocityY > tune.Hit_SmashOnForce) {
          TileAt(Cell(T.X), Cell(T.Y), num::CInt(T.TileType));
          T.Active = false;
          HitTile(Cell(T.X), Cell(T.Y), tune.Hit_SmashOnForce, false, false);
        }
        T.VelocityY = 0;
      } else {
        TileAt(Cell(T.X), Cell(T.Y), num::CInt(T.TileType));
        T.Active = false;
      }

      // The first bonus under the tile is crushed, or goes off if it is a
      // bomb. Only a bomb still lying there goes off: one the creature has
      // collected keeps its kind, and must not blow up a second time.
      for (std::size_t k = 1; k < Bonuses.size(); ++k) {
        const Bonus& b = Bonuses[k];
        if (T.X + 32.0f > b.X && b.X + 32.0f > T.X && T.Y + 32.0f > b.Y && b.Y + 32.0f > T.Y) {
          if (b.Active && b.Type == "bomb") {
            TileAt(Cell(T.X), Cell(T.Y), num::CInt(T.TileType));
            T.Active = false;
            Explode(static_cast<int>(k));
          } else {
            Bonuses[k].Active = false;
          }
          break;
        }
      }
    }

    if (static_cast<double>(T.Y) > static_cast<double>(config::MapHeight) * 32.0) T.Active = false;
  }

  for (SmashDebris& d : SmashDebrisList) {
    if (!d.Active) continue;
    d.Age += 1.0f;
    if (d.Age > static_cast<Single>(config::Tuning.Smashing_Explosion_Distance)) {
      d.Active = false;
      return;  // at most one expired entry leaves per step
    }
    if (core::ScrollY + d.Y < -32.0f) d.Active = false;
  }
}

void Explode(int bonusIndex) {
  const auto& tune = config::Tuning;
  Single x = 0, y = 0;
  bool scoring = false;
  if (bonusIndex == 0) {
    if (Bombs < 1.0f) return;
    if (Player.Weight > 3.5f) Player.Weight -= tune.Bomb_Weight;
    Bombs -= 1.0f;
    x = Player.X;
    y = Player.Y;
    scoring = true;
  } else {
    if (bonusIndex < 0 || static_cast<std::size_t>(bonusIndex) >= Bonuses.size()) return;
    Bonus& b = Bonuses[static_cast<std::size_t>(bonusIndex)];
    b.Active = false;
    b.Type.clear();  // so it cannot go off twice
    x = b.X;
    y = b.Y;
  }
  const Single cx = Cell(x + 16.0f);
  const Single cy = Cell(y + 16.0f);
  const Single smash = tune.Hit_SmashOnForce;
  for (Single dy : {-1.0f, 0.0f, 1.0f}) {
    for (Single dx : {-1.0f, 0.0f, 1.0f}) HitTile(cx + dx, cy + dy, smash, scoring, false);
  }
  const Single push = smash - 0.5f;
  static const Single kPushCells[7][2] = {{-1, 2}, {0, 2}, {1, 2}, {-2, 0}, {2, 0}, {-2, 1}, {2, 1}};
  for (const auto& c : kPushCells) HitTile(cx + c[0], cy + c[1], push, scoring, false);

  const Single r1 = core::Rnd();
  const Single r2 = core::Rnd();
  const Single r3 = core::Rnd();
  SpawnExplosion(x - 51.0f, y - 45.0f + core::ScrollY, x - 16.0f + r1 * 80.0f - 40.0f,
                 y + r2 * 80.0f - 40.0f + core::ScrollY, static_cast<Single>(num::FloorToLong(r3 * 120.0f) - 60));
  audio::PlaySound("explode" + std::to_string(core::RandomWhole(5, 6)), false, 100, 0, 0);
}

void ClearFallingTiles() {
  for (FallingTile& t : FallingTiles) t = FallingTile{};
}

}  // namespace tw::world
