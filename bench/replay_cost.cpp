// Replay cost, run by hand: saving and loading the start state of a shaft
// (the installed arcade shaft, and the worst case of a grid full to its last
// row), and the per-frame cost of recording and of playback.
// Each figure is measured over several rounds; the least and the median are
// shown (on a busy machine the least is the cost, the rest is waiting).
// Usage: tw_replay_bench [frames] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "config/ini_store.h"
#include "config/options.h"
#include "config/tuning.h"
#include "world/new_game.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "platform/files.h"
#include "replay/replay.h"
#include "world/grid.h"
#include "world/player.h"
#include "core/random.h"

namespace {

namespace fs = std::filesystem;
using namespace tw;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void NewGame(bool record, bool playback) {
  replay::ReplayRecord = record;
  core::ReplayPlayback = playback;
  replay::ReplayFile = replay::kRecordFile;
  replay::ReplayFrame = 0;
  core::GameOver = false;
  replay::PrepareNewGame();
  world::StartNewGame();
}

struct Figures {
  double save_ms, write_ms, index_ms, setup_ms, load_ms, record_us, play_us;
  std::uintmax_t size;
};

Figures MeasureOnce(bool full_grid, int frames) {
  NewGame(true, false);
  if (full_grid) {
    config::MapHeight = static_cast<Single>(world::kLastGridRow);
    for (auto& column : world::TileGrid.Tile) column.fill(1);
  }
  auto t = Clock::now();
  replay::ReplayStep();  // frame 0: the start state goes into the recording
  const double save_ms = MsSince(t);
  // A key change every 10 frames, in turn on each of the four keys.
  t = Clock::now();
  for (int f = 1; f < frames; ++f) {
    auto& c = core::Controls;
    if (f % 10 == 0) {
      const int k = (f / 10) % 4;
      if (k == 0) c.MoveLeft = !c.MoveLeft;
      if (k == 1) c.MoveRight = !c.MoveRight;
      if (k == 2) c.JumpRequest = true;
      if (k == 3) c.JumpLatch = !c.JumpLatch;
    }
    replay::ReplayStep();
    c.JumpRequest = false;
  }
  const double record_us = MsSince(t) * 1000.0 / (frames - 1);
  // The game ended at the bottom of the shaft: every row is played back.
  core::ScrollY = -(config::MapHeight - 15.0f) * 32.0f;
  t = Clock::now();
  replay::WriteClosingValues();
  replay::FinishGame();
  const double write_ms = MsSince(t);
  const auto size = fs::file_size(platform::AppPath(replay::kRecordFile));

  // Reading and indexing the file alone, then as the new-game set-up does it
  // (with the shaft generated).
  t = Clock::now();
  const auto text = platform::ReadFile(platform::AppPath(replay::kRecordFile));
  const config::IniIndex index = config::IndexIniText(text.value_or(""));
  const double index_ms = MsSince(t);
  t = Clock::now();
  NewGame(false, true);
  const double setup_ms = MsSince(t);
  t = Clock::now();
  replay::ReplayStep();  // frame 0: the start state comes out of the file
  const double load_ms = MsSince(t);
  t = Clock::now();
  int played = 1;
  for (; played < frames && !core::GameOver; ++played) replay::ReplayStep();
  const double play_us = MsSince(t) * 1000.0 / played;
  replay::FinishGame();

  return {save_ms, write_ms, index_ms, setup_ms, load_ms, record_us, play_us, size};
}

void Measure(const char* name, bool full_grid, int frames, int rounds) {
  std::vector<Figures> all;
  for (int i = 0; i < rounds; ++i) all.push_back(MeasureOnce(full_grid, frames));
  // "least / median" of one figure over the rounds.
  const auto stat = [&](double Figures::*field) {
    std::vector<double> v;
    for (const Figures& f : all) v.push_back(f.*field);
    std::sort(v.begin(), v.end());
    static char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f / %.2f", v.front(), v[v.size() / 2]);
    return std::string(buf);
  };
  std::printf("%s: %.0f rows, file %.0f KB (least / median of %d rounds)\n", name,
              static_cast<double>(config::MapHeight), static_cast<double>(all.front().size) / 1024.0, rounds);
  std::printf("  save start state (frame 0, in memory) %s ms; file written at the wind-up %s ms\n",
              stat(&Figures::save_ms).c_str(), stat(&Figures::write_ms).c_str());
  std::printf("  load: file read and indexed %s ms (new-game set-up with it %s ms); start state %s ms\n",
              stat(&Figures::index_ms).c_str(), stat(&Figures::setup_ms).c_str(), stat(&Figures::load_ms).c_str());
  std::printf("  per frame (%d frames): recording %s us, playback %s us\n", frames,
              stat(&Figures::record_us).c_str(), stat(&Figures::play_us).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(2, std::atoi(argv[1])) : 50000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  const fs::path dir = fs::temp_directory_path() / ("tw_replay_bench_" + std::to_string(::getpid()));
  fs::create_directories(dir / "textures");
  fs::copy_file(fs::path(TW_SOURCE_DIR) / "data" / "tuning_arcade.ini", dir / "textures" / "lvl2.bmp");
  platform::SetAppDir(dir.string());
  ::setenv("XDG_CONFIG_HOME", dir.string().c_str(), 1);
  config::GameOptions.GameMode_Story = false;
  core::SeedRandom(1);
  Measure("arcade shaft", false, frames, rounds);
  Measure("full grid (every cell of rows 0..5000 filled)", true, frames, rounds);
  fs::remove_all(dir);
  return 0;
}
