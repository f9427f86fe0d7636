// A replay file of any content played back as the menu would play it: the
// start state loaded over a new game, then key changes, pauses and the end.
// Whatever the file says, playback ends, nothing lands outside the grid and
// the state stays finite.
#include <cmath>

#include "config/options.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/random.h"
#include "fuzz_support.h"
#include "platform/video.h"
#include "render/device.h"
#include "app/game_frame.h"
#include "replay/replay.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/grid.h"
#include "world/level_scroll.h"
#include "world/new_game.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace {

constexpr int kFrames = 400;

void Check(bool ok, const char* what) {
  if (!ok) tw::fuzz::Fail(what);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tw::fuzz::PrivateAppDir();
  tw::platform::SetVideoBackend(tw::platform::VideoBackend::Headless);
  tw::render::InitGraphics();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  fuzz::PutFile(fuzz::PrivateAppDir() / "replay.ini", fuzz::AsText(data, size));
  config::GameOptions = config::Options{};
  config::GameOptions.GameMode_Story = true;
  config::GameOptions.Sound_On = false;
  core::FrameTime = 0.02;
  core::SeedRandom(1);
  core::KeyState.fill(0);
  core::Controls = core::ControlState{};
  core::Paused = false;
  core::GameOver = false;
  core::InGame = true;
  replay::ReplayRecord = false;
  core::ReplayPlayback = true;
  replay::ReplayFile = "replay.ini";
  replay::ReplayFrame = 0;
  world::EndFade = 0;
  replay::PrepareNewGame();
  world::StartNewGame();
  int frame = 0;
  for (; frame < kFrames && !core::GameOver; ++frame) {
    app::GameFrame();
    const auto& p = world::Player;
    Check(std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(world::Score), "state finite");
    for (const auto& b : world::Bonuses) Check(!b.Active || (std::isfinite(b.X) && std::isfinite(b.Y)), "bonus finite");
  }
  for (const auto& column : world::TileGrid.Tile) {
    for (const auto v : column) Check(v >= 0 && v <= 62, "cell values the game knows");
  }
  replay::FinishGame();
  return 0;
}
