// A whole new game set up from an arbitrary tuning file, then a few hundred
// frames of play (the game's own frame, drawing headless) with a simple
// scripted player. Whatever the file says, start-up ends, the state
// stays finite and the creature stays inside the shaft.
#include <cmath>

#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/random.h"
#include "app/game_frame.h"
#include "fuzz_support.h"
#include "platform/video.h"
#include "render/device.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/grid.h"
#include "world/new_game.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace {

constexpr int kFrames = 300;

void CheckFinite(float v, const char* what) {
  if (!std::isfinite(v)) tw::fuzz::Fail(what);
}

void CheckState() {
  using namespace tw;
  const auto& p = world::Player;
  CheckFinite(p.X, "player x finite");
  CheckFinite(p.Y, "player y finite");
  CheckFinite(p.VelocityY, "player velocity finite");
  CheckFinite(world::DrillY, "drills finite");
  CheckFinite(world::WaterY, "water finite");
  CheckFinite(core::ScrollY, "scroll finite");
  CheckFinite(world::Score, "score finite");
  constexpr float kWidth = static_cast<float>(core::kGridColumns * core::TileSize);
  constexpr float kDepth = static_cast<float>(core::kGridRows * core::TileSize);
  TW_FUZZ_CHECK(p.X >= 0 && p.X <= kWidth);
  TW_FUZZ_CHECK(p.Y >= -kDepth && p.Y <= kDepth);
  for (const auto& t : world::FallingTiles) {
    CheckFinite(t.X, "falling tile x finite");
    CheckFinite(t.Y, "falling tile y finite");
  }
  for (const auto& b : world::Bonuses) {
    CheckFinite(b.X, "bonus x finite");
    CheckFinite(b.Y, "bonus y finite");
  }
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
  fuzz::PutFile(fuzz::PrivateAppDir() / "textures" / "lvl1.bmp", fuzz::AsText(data, size));
  config::GameOptions = config::Options{};
  config::GameOptions.GameMode_Story = true;
  config::GameOptions.Sound_On = false;
  core::FrameTime = 0.02;
  core::SeedRandom(size);
  core::KeyState.fill(0);
  core::Controls = core::ControlState{};
  core::Paused = false;
  core::InGame = true;
  world::StartNewGame();
  for (int f = 0; f < kFrames && !core::GameOver; ++f) {
    core::KeyState.fill(0);
    const int phase = f % 100;
    if (phase < 40) core::KeyState[core::key::Right] = core::kKeyDown;
    if (phase >= 50 && phase < 80) core::KeyState[core::key::Left] = core::kKeyDown;
    if (f % 30 < 3) core::KeyState[core::key::Up] = core::kKeyDown;
    if (f % 45 == 20) core::KeyState[core::key::Space] = core::kKeyDown;
    app::GameFrame();
    CheckState();
  }
  return 0;
}
