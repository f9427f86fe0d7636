#include "world/bonuses.h"

#include "audio/sound.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "world/drills_water.h"
#include "world/grid.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace tw::world {

std::vector<Bonus> Bonuses(1);
Single Bombs = 0;
Single BootTime = 0;
Single EarsTime = 0;
bool GlassBombPending = false;
Single BonusSpin = 0;

namespace {

bool Overlaps(const Bonus& b) {
  const PlayerState& p = Player;
  return b.X + 32.0f > p.X && p.X + 32.0f > b.X && b.Y + 32.0f > p.Y && p.Y + 32.0f > b.Y;
}

void PickUp(Bonus& b) {
  const auto& tune = config::Tuning;
  if (b.Type == "bomb") {
    Bombs += 1.0f;
    Player.Weight += b.Weight;
    Score += b.Points;
  } else if (b.Type == "pie") {
    Score += b.Points;
    Player.Weight += b.Weight;
  } else if (b.Type == "boot") {
    Score += b.Points;
    Player.Weight += b.Weight;
    BootTime += tune.Bonus_Boot_Time * 50.0f;
  } else if (b.Type == "bombglass") {
    Score += b.Points;
    GlassBombPending = true;
  } else if (b.Type == "ears") {
    Score += b.Points;
    Player.Weight += b.Weight;
    EarsTime += tune.Bonus_Ears_Time * 50.0f;
  }
  ShowScorePopup(b.X + 10.0f + 80.0f, b.Y + core::ScrollY, PointsText(b.Points));
  b.Active = false;
  audio::PlaySound("bonus", false, 100, 0, 44);
}

}  // namespace

void UpdateBonuses() {
  BonusSpin += 5.0f;
  if (BonusSpin > 359.0f) BonusSpin = 0.0f;

  for (std::size_t k = 1; k < Bonuses.size(); ++k) {
    Bonus& b = Bonuses[k];

    if (b.SelectionAlpha > 0 && !b.Active) {
      b.SelectionAlpha = static_cast<Integer>(b.SelectionAlpha > 4 ? b.SelectionAlpha - 4 : 0);
    }
    if (!b.Active) continue;

    // The drills: a bomb goes off (without points), anything else is lost.
    if (DrillTipWorldY() > b.Y) {
      if (b.Type == "bomb") {
        Explode(static_cast<int>(k));
      } else {
        b.Active = false;
      }
    }

    // A bonus the drills have just taken is gone: touching it gives nothing.
    if (b.Active && Overlaps(b)) PickUp(b);
  }
}

void TickBonusTimers() {
  if (core::Paused || core::GameOver) return;
  if (BootTime > 0.0f) BootTime -= 1.0f;
  if (EarsTime > 0.0f) EarsTime -= 1.0f;
}

void GlassBombCell(int column, int row) {
  if (!GlassBombPending) return;
  const Single c = static_cast<Single>(column);
  const Single r = static_cast<Single>(row);
  const Integer v = TileAt(c, r);
  if (v < 1 || v > 50 || v == kGlass || v == kStone) return;
  HitTile(c, r, config::Tuning.Hit_SmashOnForce, false, false);
  TileAt(c, r, kGlass);
}

}  // namespace tw::world
