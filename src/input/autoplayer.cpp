#include "input/autoplayer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "config/tuning.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/grid.h"
#include "world/player.h"
#include "world/tile_dynamics.h"

namespace tw::input {

namespace {

enum VirtualKey { kLeftKey, kRightKey, kUpKey, kBombKey, kKeyCount };

struct AutoplayerState {
  long frame = 0;
  std::array<long, kKeyCount> lastPress{-1000, -1000, -1000, -1000};
  std::array<bool, kKeyCount> held{};
  int deepestRow = 0;
  long lastProgress = 0;  // frame at which a new deepest row was reached
  long lastBomb = -100000;
  int digFloor = -1;  // the floor row a digging jump is meant to knock loose
  int targetCol = -1;  // the hole being walked to, and the floor it is in
  int targetFloor = -1;
};
AutoplayerState S;

// What the player sees of the shaft, cell by cell.
int Cell(int col, int row) { return world::TileAt(static_cast<Single>(col), static_cast<Single>(row)); }
bool Solid(int col, int row) { return Cell(col, row) > 0; }
int Material(int col, int row) { return world::MaterialOf(static_cast<Integer>(Cell(col, row))); }
// Pixels to cells the way the world's probes do it (rounded, then divided).
int CellOf(double px) { return static_cast<int>(num::PixelToCell(px)); }

// ---- keys, pressed no faster than a hand can ----------------------------------

bool MayPress(VirtualKey k) { return S.frame - S.lastPress[k] >= kAutoplayPressGap; }

// Holds Left (-1), Right (+1) or neither (0). A key that was up needs a new
// press; while held the intent is set every frame, as the keyboard does.
void Walk(int direction) {
  const VirtualKey want = direction < 0 ? kLeftKey : kRightKey;
  const VirtualKey other = direction < 0 ? kRightKey : kLeftKey;
  if (direction == 0) {
    S.held[kLeftKey] = S.held[kRightKey] = false;
    return;
  }
  S.held[other] = false;
  if (!S.held[want]) {
    if (!MayPress(want)) return;
    S.held[want] = true;
    S.lastPress[want] = S.frame;
  }
  core::Controls.MoveLeft = direction < 0;
  core::Controls.MoveRight = direction > 0;
}

// One press of Up: a jump when standing, a brake when falling.
void PressUp() {
  if (!MayPress(kUpKey)) return;
  S.lastPress[kUpKey] = S.frame;
  core::Controls.JumpRequest = true;
  core::Controls.JumpLatch = true;
}

void PressBomb() {
  if (!MayPress(kBombKey) || world::Bombs < 1.0f || core::Controls.BombLatch) return;
  S.lastPress[kBombKey] = S.frame;
  S.lastBomb = S.frame;
  core::Controls.BombRequest = true;
}

// ---- what the screen shows ---------------------------------------------------

struct View {
  double x = 0, y = 0, v = 0;
  int left = 0, right = 0, centre = 0;  // columns under the feet and the middle
  int body = 0, floor = 0;              // the row the creature is in, and the row below it
  double canvasY = 0;                   // the creature's top on the screen
  double drillGap = 0;                  // pixels between the drills' tip and the creature's top
  double gravity = 0;                   // speed gained per frame in the air
  double safeLanding = 0;               // fastest landing a platform survives
  bool grounded = false;
  bool riding = false;  // standing on a tile that has been knocked loose
};

View Look() {
  const world::PlayerState& p = world::Player;
  View w;
  w.x = static_cast<double>(p.X);
  w.y = static_cast<double>(p.Y);
  w.v = static_cast<double>(p.VelocityY);
  w.left = CellOf(w.x + 4);
  w.right = CellOf(w.x + 26);
  w.centre = CellOf(w.x + 16);
  w.body = CellOf(w.y + 16);
  w.floor = CellOf(w.y + 32);
  w.canvasY = w.y + static_cast<double>(core::ScrollY);
  w.drillGap = w.canvasY - static_cast<double>(world::DrillY + 32.0f);
  w.gravity = static_cast<double>(p.Weight) * core::FrameTime;
  // Learnt by playing: a landing faster than this knocks the tile loose.
  w.safeLanding = static_cast<double>(config::Tuning.Hit_PushOnForce) * 0.92;
  w.grounded = (Solid(w.left, w.floor) || Solid(w.right, w.floor)) && w.v <= 0.6;
  // Hovering a hair above its floor still counts as standing on it.
  const int below = CellOf(w.y + 33);
  if (!w.grounded && std::abs(w.v) < 0.15 && below != w.floor && (Solid(w.left, below) || Solid(w.right, below))) {
    w.floor = below;
    w.body = below - 1;
    w.grounded = true;
  }
  if (!w.grounded && std::abs(w.v) < 0.6) {
    for (const world::FallingTile& t : world::FallingTiles) {
      if (t.Active && std::abs(static_cast<double>(t.X) - w.x) < 24 && static_cast<double>(t.Y) > w.y &&
          static_cast<double>(t.Y) < w.y + 40) {
        w.riding = w.grounded = true;
      }
    }
  }
  return w;
}

// The first row at or below `from` in column `col` that would hold the
// creature (glass gives way, so it is looked through); 0 when none is seen.
int LandingRow(int col, int from) {
  for (int r = from; r < from + 40; ++r) {
    const int c = Cell(col, r);
    if (c > 0 && c != world::kGlass) return r;
  }
  return 0;
}

// The nearest active bonus on screen whose box lies in `row`, reachable by
// walking from `from` along the row without a wall in between; its column,
// or -1.
int BonusOnRow(int row, int from, int reach) {
  int best = -1;
  for (std::size_t i = 1; i < world::Bonuses.size(); ++i) {
    const world::Bonus& b = world::Bonuses[i];
    if (!b.Active || CellOf(static_cast<double>(b.Y) + 16) != row) continue;
    if (std::abs(static_cast<double>(b.Y - world::Player.Y)) > 8) continue;  // not lying at the feet
    const int col = CellOf(static_cast<double>(b.X) + 16);
    if (std::abs(col - from) > reach) continue;
    const int step = col < from ? -1 : 1;
    bool clear = true;
    for (int c = from; c != col; c += step) {
      if (Solid(c + step, row)) clear = false;
    }
    if (clear && (best < 0 || std::abs(col - from) < std::abs(best - from))) best = col;
  }
  return best;
}

// What one press of Up leaves of the falling speed (big ears brake harder).
double BrakeFactor() { return world::EarsOn() ? 0.75 : 0.9; }

// The speed at which a fall of `drop` pixels ends when Up is pressed every
// press interval from `delay` frames on (each press takes a tenth off).
double LandingSpeed(double v, double drop, double gravity, int delay) {
  double y = 0;
  int next = delay;
  for (int t = 0; y < drop && t < 2000; ++t) {
    v += gravity;
    if (t >= next && v > 0) {
      v *= BrakeFactor();
      next += kAutoplayPressGap;
    }
    y += v;
  }
  return v;
}

// Frames a fall of `drop` pixels takes, braking at every chance or not at all.
double FallFrames(double v, double drop, double gravity, bool braking) {
  double y = 0;
  int t = 0;
  for (int next = 0; y < drop && t < 2000; ++t) {
    v += gravity;
    if (braking && t >= next && v > 0) {
      v *= BrakeFactor();
      next += kAutoplayPressGap;
    }
    y += v;
  }
  return t;
}

// ---- decisions -----------------------------------------------------------------

// A gap in the floor that the creature can walk to: its column and how good it is.
struct Gap {
  int col = -1;
  double cost = 1e9;
};

Gap FindGap(const View& w, int direction) {
  Gap g;
  // Riding a loose tile, the cells under the feet are empty but not a way down.
  for (int k = w.riding ? 1 : 0; k < 14; ++k) {
    const int col = (direction < 0 ? w.left : w.right) + direction * k;
    if (col < 1 || col > 13) break;
    if (Solid(col, w.body)) break;  // a wall in the way
    if (Solid(col, w.floor)) continue;
    // The whole box has to be over the hole before it drops.
    g.col = col;
    const double walk = std::abs(col * 32.0 - w.x);
    double cost = walk;
    const int land = LandingRow(col, w.floor);
    const double landCanvas = land > 0 ? land * 32.0 + static_cast<double>(core::ScrollY) : 1e9;
    if (landCanvas > 450) cost += 400;  // drops out of sight: a long fall to brake
    if (land > 0 && Material(col, land) == world::kMatStone) cost += 40;
    g.cost = cost;
    break;
  }
  return g;
}

// Where to walk on the floor the creature stands on (or is about to land
// on): to a bonus close by, to the best hole, or nowhere. False when there is
// no hole to walk to and the floor has to be dug through.
bool PlanWalk(const View& w, int& direction) {
  direction = 0;
  const bool urgent = w.drillGap < 110;
  // Low on the screen there is no hurry: the scroll brings the creature up.
  // (At the bottom the view stops: nothing to wait for there.)
  const bool scrolling = config::Levels[static_cast<std::size_t>(std::clamp<int>(core::CurrentLevel, 0, 11))].ScreenSpeed > 0;
  const bool low = w.canvasY > 170 && !urgent && scrolling;

  // A bonus close by on this row is worth a few steps.
  const int bonus = w.drillGap < 150 ? -1 : BonusOnRow(w.body, w.centre, 4);
  if (bonus >= 0 && bonus != w.centre) {
    direction = bonus < w.centre ? -1 : 1;
    return true;
  }
  Gap left = FindGap(w, -1);
  Gap right = FindGap(w, +1);
  // Walled in: dig at once, while there is still room above to jump.
  if (left.col < 0 && right.col < 0) return false;
  if (low) {
    S.lastProgress = S.frame;  // waiting on purpose is not being stuck
    return true;
  }
  // Keep to the hole chosen before while it is still there: changing one's
  // mind every frame only dithers.
  if (S.targetFloor == w.floor && S.targetCol >= 1) {
    if (left.col == S.targetCol) left.cost -= 64;
    if (right.col == S.targetCol) right.cost -= 64;
  }
  const Gap& best = left.cost <= right.cost ? left : right;
  S.targetCol = best.col;
  S.targetFloor = w.floor;
  const bool stuck = S.frame - S.lastProgress > 100;
  if (best.col < 0 || (stuck && best.cost > 200)) return false;
  // Every way down drops out of sight: better wait for the scroll to show
  // where it leads, unless the drills are close.
  if (best.cost >= 400 && w.canvasY > 120 && !urgent && scrolling) {
    S.lastProgress = S.frame;
    return true;
  }
  const double target = best.col * 32.0;
  // Under the drills a long walk (mud) loses to digging on the spot.
  if (urgent) {
    const double scroll = static_cast<double>(
        config::Levels[static_cast<std::size_t>(std::clamp<int>(core::CurrentLevel, 0, 11))].ScreenSpeed);
    const double left_s = w.drillGap / std::max(1.0, scroll);
    const Integer under = static_cast<Integer>(Material(w.centre, w.floor));
    const double speed = static_cast<double>(config::Tuning.WalkSpeed) *
                         (under == world::kMatMud ? 1.0 / std::max(1.0, static_cast<double>(config::Tuning.WalkSpeed_Mud_DEVIDER)) : 1.0);
    if (std::abs(target - w.x) / std::max(1.0, speed) > 0.7 * left_s) return false;
  }
  if (std::abs(target - w.x) > 3.0) direction = target < w.x ? -1 : 1;
  return true;
}

void Standing(const View& w) {
  const bool urgent = w.drillGap < 110;
  const bool stuck = S.frame - S.lastProgress > 100;
  int direction = 0;
  if (PlanWalk(w, direction)) {
    Walk(direction);
    return;
  }

  // No way round: dig. A bomb just dropped needs a moment to go off.
  if (S.frame - S.lastBomb < 25) {
    Walk(0);
    return;
  }
  // Stone does not give, so first get off it.
  if (w.riding) {
    Walk(0);
    if (urgent) PressBomb();
    return;
  }
  const bool stoneUnder = Material(w.left, w.floor) == world::kMatStone &&
                          Material(w.right, w.floor) == world::kMatStone;
  if (stoneUnder) {
    // Walk to floor that gives; walled in, blast the walls away.
    for (int dir : {-1, 1}) {
      for (int col = w.centre + dir; col >= 1 && col <= 13 && !Solid(col, w.body); col += dir) {
        if (Material(col, w.floor) != world::kMatStone) {
          Walk(dir);
          return;
        }
      }
    }
    Walk(0);
    PressBomb();
    return;
  }
  const bool headroom = !Solid(w.left, w.body - 1) && !Solid(w.right, w.body - 1) &&
                        !Solid(w.left, w.body - 2) && !Solid(w.right, w.body - 2);
  const bool glassUnder = Cell(w.left, w.floor) == world::kGlass || Cell(w.right, w.floor) == world::kGlass;
  // A digging jump rises about three rows first: not with the drills close.
  const bool roomToJump = w.drillGap > 130;
  if ((!headroom && !glassUnder) || !roomToJump || (stuck && S.frame - S.lastBomb > 150)) {
    if (world::Bombs >= 1.0f) {
      Walk(0);
      PressBomb();
      return;
    }
    // No bomb left: any hole, however far, beats jumping into the drills.
    if (!roomToJump) {
      const Gap left = FindGap(w, -1);
      const Gap right = FindGap(w, +1);
      const Gap& best = left.cost <= right.cost ? left : right;
      if (best.col >= 0) {
        Walk(best.col * 32.0 < w.x ? -1 : 1);
        return;
      }
    }
  }
  Walk(0);
  PressUp();
  S.digFloor = w.floor;
}

void Falling(const View& w) {
  // Where will it land, and how fast?
  const int a = LandingRow(w.left, w.floor);
  const int b = LandingRow(w.right, w.floor);
  int land = 0;
  if (a > 0 && b > 0) land = std::min(a, b);
  else land = std::max(a, b);
  const double drop = land > 0 ? land * 32.0 - (w.y + 32) : 2000.0;
  const double landing = std::sqrt(std::max(0.0, w.v * w.v + 2 * w.gravity * std::max(0.0, drop)));
  const double landCanvas = land > 0 ? land * 32.0 + static_cast<double>(core::ScrollY) : 1e9;
  const double scrollPerFrame =
      static_cast<double>(config::Levels[static_cast<std::size_t>(std::clamp<int>(core::CurrentLevel, 0, 11))].ScreenSpeed) *
      core::FrameTime;

  // Close under the drills speed is welcome; low on the screen it is not.
  const bool high = w.drillGap < 60;
  bool brake = false;
  // Brake as late as still lands softly: waiting one more press interval
  // would come down too hard.
  if (!high && landing > w.safeLanding && LandingSpeed(w.v, drop, w.gravity, kAutoplayPressGap) > w.safeLanding) {
    brake = true;
  }
  if (w.canvasY > 330 && w.v > scrollPerFrame + 0.5) brake = true;
  if (landCanvas > 440 && w.canvasY > 200 && w.v > scrollPerFrame) brake = true;
  // A digging jump has to come down hard.
  if (S.digFloor >= 0 && land == S.digFloor) brake = false;
  if (brake && w.v > 0) PressUp();

  // Nothing to land on before the bottom of the screen: steer towards the
  // highest platform that can still be reached on the way down, even one
  // just below the bottom edge (the scroll lifts it while the creature falls;
  // the game is lost only once the creature's top leaves the screen).
  int steer = 0;
  if (landCanvas > 420) {
    const double walk = static_cast<double>(config::Tuning.WalkSpeed) * core::FrameTime * (world::BootsOn() ? 1.5 : 1.0);
    double bestDx = 1e9;
    int bestRow = 0;
    bool needBrake = false;
    bool brakeToReach = false;
    for (int col = 1; col <= 13; ++col) {
      const int row = LandingRow(col, w.floor);
      if (row <= 0 || row * 32.0 + static_cast<double>(core::ScrollY) > 500) continue;
      // One higher up catches the creature sooner; of two, the nearer.
      if (bestRow > 0 && (row > bestRow || (row == bestRow && std::abs(col * 32.0 - w.x) >= std::abs(bestDx)))) continue;
      const double drop2 = row * 32.0 - (w.y + 32);
      // Frames until the creature passes that row braking all the way, and
      // frames to get there sideways.
      const double t = FallFrames(w.v, drop2, w.gravity, true);
      const double dx = col * 32.0 - w.x;
      if (std::abs(dx) / walk > t - 2) continue;
      needBrake = std::abs(dx) / walk > FallFrames(w.v, drop2, w.gravity, false) - 2;
      bool blocked = false;
      for (int c = w.centre; c != col; c += dx < 0 ? -1 : 1) {
        if (Solid(c, w.body) || Solid(c, w.body + 1)) blocked = true;
      }
      if (!blocked) {
        bestDx = dx;
        bestRow = row;
        brakeToReach = needBrake;
      }
    }
    if (bestDx < 1e8) {
      steer = std::abs(bestDx) < 3 ? 0 : (bestDx < 0 ? -1 : 1);
      Walk(steer);
      if (brakeToReach && !high && w.v > 0.5) PressUp();  // buys time to get there
      return;
    }
  }

  // Bouncing, or about to land: already walk the way the floor below asks.
  if (land > 0 && drop < 40) {
    View below = w;
    below.floor = land;
    below.body = land - 1;
    int direction = 0;
    PlanWalk(below, direction);
    Walk(direction);
    return;
  }

  // Steer towards a bonus on the way down.
  for (std::size_t i = 1; i < world::Bonuses.size(); ++i) {
    const world::Bonus& bn = world::Bonuses[i];
    if (!bn.Active) continue;
    const double by = static_cast<double>(bn.Y);
    if (by < w.y || (land > 0 && by > land * 32.0)) continue;
    const double dx = static_cast<double>(bn.X) - w.x;
    if (std::abs(dx) > 80 || std::abs(dx) < 3) continue;
    // Enough time to get there before reaching its height?
    steer = dx < 0 ? -1 : 1;
    break;
  }
  Walk(steer);
}

}  // namespace

void ResetAutoplayer() { S = AutoplayerState{}; }

void Autoplay() {
  if (core::GameOver || core::Paused || world::ReplayPlayback) return;
  ++S.frame;
  const View w = Look();
  if (w.floor > S.deepestRow) {
    S.deepestRow = w.floor;
    S.lastProgress = S.frame;
  }
  // Held up by something that is neither floor nor air (a tile still on the
  // move) for too long: blast or jump out of it.
  const bool stuck = S.frame - S.lastProgress > 120 && w.canvasY < 290;
  if (stuck && !w.grounded && std::abs(w.v) < 0.3 && world::Bombs >= 1.0f && S.frame - S.lastBomb > 100) {
    Walk(0);
    PressBomb();
  } else if (w.grounded) {
    if (w.floor != S.digFloor || w.v <= 0) S.digFloor = -1;
    Standing(w);
  } else {
    Falling(w);
  }
}

}  // namespace tw::input
