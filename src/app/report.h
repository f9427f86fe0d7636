// The JSON state report written at shut-down (--report).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw::app {

// A minimal JSON builder: values are appended in order; commas are handled.
struct Json {
  std::string text;
  bool need_comma = false;

  void BeginObject(std::string_view key = {});
  void EndObject();
  void BeginArray(std::string_view key = {});
  void EndArray();
  void Key(std::string_view key);
  void String(std::string_view key, std::string_view value);
  void Number(std::string_view key, double value);
  void Integer(std::string_view key, std::int64_t value);
  void Bool(std::string_view key, bool value);
};
std::string JsonEscape(std::string_view s);

// Frame pacing measured over the run (for the benchmark).
struct FrameTiming {
  std::int64_t frames = 0;
  double mean_period_ms = 0;
  double max_late_ms = 0;  // worst amount by which a period exceeded 20 ms
  std::int64_t late_frames = 0;  // periods more than 1 ms over 20 ms
  double wall_seconds = 0;
  double cpu_seconds = 0;
  // CPU time of each frame's own work (everything but the wait), for the
  // per-frame cost benchmarks.
  double work_median_ms = 0;
  double work_p99_ms = 0;
  double work_max_ms = 0;
  double work_median_first_tenth_ms = 0;
  double work_median_last_tenth_ms = 0;
  double work_total_seconds = 0;
};

// How the game started with --start went: filled in by the main loop.
struct GameResult {
  bool started = false;
  bool over = false;
  bool won = false;
  // "won", "drills", "bottom" (fell out of the screen), "water" (sank out of
  // the screen after a second or more in the water) or "gave up".
  std::string cause;
  std::int64_t frames = 0;       // game frames until the end
  std::int64_t water_frames = 0;  // frames in the water just before the end
  int deepest_row = 0;
  int level = 0;
  std::array<std::int64_t, 12> level_frames{};
  // Of the last second's frames, those in which the drills' tip was above the
  // screen (a death by drills nobody could see coming has some).
  std::array<bool, 50> tip_hidden{};
  int tip_hidden_last_second = 0;  // game frames spent in each level (0 before the scroll starts)
  double score = 0;
  // Who played: "keyboard", or the autoplayer ("human" or "sharp").
  std::string player = "keyboard";
};
extern GameResult Result;
// Follows the running game; called after every game frame.
void TrackGameResult();

// The world's fingerprint after every 50th game frame of the run, in order
// (runs of the same inputs must give the same trail).
extern std::vector<std::uint64_t> StateTrail;
// Called after every game frame.
void TrackStateTrail();

// The whole report as text.
std::string BuildReport(const FrameTiming& timing);
bool WriteReport(const std::string& path, const FrameTiming& timing);

// --state: "frame=N mode=M screen=S item=I full_screen=0|1 unsaved=N" (the
// screen "-" for the main menu); rewritten to `path` when anything but the
// frame changes, and every 50 frames.
void UpdateStateFile(const std::string& path);

}  // namespace tw::app
