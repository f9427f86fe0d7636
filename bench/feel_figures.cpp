// Feel figures of a tuning file: how the materials, jumps, bounces and
// braked falls play, measured on small hand-built shafts with the game's own
// world code. Run by hand:
//   build/feel_figures data/tuning_story.ini [story|arcade]
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include <unistd.h>

#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "platform/files.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/grid.h"
#include "world/new_game.h"
#include "world/player.h"
#include "core/random.h"
#include "world/tile_dynamics.h"

namespace {

using namespace tw;

constexpr int kFloor = 20;  // the row the scenes stand on

void Scene(Integer floorValue, int from = 1, int to = 13) {
  world::StartNewGame();
  world::ClearTileLayer();
  world::Bonuses.assign(1, world::Bonus{});
  for (auto& column : world::TileGrid.Touched) column.fill(true);
  for (auto& t : world::FallingTiles) t = world::FallingTile{};
  for (int c = from; c <= to; ++c) world::TileAt(static_cast<Single>(c), kFloor, floorValue);
  for (int r = 0; r < 60; ++r) {
    world::TileAt(0, static_cast<Single>(r), world::kWallMetal);
    world::TileAt(14, static_cast<Single>(r), world::kWallMetal);
  }
  core::Controls = core::ControlState{};
  core::ScrollY = 0;
}

void Place(int col, int row) {
  auto& p = world::Player;
  p.X = static_cast<Single>(col * 32);
  p.Y = static_cast<Single>(row * 32);
  p.PrevX = p.X;
  p.VelocityY = 0;
  p.Airborne = false;
}

void Step() {
  // The view follows the creature and the drills stay away: only the
  // physics are measured.
  core::ScrollY = 200.0f - world::Player.Y;
  world::DrillY = -100000.0f;
  world::UpdatePlayer();
  world::UpdateTiles();
}

// A tile of the given material in level 1's colour.
Integer Tile(Integer material) { return world::FindTileType(1, "", material); }

double WalkSpeed(Integer material) {
  Scene(Tile(material));
  Place(2, kFloor - 1);
  for (int i = 0; i < 5; ++i) Step();
  const double x0 = world::Player.X;
  for (int i = 0; i < 50; ++i) {
    core::Controls.MoveRight = true;
    Step();
  }
  return world::Player.X - x0;  // pixels in one second
}

double IceTap(int width) {
  Scene(Tile(world::kMatIce), 1, width);
  Place(1, kFloor - 1);
  for (int i = 0; i < 5; ++i) Step();
  const double x0 = world::Player.X;
  core::Controls.MoveRight = true;
  for (int i = 0; i < 300 && world::Player.Y < (kFloor - 1) * 32 + 8; ++i) Step();
  return world::Player.X - x0;
}

// Highest rise after landing from `rows` rows above the floor.
double Bounce(Integer material, int rows) {
  Scene(Tile(material));
  Place(6, kFloor - 1 - rows);
  bool landed = false;
  double top = 1e9;
  for (int i = 0; i < 400; ++i) {
    Step();
    if (!landed && world::Player.VelocityY < 0) landed = true;
    if (landed) top = std::min<double>(top, world::Player.Y);
    if (landed && world::Player.VelocityY > 0) break;
  }
  return (kFloor - 1) * 32 - top;
}

// Speed after a long fall with Up pressed every `every` steps (6.25: eight
// times a second; 8: the six a second a person manages).
double BrakedFall(int steps, bool ears, double every = 6.25) {
  Scene(0);
  Place(6, 0);
  world::EarsTime = ears ? 100000.0f : 0.0f;
  double next = 3;
  for (int i = 0; i < steps; ++i) {
    if (i >= next) {
      core::Controls.JumpRequest = true;
      next += every;
    }
    Step();
  }
  world::EarsTime = 0;
  return world::Player.VelocityY * 50.0;
}

// Does a platform `rows` below catch the creature (the tile under it stays)?
bool Caught(int rows, bool braking) {
  Scene(Tile(world::kMatNormal), 5, 8);
  Place(6, kFloor - 1 - rows);
  double next = 3;
  for (int i = 0; i < 400; ++i) {
    if (braking && i >= next && world::Player.VelocityY > 0) {
      core::Controls.JumpRequest = true;
      next += 6.25;
    }
    Step();
  }
  return world::TileAt(6, kFloor) > 0 && world::TileAt(7, kFloor) > 0;
}

// What a landing after a fall of `rows` rows, braked at a person's six
// presses a second, does to the platform: it holds, knocks a tile loose (the
// creature rides it down) or smashes it.
const char* BrakedLanding(int rows) {
  Scene(Tile(world::kMatNormal), 5, 8);
  Place(6, kFloor - 1 - rows);
  double next = 3;
  for (int i = 0; i < 400 && world::TileAt(6, kFloor) > 0 && world::Player.Y < (kFloor - 1) * 32 - 2; ++i) {
    if (i >= next && world::Player.VelocityY > 0) {
      core::Controls.JumpRequest = true;
      next += 8.0;
    }
    Step();
  }
  for (int i = 0; i < 5; ++i) Step();
  if (world::TileAt(6, kFloor) > 0 && world::TileAt(7, kFloor) > 0) return "holds";
  for (const auto& t : world::FallingTiles) {
    if (t.Active) return "knocked loose";
  }
  return "smashed";
}

// Standing still, then jumping: are the tiles under the feet still there?
bool FloorAfter(bool jump, Integer value) {
  Scene(value);
  Place(6, kFloor - 1);
  for (int i = 0; i < 100; ++i) Step();
  if (jump) {
    core::Controls.JumpRequest = true;
    for (int i = 0; i < 300; ++i) Step();
  } else {
    for (int i = 0; i < 60; ++i) {
      core::Controls.MoveRight = i < 30;
      core::Controls.MoveLeft = i >= 30;
      Step();
    }
  }
  return world::TileAt(6, kFloor) > 0;  // both feet stand on column 6
}

bool GlassAfterFall(int rows) {
  Scene(world::kGlass);
  Place(6, kFloor - 1 - rows);
  for (int i = 0; i < 300; ++i) Step();
  return world::TileAt(6, kFloor) > 0 && world::TileAt(7, kFloor) > 0;
}

const char* YesNo(bool b) { return b ? "yes" : "no"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: feel_figures TUNING.ini [story|arcade]\n");
    return 2;
  }
  const bool story = argc < 3 || std::string(argv[2]) != "arcade";
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("tw_feel_" + std::to_string(::getpid()));
  fs::create_directories(dir / "textures");
  fs::copy_file(argv[1], dir / "textures" / (story ? "lvl1.bmp" : "lvl2.bmp"), fs::copy_options::overwrite_existing);
  ::setenv("XDG_CONFIG_HOME", (dir / "config").string().c_str(), 1);
  platform::SetAppDir(dir.string());
  config::GameOptions.GameMode_Story = story;
  config::GameOptions.Sound_On = false;
  core::FrameTime = 0.02;
  core::SeedRandom(1);

  std::printf("walking speed, px/s: normal %.0f, mud %.0f, ice %.0f, gum %.0f, glass %.0f, stone %.0f\n",
              WalkSpeed(world::kMatNormal), WalkSpeed(world::kMatMud), WalkSpeed(world::kMatIce),
              WalkSpeed(world::kMatGum), WalkSpeed(world::kGlass), WalkSpeed(world::kStone));
  std::printf("ice, one tap: slides %.0f px on a 4-tile platform, %.0f px on a full-width floor\n", IceTap(4),
              IceTap(13));
  std::printf("gum bounce of a 4-row drop: %.0f px (normal floor: %.0f px)\n", Bounce(world::kMatGum, 4),
              Bounce(world::kMatNormal, 4));
  std::printf("braked fall at 8 presses/s: %.0f px/s (with big ears %.0f px/s); at 6 presses/s: %.0f px/s\n",
              BrakedFall(600, false), BrakedFall(600, true), BrakedFall(600, false, 8.0));
  std::printf("platform catches a fall of 4 / 6 rows: braked %s / %s, unbraked %s / %s\n", YesNo(Caught(4, true)),
              YesNo(Caught(6, true)), YesNo(Caught(4, false)), YesNo(Caught(6, false)));
  std::printf("a fall of 6 / 10 / 20 rows braked at 6 presses/s lands: %s / %s / %s\n", BrakedLanding(6),
              BrakedLanding(10), BrakedLanding(20));
  std::printf("floor under the feet stays: walking %s, jump from standing %s\n",
              YesNo(FloorAfter(false, Tile(world::kMatNormal))), YesNo(FloorAfter(true, Tile(world::kMatNormal))));
  std::printf("glass holds a standing creature: %s; holds a fall of 1 row: %s\n",
              YesNo(FloorAfter(false, world::kGlass)), YesNo(GlassAfterFall(1)));
  fs::remove_all(dir);
  return 0;
}
