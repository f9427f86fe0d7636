#include "app/main_loop.h"

#include <algorithm>
#include <chrono>
#include <vector>
#include <cstdio>

#include "audio/sound.h"
#include "config/options.h"
#include "config/saves.h"
#include "config/tuning.h"
#include "core/frame_clock.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/printable.h"
#include "app/desktop_events.h"
#include "app/game_frame.h"
#include "app/report.h"
#include "frontend/end_of_game.h"
#include "frontend/menu.h"
#include "input/autoplayer.h"
#include "input/keyboard.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/interrupt.h"
#include "platform/video.h"
#include "platform/web.h"
#include "render/device.h"
#include "replay/replay.h"
#include "replay/run_code.h"
#include "world/player.h"
#include "world/score.h"
#include "core/random.h"

namespace tw::app {

Single MenuMusicLevel = 0;
Single GameMusicLevel = 0;

namespace {

// Measures the real frame periods for the timing figures of the report.
struct PacingMeter {
  std::int64_t last = 0;
  std::int64_t first = 0;
  std::int64_t periods = 0;
  double sum_ms = 0;
  double max_late_ms = 0;
  std::int64_t late = 0;

  void Tick() {
    const std::int64_t now = platform::PerformanceCounter();
    const double freq = static_cast<double>(platform::PerformanceFrequency());
    if (last != 0) {
      const double ms = static_cast<double>(now - last) * 1000.0 / freq;
      sum_ms += ms;
      ++periods;
      const double late_ms = ms - 20.0;
      if (late_ms > max_late_ms) max_late_ms = late_ms;
      if (late_ms > 1.0) ++late;
    } else {
      first = now;
    }
    last = now;
  }
};

// What one run keeps from frame to frame, whoever calls the frames.
struct Run {
  CommandLine cl;  // a copy: in the browser the frames outlive RunGame's caller
  PacingMeter meter;
  // Per-frame work times, kept for the report.
  std::vector<float> work_ms;
  double work_total = 0;
  double cpu_start = 0;
  bool stepped = false;  // a frame has run, so the next step first closes it
  core::FrameBank bank;
};
Run g_run;

int FinishRun();

// The run's exit code, or for --verify the verdict's (its line printed), in
// the desktop's loop and the browser's alike.
int FinishRunOrVerify() {
  const int code = FinishRun();
  if (!g_run.cl.verify) return code;
  const replay::Verdict verdict = replay::VerifyVerdict();
  std::printf("%s\n", verdict.line.c_str());
  std::fflush(stdout);
  return verdict.exit_code;
}

// What the page shows its tests (and anyone curious) about the game.
void PublishState() {
  platform::PageState st;
  st.screen = frontend::MenuScreen.c_str();
  st.item = frontend::MenuItem;
  st.in_game = core::InGame;
  st.paused = core::Paused;
  st.game_over = core::GameOver;
  st.level = core::CurrentLevel;
  st.frame = static_cast<double>(core::FrameNumber);
  st.score = static_cast<double>(world::Score);
  st.x = static_cast<double>(world::Player.X);
  st.y = static_cast<double>(world::Player.Y);
  st.fps = static_cast<double>(core::FrameClock.Fps);
  // The rule WindUp applies: only a score above the table's last entry is named.
  st.naming = core::InGame && core::GameOver && !core::ReplayPlayback && world::EndFade == 0.0f &&
              num::CLng(static_cast<double>(world::Score)) > config::HighScores[9].Score;
  st.name = world::TypedName.c_str();
  // What the pad's tests look at: a released button is no key down, whatever
  // the creature's slide or fall does with its position meanwhile.
  st.held = static_cast<int>(std::count(core::KeyState.begin(), core::KeyState.end(), core::kKeyDown)) +
            core::MouseButton1 + core::MouseButton2 + core::MouseButton3;
  if (!core::InGame) {
    const Integer row = frontend::TableRow;
    st.run = frontend::MenuScreen == "hs" && row >= 0 && row < 10
                 ? config::HighScores[static_cast<std::size_t>(row)].Run.c_str()
                 : frontend::LastRunCode.c_str();
  }
  platform::PublishPageState(st);
}

// In the browser: the frames due since the last display refresh, at most a
// few (a hidden tab or a stall drops the backlog instead of racing through
// it). --fast runs as many as fit in most of a refresh, for quick checks.
void BrowserTick() {
  const std::int64_t freq = platform::PerformanceFrequency();
  const std::int64_t start = platform::PerformanceCounter();
  const bool fast = g_run.cl.fast;
  const int due = fast ? 1 << 20 : core::FramesDue(g_run.bank, start, freq / 50, 4);
  for (int i = 0; i < due; ++i) {
    if (fast && platform::PerformanceCounter() - start > freq * 12 / 1000) break;
    if (!StepFrame()) {
      platform::StopBrowserLoop(FinishRunOrVerify());
      return;
    }
    Single target = 50.0f;
    core::WaitFrame(target);  // no wait in the browser: only the frame-rate figures
    g_run.meter.Tick();
  }
  PublishState();
}

void StartUp(const CommandLine& cl) {
  platform::WarpCursor(800, 600);
  config::RemoveStaleSaveTemporaries();
  config::LoadOptions();
  if (cl.integer_scale) config::GameOptions.IntegerScale = true;
  if (!config::GameOptions.StoryReaden) {
    // The first start shows the story before anything else.
    frontend::MenuScreen = "story";
    frontend::MenuItem = 10;
  }
  render::Display = render::DisplaySettings{};
  render::Display.FullScreen = config::GameOptions.FULL_SCREEN;
  platform::SetCursorVisible(!config::GameOptions.FULL_SCREEN);
  platform::PumpEvents();
  audio::InitSound(!cl.headless && !cl.offscreen);
  core::Running = render::InitGraphics();
  config::LoadHighScores();
  if (config::GameOptions.Sound_On) {
    audio::MenuTrack().Play(0);
    MenuMusicLevel = 90;
    audio::GameTrack().SetVolume(1);
    GameMusicLevel = 1;
  }
}

// Starts a game at once, as the menu would, in the mode asked for.
void StartGameNow(StartMode mode) {
  config::ChooseGameMode(mode == StartMode::Story);
  config::LoadHighScores();
  core::InGame = true;
  replay::ReplayFrame = 0;
  frontend::StartGame();
  input::ResetAutoplayer();
}

// What a run given with --play-code goes by in messages and the report.
constexpr const char* kRunCodeName = "(run code)";

void ShutDown() {
  replay::ShutDown();  // a recording cut short keeps what it has
  platform::SetCursorVisible(true);
  render::ShutdownGraphics();
  audio::MenuTrack().Close();
  audio::GameTrack().Close();
  platform::SoundEngine::Shutdown();
}

}  // namespace

void MenuFrameMusic() {
  if (config::GameOptions.Sound_On) {
    platform::MusicPlayer& menu = audio::MenuTrack();
    if (menu.Position() == 0) menu.Play(0);
    // The clamp is tested before adding, so the level alternates 100, 101 at the top.
    if (MenuMusicLevel > 100) {
      MenuMusicLevel = 100;
    } else {
      if (MenuMusicLevel < 60) MenuMusicLevel += 3;
      MenuMusicLevel += 1;
    }
    menu.SetVolume(num::FloorToLong(MenuMusicLevel));
    if (menu.Position() >= menu.Length()) menu.Play(-1);
  }
  if (GameMusicLevel > 1 && config::GameOptions.Sound_On) {
    GameMusicLevel -= 0.2f;
    if (GameMusicLevel < 0) GameMusicLevel = 0;
    audio::GameTrack().SetVolume(num::FloorToLong(GameMusicLevel));
  }
}

void GameFrameMusic() {
  if (MenuMusicLevel > 1 && config::GameOptions.Sound_On) {
    MenuMusicLevel -= 0.1f;
    if (MenuMusicLevel < 0) MenuMusicLevel = 0;
    audio::MenuTrack().SetVolume(num::FloorToLong(MenuMusicLevel));
  }
  if (config::GameOptions.Sound_On) {
    if (GameMusicLevel < 60) GameMusicLevel += 3;
    GameMusicLevel += 1;
    if (GameMusicLevel > 90) GameMusicLevel = 90;
    platform::MusicPlayer& game = audio::GameTrack();
    game.SetVolume(num::FloorToLong(GameMusicLevel));
    if (game.Position() >= game.Length()) {
      game.Stop(0);
      game.Play(0);
    }
  }
}

bool RequestClose() {
  if (core::Running) {
    core::Running = false;  // the current frame finishes, then the orderly shut-down
    return false;
  }
  return true;
}

int RunGame(const CommandLine& cl) {
  if (cl.data_dir) {
    platform::SetAppDir(*cl.data_dir);
  } else {
    std::string looked_in;
    const auto found = platform::FindDataDir(looked_in);
    if (!found) {
      std::fprintf(stderr,
                   "tumblewell: no game data found (looked in %s); reinstall the game or name its "
                   "folder with --data DIR\n",
                   looked_in.c_str());
      return 1;
    }
    platform::SetAppDir(*found);
  }
  platform::SetVideoBackend(cl.headless    ? platform::VideoBackend::Headless
                            : cl.offscreen ? platform::VideoBackend::Offscreen
                                           : platform::VideoBackend::Window);
  // The browser's own loop paces the frames: the game never waits there.
  core::SetFrameWaitEnabled(!cl.fast && !platform::BrowserOwnsLoop());
  core::SeedRandom(cl.seed ? *cl.seed
                            : static_cast<std::uint64_t>(
                                  std::chrono::system_clock::now().time_since_epoch().count()));
  platform::CatchInterrupts();
  if (cl.play_file && !platform::ReadFile(*cl.play_file)) {
    std::fprintf(stderr, "tumblewell: cannot read replay %s\n", cl.play_file->c_str());
    return 2;
  }
  if (cl.play_code) {
    std::string error;
    std::optional<std::string> text = replay::DecodeRunCode(*cl.play_code, error);
    if (!text) {
      std::fprintf(stderr, "tumblewell: --play-code: %s\n", error.c_str());
      return 2;
    }
    replay::UseReplayText(kRunCodeName, std::move(*text));
  }
  if (cl.keys_file) {
    const auto text = platform::ReadFile(*cl.keys_file);
    if (!text) {
      std::fprintf(stderr, "tumblewell: cannot read keyboard script %s\n", core::Printable(*cl.keys_file).c_str());
      return 2;
    }
    std::string error;
    auto events = input::ParseKeyScript(*text, error);
    if (!events) {
      std::fprintf(stderr, "tumblewell: %s: %s\n", core::Printable(*cl.keys_file).c_str(), error.c_str());
      return 2;
    }
    input::UseKeyScript(std::move(*events));
  }
  platform::SetWindowEvents({[] { return RequestClose(); },
                             [](int button, bool down) {
                               if (button == 1) core::MouseButton1 = down;
                               if (button == 2) core::MouseButton2 = down;
                               if (button == 3) core::MouseButton3 = down;
                             },
                             [] { ToggleFullScreen(); }, [] { PauseWhileAway(); }, [] { PauseWhileAway(); }});

  Autoplaying = cl.autoplay;
  input::SetAutoplayStyle(cl.sharp_autoplay ? input::AutoplayStyle::Sharp : input::AutoplayStyle::Human);
  if (cl.autoplay) Result.player = cl.sharp_autoplay ? "sharp" : "human";
  if (cl.press_gap > 0) input::SetHumanPressGap(cl.press_gap);
  g_run = Run{};
  g_run.cl = cl;
  StartUp(cl);
  g_run.cpu_start = platform::ProcessCpuSeconds();  // the loop's cost, not the loading's
  if (cl.record) replay::ReplayRecord = true;  // the game --start begins, or the next one
  if (core::Running && (cl.play_file || cl.play_code)) {
    core::ReplayPlayback = true;
    replay::ReplayRecord = false;
    replay::ReplayFile = cl.play_file ? *cl.play_file : kRunCodeName;
    const bool story = cl.start == StartMode::None ? config::GameOptions.GameMode_Story
                                                   : cl.start == StartMode::Story;
    StartGameNow(story ? StartMode::Story : StartMode::Arcade);
  } else if (core::Running && cl.start != StartMode::None) {
    StartGameNow(cl.start);
  }

  // Room for a long benchmark run's work times is made up front so frames do not allocate.
  g_run.work_ms.reserve(static_cast<std::size_t>(std::min<std::int64_t>(cl.frames.value_or(0), 1 << 20)));
  if (platform::BrowserOwnsLoop()) {
    // The page calls BrowserTick once per display refresh; this does not return.
    platform::RunBrowserLoop(&BrowserTick);
    return 0;
  }
  while (StepFrame()) {
    Single target = 50.0f;
    core::WaitFrame(target);
    g_run.meter.Tick();
  }
  return FinishRunOrVerify();
}

namespace {

int FinishRun() {
  const CommandLine& cl = g_run.cl;
  const PacingMeter& meter = g_run.meter;
  std::vector<float>& work_ms = g_run.work_ms;
  FrameTiming timing;
  timing.frames = meter.periods;
  timing.mean_period_ms = meter.periods > 0 ? meter.sum_ms / static_cast<double>(meter.periods) : 0;
  timing.max_late_ms = meter.max_late_ms;
  timing.late_frames = meter.late;
  timing.wall_seconds = meter.periods > 0 ? static_cast<double>(meter.last - meter.first) /
                                                static_cast<double>(platform::PerformanceFrequency())
                                          : 0;
  timing.cpu_seconds = platform::ProcessCpuSeconds() - g_run.cpu_start;
  timing.work_total_seconds = g_run.work_total;
  if (!work_ms.empty()) {
    // Medians of the first and the last tenth of the run (in frame order),
    // so a long run shows whether the frame cost drifts.
    const auto tenth = std::max<std::size_t>(1, work_ms.size() / 10);
    const auto median_of = [](std::vector<float> part) {
      std::nth_element(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(part.size() / 2), part.end());
      return static_cast<double>(part[part.size() / 2]);
    };
    timing.work_median_first_tenth_ms = median_of({work_ms.begin(), work_ms.begin() + static_cast<std::ptrdiff_t>(tenth)});
    timing.work_median_last_tenth_ms = median_of({work_ms.end() - static_cast<std::ptrdiff_t>(tenth), work_ms.end()});
    std::sort(work_ms.begin(), work_ms.end());
    const auto at = [&](double q) {
      return static_cast<double>(work_ms[static_cast<std::size_t>(q * static_cast<double>(work_ms.size() - 1))]);
    };
    timing.work_median_ms = at(0.5);
    timing.work_p99_ms = at(0.99);
    timing.work_max_ms = static_cast<double>(work_ms.back());
  }

  ShutDown();
  // Saves that failed during the run are tried once more; what still fails
  // is named on stderr and the exit code says so.
  const bool all_saved = config::SaveEverythingAtShutDown();
  if (cl.report_file && !WriteReport(*cl.report_file, timing)) {
    std::fprintf(stderr, "tumblewell: cannot write report %s\n", core::Printable(*cl.report_file).c_str());
    return 1;
  }
  return all_saved ? 0 : kExitSavesLost;
}

}  // namespace

bool StepFrame() {
  Run& r = g_run;
  const CommandLine& cl = r.cl;
  // The previous frame closes here, after whatever wait its caller made: the
  // events that came in meanwhile are read, and the frame number moves on.
  if (r.stepped) {
    if (platform::InputPending() || !config::GameOptions.FullScreenChoice) platform::PumpEvents();
    if (cl.state_file) UpdateStateFile(*cl.state_file);
    ++core::FrameNumber;
  }
  r.stepped = true;
  if (!core::Running) return false;
  // Ctrl-C stops the game as a window close does: in order.
  if ((cl.frames && core::FrameNumber >= *cl.frames) || platform::InterruptRequested()) {
    core::Running = false;
    return false;
  }
  // An autoplayed game started from the command line ends the run, as does
  // the end of the game a --verify checks.
  if ((cl.autoplay && cl.start != StartMode::None && Result.over) || (cl.verify && replay::GameEndNoted())) {
    core::Running = false;
    return false;
  }
  const double work_start = platform::ThreadCpuSeconds();
  input::ApplyKeyScript(core::FrameNumber);
  if (!core::InGame) {
    frontend::MenuFrame();
    MenuFrameMusic();
  } else {
    GameFrame();
  }
  EndOfFrame();
  const double work = platform::ThreadCpuSeconds() - work_start;
  r.work_total += work;
  if (r.work_ms.size() < r.work_ms.capacity()) r.work_ms.push_back(static_cast<float>(work * 1000.0));
  return true;
}

}  // namespace tw::app
