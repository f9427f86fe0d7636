#include "input/autoplayer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "config/tuning.h"
#include "core/game_state.h"
#include "core/geometry.h"
#include "core/input_state.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/grid.h"
#include "world/player.h"
#include "world/tile_dynamics.h"

namespace tw::input {

namespace {

enum VirtualKey { kLeftKey, kRightKey, kUpKey, kBombKey, kKeyCount };

// ---- what the screen shows ------------------------------------------------------

constexpr int kColumns = 15;   // the shaft's columns, walls included
constexpr int kSeenRows = 16;  // the rows a 480-pixel screen shows, the last one in part
constexpr int kMaxThings = 48;

struct Thing {
  double x = 0, y = 0;  // world pixels of the top-left
};

// One frame of the screen as a player sees it: the shaft rows on screen, the
// creature, the drills, the bonuses and falling tiles, the sidebar.
struct Sight {
  long frame = -1;
  double x = 0, y = 0;
  double scrollY = 0;
  int top = 0;  // the first row on screen
  std::array<Integer, kSeenRows * kColumns> cells{};
  double drillTip = 0;  // canvas y of the drills' tip
  std::array<Thing, kMaxThings> bonuses{};
  int bonusCount = 0;
  std::array<Thing, kMaxThings> tiles{};
  int tileCount = 0;
  double bombs = 0;
  bool ears = false, boots = false;
};

// The human player's rules of thumb, learnt by playing rather than read from
// the tuning: how hard a landing a platform takes, how fast the creature
// walks, how much slower on mud, and a first guess at gravity (corrected by
// watching falls).
constexpr double kSoftLandingGuess = 1.3;   // pixels per frame
constexpr double kWalkGuess = 110.0 / 50;   // pixels per frame
constexpr double kMudGuess = 0.4;
constexpr double kGravityGuess = 0.03;      // pixels per frame, per frame
// A first guess at a jump, on the low side: the first jump watched teaches
// the real one (a guess too high would keep it from jumping under drills
// that are in fact out of reach).
constexpr double kJumpRiseGuess = 70;       // pixels
constexpr double kJumpUpFramesGuess = 60;

constexpr int kHistory = kHumanReactionFrames + 3;

struct AutoplayerState {
  AutoplayStyle style = AutoplayStyle::Human;
  long frame = 0;
  std::array<long, kKeyCount> lastPress{-1000, -1000, -1000, -1000};
  long lastAnyPress = -1000;
  std::array<bool, kKeyCount> held{};
  long presses = 0;
  long shortestGap = -1;
  long shortestHold = -1;
  std::array<long, kKeyCount> perKey{};
  bool bombAsked = false;  // asked for, not yet gone off
  int deepestRow = 0;
  long lastProgress = 0;  // frame at which a new deepest row was reached
  long lastBomb = -100000;
  int digFloor = -1;  // the floor row a digging jump is meant to knock loose
  int targetCol = -1;  // the hole being walked to, and the floor it is in
  int targetFloor = -1;
  // The human player's memory: the screens of the last frames, its own
  // hands in them, and what it has learnt of gravity.
  std::array<Sight, kHistory> seen{};
  std::array<bool, kHistory> upPressed{};
  std::array<int, kHistory> walked{};  // -1, 0, +1 held in that frame
  double gravity = kGravityGuess;
  // What it has learnt of its own jumps: how high they rise and how long
  // the rise takes (while the scroll brings the drills closer).
  double jumpRise = kJumpRiseGuess;
  double jumpUpFrames = kJumpUpFramesGuess;
  double riseFrom = -1;  // where the rise being watched began, or -1
  long riseStart = 0;
};
AutoplayerState S;
int HumanGap = kHumanPressGap;

// The screen the current decision is made from: null for the sharp player,
// which reads the world itself.
const Sight* Seen = nullptr;

Sight& SightAt(long frame) { return S.seen[static_cast<std::size_t>(frame % kHistory)]; }
std::size_t Slot(long frame) { return static_cast<std::size_t>(frame % kHistory); }

bool OnScreen(double worldY, double scrollY) {
  const double canvas = worldY + scrollY;
  return canvas > -32 && canvas < core::CanvasHeight;
}

// The active bonuses and falling tiles: those on screen, or all of them.
void FillThings(Sight& s, bool onScreenOnly) {
  const auto seen = [&](Single y) { return !onScreenOnly || OnScreen(static_cast<double>(y), s.scrollY); };
  s.bonusCount = 0;
  for (std::size_t i = 1; i < world::Bonuses.size() && s.bonusCount < kMaxThings; ++i) {
    const world::Bonus& b = world::Bonuses[i];
    if (b.Active && seen(b.Y)) s.bonuses[static_cast<std::size_t>(s.bonusCount++)] = {b.X, b.Y};
  }
  s.tileCount = 0;
  for (const world::FallingTile& t : world::FallingTiles) {
    if (t.Active && seen(t.Y) && s.tileCount < kMaxThings) s.tiles[static_cast<std::size_t>(s.tileCount++)] = {t.X, t.Y};
  }
}

void TakeSight(Sight& s) {
  s.frame = S.frame;
  s.x = static_cast<double>(world::Player.X);
  s.y = static_cast<double>(world::Player.Y);
  s.scrollY = static_cast<double>(core::ScrollY);
  s.top = static_cast<int>(std::floor(-s.scrollY / 32));
  for (int r = 0; r < kSeenRows; ++r) {
    const int row = s.top + r;
    const bool visible = row * 32.0 + s.scrollY < core::CanvasHeight;
    for (int c = 0; c < kColumns; ++c) {
      s.cells[static_cast<std::size_t>(r * kColumns + c)] =
          visible ? world::TileAt(static_cast<Single>(c), static_cast<Single>(row)) : Integer{0};
    }
  }
  // Drills above the screen are not seen: all a person knows then is that
  // they come from the top edge.
  s.drillTip = std::max(0.0, static_cast<double>(world::DrillY) + 32.0);
  FillThings(s, true);
  s.bombs = static_cast<double>(world::Bombs);
  s.ears = world::EarsOn();
  s.boots = world::BootsOn();
}

// A cell as the deciding player knows it: the sharp player reads the shaft,
// the human one the screen it saw, where everything off screen is unknown
// and counts as empty.
int Cell(int col, int row) {
  if (Seen == nullptr) return world::TileAt(static_cast<Single>(col), static_cast<Single>(row));
  const int r = row - Seen->top;
  if (col < 0 || col >= kColumns || r < 0 || r >= kSeenRows) return 0;
  return Seen->cells[static_cast<std::size_t>(r * kColumns + col)];
}
bool Solid(int col, int row) { return Cell(col, row) > 0; }
int Material(int col, int row) { return world::MaterialOf(static_cast<Integer>(Cell(col, row))); }
// Pixels to cells the way the world's probes do it (rounded, then divided).
int CellOf(double px) { return static_cast<int>(num::PixelToCell(px)); }

// The bonuses and falling tiles the deciding player knows of.
struct Things {
  const Thing* begin_ = nullptr;
  int count = 0;
  const Thing* begin() const { return begin_; }
  const Thing* end() const { return begin_ + count; }
};
Sight WorldThings;  // the sharp player's lists, filled from the whole world
Things Bonuses() { return Seen ? Things{Seen->bonuses.data(), Seen->bonusCount} : Things{WorldThings.bonuses.data(), WorldThings.bonusCount}; }
Things Tiles() { return Seen ? Things{Seen->tiles.data(), Seen->tileCount} : Things{WorldThings.tiles.data(), WorldThings.tileCount}; }


// ---- keys, pressed no faster than a hand can ----------------------------------

bool Human() { return S.style == AutoplayStyle::Human; }

// A press made in frame `at` (a bomb's when it goes off, a frame after it
// was asked for, so that `at` may lie ahead).
bool MayPressAt(VirtualKey k, long at) {
  if (Human()) return !S.bombAsked && at - S.lastAnyPress >= HumanGap;
  return at - S.lastPress[k] >= kAutoplayPressGap;
}
bool MayPress(VirtualKey k) { return MayPressAt(k, S.frame); }

void CountPressAt(VirtualKey k, long at) {
  if (S.presses > 0) {
    const long gap = at - S.lastAnyPress;
    if (S.shortestGap < 0 || gap < S.shortestGap) S.shortestGap = gap;
  }
  ++S.presses;
  ++S.perKey[k];
  S.lastPress[k] = at;
  S.lastAnyPress = at;
}
void CountPress(VirtualKey k) { CountPressAt(k, S.frame); }

// The human player's finger stays down at least kHumanHoldFrames; the sharp
// player's may let go at once.
bool MayRelease(VirtualKey k) { return !Human() || S.frame - S.lastPress[k] >= kHumanHoldFrames; }

void CountRelease(VirtualKey k) {
  const long hold = S.frame - S.lastPress[k];
  if (S.shortestHold < 0 || hold < S.shortestHold) S.shortestHold = hold;
}

// Holds Left (-1), Right (+1) or neither (0). A key that was up needs a new
// press; while held the intent is set every frame, as the keyboard does.
// A key let go of before it has been held long enough stays down (and keeps
// walking) until it has.
void Walk(int direction) {
  const auto setIntent = [](int dir) {
    core::Controls.MoveLeft = dir < 0;
    core::Controls.MoveRight = dir > 0;
  };
  for (VirtualKey k : {kLeftKey, kRightKey}) {
    const bool wanted = direction != 0 && k == (direction < 0 ? kLeftKey : kRightKey);
    if (S.held[k] && !wanted) {
      if (!MayRelease(k)) {
        setIntent(k == kLeftKey ? -1 : 1);
        return;
      }
      S.held[k] = false;
      CountRelease(k);
    }
  }
  if (direction == 0) return;
  const VirtualKey want = direction < 0 ? kLeftKey : kRightKey;
  if (!S.held[want]) {
    if (!MayPress(want)) return;
    S.held[want] = true;
    CountPress(want);
  }
  setIntent(direction);
}

// One press of Up: a jump when standing, a brake when falling.
// (The world acts on Up once per press, so how long it stays down changes
// nothing: it counts as held for kHumanHoldFrames.)
void PressUp() {
  if (!MayPress(kUpKey)) return;
  CountPress(kUpKey);
  if (Human()) S.shortestHold = S.shortestHold < 0 ? kHumanHoldFrames : std::min<long>(S.shortestHold, kHumanHoldFrames);
  S.upPressed[Slot(S.frame)] = true;
  core::Controls.JumpRequest = true;
  core::Controls.JumpLatch = true;
}

// ---- the creature as the deciding player sees it ------------------------------

struct View {
  double x = 0, y = 0, v = 0;
  int left = 0, right = 0, centre = 0;  // columns under the feet and the middle
  int body = 0, floor = 0;              // the row the creature is in, and the row below it
  double scrollY = 0;
  double canvasY = 0;                   // the creature's top on the screen
  double drillGap = 0;                  // pixels between the drills' tip and the creature's top
  double gravity = 0;                   // speed gained per frame in the air
  double safeLanding = 0;               // fastest landing a platform survives
  double scrollPerFrame = 0;            // how fast the view moves up
  bool scrolling = false;
  double walk = 0;                      // walking pixels per frame on plain floor
  double mudFactor = 1;
  double bombs = 0;
  bool ears = false, boots = false;
  double jumpRoom = 130;  // room under the drills a digging jump needs
  bool grounded = false;
  bool riding = false;  // standing on a tile that has been knocked loose
  bool seenFalling = false;  // the screen itself showed the creature going down
};

// What one press of Up leaves of the falling speed (big ears brake harder).
double BrakeFactor(const View& w) { return w.ears ? 0.75 : 0.9; }
int PressGap() { return Human() ? HumanGap : kAutoplayPressGap; }

// Ground contact, seen from the cells under the feet and the falling tiles.
void Settle(View& w) {
  w.left = CellOf(w.x + 4);
  w.right = CellOf(w.x + 26);
  w.centre = CellOf(w.x + 16);
  w.body = CellOf(w.y + 16);
  w.floor = CellOf(w.y + 32);
  w.canvasY = w.y + w.scrollY;
  w.grounded = (Solid(w.left, w.floor) || Solid(w.right, w.floor)) && w.v <= 0.6;
  // Hovering a hair above its floor still counts as standing on it.
  const int below = CellOf(w.y + 33);
  if (!w.grounded && std::abs(w.v) < 0.15 && below != w.floor && (Solid(w.left, below) || Solid(w.right, below))) {
    w.floor = below;
    w.body = below - 1;
    w.grounded = true;
  }
  if (!w.grounded && std::abs(w.v) < 0.6) {
    for (const Thing& t : Tiles()) {
      if (std::abs(t.x - w.x) < 24 && t.y > w.y && t.y < w.y + 40) w.riding = w.grounded = true;
    }
  }
}

View LookSharp() {
  const world::PlayerState& p = world::Player;
  View w;
  w.x = static_cast<double>(p.X);
  w.y = static_cast<double>(p.Y);
  w.v = static_cast<double>(p.VelocityY);
  w.scrollY = static_cast<double>(core::ScrollY);
  w.gravity = static_cast<double>(p.Weight) * core::FrameTime;
  w.safeLanding = static_cast<double>(config::Tuning.Hit_PushOnForce) * 0.92;
  const double speed =
      static_cast<double>(config::Levels[static_cast<std::size_t>(std::clamp<int>(core::CurrentLevel, 0, 11))].ScreenSpeed);
  w.scrolling = speed > 0;
  w.scrollPerFrame = speed * core::FrameTime;
  w.walk = static_cast<double>(config::Tuning.WalkSpeed) * core::FrameTime;
  w.mudFactor = 1.0 / std::max(1.0, static_cast<double>(config::Tuning.WalkSpeed_Mud_DEVIDER));
  w.bombs = static_cast<double>(world::Bombs);
  w.ears = world::EarsOn();
  w.boots = world::BootsOn();
  w.drillGap = w.y + w.scrollY - static_cast<double>(world::DrillY + 32.0f);
  w.seenFalling = p.Airborne && w.v > 0;
  Settle(w);
  return w;
}

// The human player: the screen of kHumanReactionFrames ago, carried forward
// to now with what its own hands did since (a player knows which keys it
// pressed), the way a person anticipates.
View LookHuman(const Sight& seen, const Sight& before) {
  View w;
  w.x = seen.x;
  w.y = seen.y;
  w.v = before.frame == seen.frame - 1 ? seen.y - before.y : 0.0;
  w.seenFalling = w.v > 0.05;
  w.scrollY = seen.scrollY;
  w.scrollPerFrame = before.frame == seen.frame - 1 ? std::max(0.0, before.scrollY - seen.scrollY) : 0.0;
  w.scrolling = w.scrollPerFrame > 0.01;
  w.gravity = S.gravity;
  w.safeLanding = kSoftLandingGuess;
  w.walk = kWalkGuess;
  w.mudFactor = kMudGuess;
  w.jumpRoom = S.jumpRise + w.scrollPerFrame * S.jumpUpFrames + 24;
  w.bombs = seen.bombs;
  w.ears = seen.ears;
  w.boots = seen.boots;
  Settle(w);
  for (long f = seen.frame; f < S.frame; ++f) {
    const std::size_t k = Slot(f);
    const int dir = S.walked[k];
    if (dir != 0) {
      const double step = w.walk * (w.boots ? 1.5 : 1.0) *
                          (Material(w.centre, w.floor) == world::kMatMud ? w.mudFactor : 1.0);
      const double nx = w.x + dir * step;
      if (!Solid(CellOf(nx + (dir > 0 ? 36 : -4)), CellOf(w.y + 30))) w.x = nx;
    }
    if (!w.grounded) {
      if (S.upPressed[k] && w.v > 0) w.v *= BrakeFactor(w);
      w.v += w.gravity;
      const int floorBefore = CellOf(w.y + 32);
      w.y += w.v;
      const int floorAfter = CellOf(w.y + 32);
      for (int r = floorBefore; r <= floorAfter && w.v > 0; ++r) {
        if (Solid(CellOf(w.x + 4), r) || Solid(CellOf(w.x + 26), r)) {
          w.y = r * 32.0 - 32;
          w.v = 0;
        }
      }
    }
    Settle(w);
  }
  w.drillGap = w.canvasY - seen.drillTip;
  return w;
}

// Learns gravity from what it watches: the speed gained between frames in a
// fall nobody braked.
void LearnGravity(const Sight& a, const Sight& b, const Sight& c) {
  if (b.frame != a.frame + 1 || c.frame != b.frame + 1) return;
  if (S.upPressed[Slot(a.frame)] || S.upPressed[Slot(b.frame)]) return;
  const double v1 = b.y - a.y, v2 = c.y - b.y;
  const double g = v2 - v1;
  if (v1 > 0.2 && g > 0.002 && g < 0.2) S.gravity += (g - S.gravity) * 0.2;
}

// Learns how high its jumps go from watching them rise.
void LearnJump(const Sight& before, const Sight& seen) {
  if (before.frame != seen.frame - 1) return;
  if (seen.y < before.y - 0.3) {
    if (S.riseFrom < 0) {
      S.riseFrom = before.y;
      S.riseStart = before.frame;
    }
  } else if (S.riseFrom >= 0) {
    const double rise = S.riseFrom - before.y;
    // The highest rise seen is what a jump can take, bumps and bounces aside.
    if (rise > S.jumpRise) {
      S.jumpRise = rise;
      S.jumpUpFrames = static_cast<double>(before.frame - S.riseStart);
    }
    S.riseFrom = -1;
  }
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

// The nearest bonus seen whose box lies in `row`, reachable by walking from
// `from` along the row without a wall in between; its column, or -1.
int BonusOnRow(const View& w, int row, int from, int reach) {
  int best = -1;
  for (const Thing& b : Bonuses()) {
    if (CellOf(b.y + 16) != row) continue;
    if (std::abs(b.y - w.y) > 8) continue;  // not lying at the feet
    const int col = CellOf(b.x + 16);
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

// The speed at which a fall of `drop` pixels ends when Up is pressed every
// press interval from `delay` frames on (each press takes a tenth off).
double LandingSpeed(const View& w, double drop, int delay) {
  double v = w.v, y = 0;
  int next = delay;
  for (int t = 0; y < drop && t < 2000; ++t) {
    v += w.gravity;
    if (t >= next && v > 0) {
      v *= BrakeFactor(w);
      next += PressGap();
    }
    y += v;
  }
  return v;
}

// Frames a fall of `drop` pixels takes, braking at every chance or not at all.
double FallFrames(const View& w, double drop, bool braking) {
  double v = w.v, y = 0;
  int t = 0;
  for (int next = 0; y < drop && t < 2000; ++t) {
    v += w.gravity;
    if (braking && t >= next && v > 0) {
      v *= BrakeFactor(w);
      next += PressGap();
    }
    y += v;
  }
  return t;
}

// The controls set a bomb off at the start of the next frame: that is when
// it counts as pressed, and no other press comes before it has gone off.
void PressBomb(const View& w) {
  if (!MayPressAt(kBombKey, S.frame + 1) || w.bombs < 1.0 || core::Controls.BombLatch) return;
  S.lastBomb = S.frame;
  S.bombAsked = true;
  core::Controls.BombRequest = true;
}

// ---- decisions -----------------------------------------------------------------

// A gap in the floor that the creature can walk to: its column and how good it is.
struct Gap {
  int col = -1;
  double cost = 1e9;
  bool blind = false;  // the drop lands out of sight
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
    const double landCanvas = land > 0 ? land * 32.0 + w.scrollY : 1e9;
    g.blind = landCanvas > 450;
    if (g.blind) cost += 400;  // drops out of sight: a long fall to brake
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
  const bool urgent = w.drillGap < w.jumpRoom - 20;
  // Low on the screen there is no hurry: the scroll brings the creature up.
  // (At the bottom the view stops: nothing to wait for there.)
  const bool low = w.canvasY > std::max(170.0, w.canvasY - w.drillGap + w.jumpRoom + 60) && !urgent && w.scrolling;

  // A bonus close by on this row is worth a few steps.
  const int bonus = w.drillGap < 150 ? -1 : BonusOnRow(w, w.body, w.centre, 4);
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
  // Four seconds on one floor without getting into a hole close by: the
  // hands overshoot it, back and forth (a one-column hole leaves a 10-pixel
  // window, a press walks 9 at least). Dig instead.
  if (S.frame - S.lastProgress > 200) return false;
  // Every way down drops out of sight: better wait for the scroll to show
  // where it leads, unless the drills are close. (Asked of the hole itself:
  // the bonus for keeping to a chosen hole must not talk it into a blind drop.)
  if (best.blind && w.canvasY > 120 && !urgent && w.scrolling) {
    S.lastProgress = S.frame;
    return true;
  }
  const double target = best.col * 32.0;
  // Under the drills a long walk (mud) loses to digging on the spot.
  if (urgent) {
    const double left_s = w.drillGap / std::max(1.0, w.scrollPerFrame * 50);
    const double speed = w.walk * 50 * (Material(w.centre, w.floor) == world::kMatMud ? w.mudFactor : 1.0);
    if (std::abs(target - w.x) / std::max(1.0, speed) > 0.7 * left_s) return false;
  }
  if (std::abs(target - w.x) > 3.0) direction = target < w.x ? -1 : 1;
  return true;
}

void Standing(const View& w) {
  const bool urgent = w.drillGap < w.jumpRoom - 20;
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
    if (urgent) PressBomb(w);
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
    PressBomb(w);
    return;
  }
  const bool headroom = !Solid(w.left, w.body - 1) && !Solid(w.right, w.body - 1) &&
                        !Solid(w.left, w.body - 2) && !Solid(w.right, w.body - 2);
  const bool glassUnder = Cell(w.left, w.floor) == world::kGlass || Cell(w.right, w.floor) == world::kGlass;
  // A digging jump rises a few rows first: not with the drills close.
  const bool roomToJump = w.drillGap > w.jumpRoom;
  if ((!headroom && !glassUnder) || !roomToJump || (stuck && S.frame - S.lastBomb > 150)) {
    if (w.bombs >= 1.0) {
      Walk(0);
      PressBomb(w);
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
  const double landCanvas = land > 0 ? land * 32.0 + w.scrollY : 1e9;

  // Close under the drills speed is welcome; low on the screen it is not.
  const bool high = w.drillGap < 60;
  bool brake = false;
  // Brake as late as still lands softly: waiting one more press interval
  // would come down too hard.
  if (!high && landing > w.safeLanding && LandingSpeed(w, drop, PressGap()) > w.safeLanding) brake = true;
  if (w.canvasY > 330 && w.v > w.scrollPerFrame + 0.5) brake = true;
  if (landCanvas > 440 && w.canvasY > 200 && w.v > w.scrollPerFrame) brake = true;
  // A digging jump has to come down hard.
  if (S.digFloor >= 0 && land == S.digFloor) brake = false;
  // Up on the ground is a jump: under the drills it brakes only a fall the
  // screen has shown, not one merely expected after stepping into a hole.
  if (w.drillGap < w.jumpRoom && !w.seenFalling) brake = false;
  brake = brake && w.v > 0;
  // Walk and brake with one pair of hands: a walk that has still to be
  // started goes first (once held it costs nothing), braking takes the next
  // press.
  const auto act = [&](int direction) {
    const bool newWalk = direction != 0 && !S.held[direction < 0 ? kLeftKey : kRightKey];
    if (newWalk) Walk(direction);
    if (brake) PressUp();
    if (!newWalk) Walk(direction);
  };

  // Nothing to land on before the bottom of the screen: steer towards the
  // highest platform that can still be reached on the way down, even one
  // just below the bottom edge (the scroll lifts it while the creature falls;
  // the game is lost only once the creature's top leaves the screen).
  int steer = 0;
  if (landCanvas > 420) {
    const double walk = w.walk * (w.boots ? 1.5 : 1.0);
    double bestDx = 1e9;
    int bestRow = 0;
    bool brakeToReach = false;
    for (int col = 1; col <= 13; ++col) {
      const int row = LandingRow(col, w.floor);
      if (row <= 0 || row * 32.0 + w.scrollY > 500) continue;
      // One higher up catches the creature sooner; of two, the nearer.
      if (bestRow > 0 && (row > bestRow || (row == bestRow && std::abs(col * 32.0 - w.x) >= std::abs(bestDx)))) continue;
      const double drop2 = row * 32.0 - (w.y + 32);
      // Frames until the creature passes that row braking all the way, and
      // frames to get there sideways.
      const double t = FallFrames(w, drop2, true);
      const double dx = col * 32.0 - w.x;
      if (std::abs(dx) / walk > t - 2) continue;
      const bool needBrake = std::abs(dx) / walk > FallFrames(w, drop2, false) - 2;
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
      if (brakeToReach && !high && w.v > 0.5) brake = true;  // buys time to get there
      act(steer);
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
    act(direction);
    return;
  }

  // Steer towards a bonus on the way down.
  for (const Thing& bn : Bonuses()) {
    if (bn.y < w.y || (land > 0 && bn.y > land * 32.0)) continue;
    const double dx = bn.x - w.x;
    if (std::abs(dx) > 80 || std::abs(dx) < 3) continue;
    steer = dx < 0 ? -1 : 1;
    break;
  }
  // Just off an edge, a step back lands on the floor it left: walking off
  // and steering back would go on for ever.
  if (steer != 0 && (Solid(CellOf(w.x + 4 + steer * 9), w.floor) || Solid(CellOf(w.x + 26 + steer * 9), w.floor))) steer = 0;
  act(steer);
}

}  // namespace

void ResetAutoplayer() {
  const AutoplayStyle style = S.style;
  S = AutoplayerState{};
  S.style = style;
}

void SetAutoplayStyle(AutoplayStyle style) { S.style = style; }
AutoplayStyle CurrentAutoplayStyle() { return S.style; }

void SetHumanPressGap(int frames) { HumanGap = std::max(1, frames); }
int HumanPressGap() { return HumanGap; }

AutoplayCounts AutoplayPressCounts() {
  return {S.presses, S.shortestGap, S.shortestHold, S.perKey[kLeftKey], S.perKey[kRightKey], S.perKey[kUpKey],
          S.perKey[kBombKey]};
}

void Autoplay() {
  if (core::GameOver || core::Paused || core::ReplayPlayback) return;
  ++S.frame;
  // A bomb asked for has gone off once the controls have taken the request.
  if (S.bombAsked && !core::Controls.BombRequest) {
    S.bombAsked = false;
    CountPressAt(kBombKey, S.frame);
  }
  View w;
  if (S.style == AutoplayStyle::Human) {
    TakeSight(SightAt(S.frame));
    S.upPressed[Slot(S.frame)] = false;
    S.walked[Slot(S.frame)] = 0;
    const long decideFrom = S.frame - kHumanReactionFrames;
    if (decideFrom < 3) return;  // nothing seen long enough ago yet
    const Sight& seen = SightAt(decideFrom);
    const Sight& before = SightAt(decideFrom - 1);
    LearnGravity(SightAt(decideFrom - 2), before, seen);
    LearnJump(before, seen);
    Seen = &seen;
    w = LookHuman(seen, before);
  } else {
    Seen = nullptr;
    FillThings(WorldThings, false);
    w = LookSharp();
  }
  if (w.floor > S.deepestRow) {
    S.deepestRow = w.floor;
    S.lastProgress = S.frame;
  }
  // Held up by something that is neither floor nor air (a tile still on the
  // move) for too long: blast or jump out of it.
  const bool stuck = S.frame - S.lastProgress > 120 && w.canvasY < 290;
  if (stuck && !w.grounded && std::abs(w.v) < 0.3 && w.bombs >= 1.0 && S.frame - S.lastBomb > 100) {
    Walk(0);
    PressBomb(w);
  } else if (w.grounded && !(w.riding && w.v > 0.3 && w.canvasY > 250)) {
    if (w.floor != S.digFloor || w.v <= 0) S.digFloor = -1;
    Standing(w);
  } else {
    // (A loose tile sinking low on the screen is no floor: get off it.)
    Falling(w);
  }
  S.walked[Slot(S.frame)] = core::Controls.MoveLeft ? -1 : (core::Controls.MoveRight ? 1 : 0);
  Seen = nullptr;
}

}  // namespace tw::input
