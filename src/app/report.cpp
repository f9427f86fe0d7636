#include "app/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "config/options.h"
#include "config/saves.h"
#include "config/tuning.h"
#include "frontend/menu.h"
#include "input/autoplayer.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/player.h"
#include "world/score.h"
#include "world/state_hash.h"
#include "core/frame_clock.h"
#include "core/game_state.h"
#include "core/numeric.h"
#include "platform/files.h"
#include "replay/replay.h"

namespace tw::app {

GameResult Result;
std::vector<std::uint64_t> StateTrail;

namespace {
std::int64_t g_game_frames = 0;  // game frames run since start-up
}  // namespace

void TrackStateTrail() {
  if (++g_game_frames % 50 == 0) StateTrail.push_back(world::StateHash());
}

void TrackGameResult() {
  GameResult& r = Result;
  if (!core::InGame || r.over) return;
  const world::PlayerState& p = world::Player;
  r.started = true;
  r.deepest_row = std::max(r.deepest_row, static_cast<int>(num::FloorToLong(static_cast<double>(p.Y) / 32.0)));
  r.level = std::max(r.level, static_cast<int>(core::CurrentLevel));
  if (!core::GameOver) {
    ++r.frames;
    ++r.level_frames[static_cast<std::size_t>(std::clamp<int>(core::CurrentLevel, 0, 11))];
    r.water_frames = p.InWater ? r.water_frames + 1 : 0;
    r.tip_hidden[static_cast<std::size_t>(r.frames % 50)] = world::DrillY + 32.0f <= 0.0f;
    return;
  }
  r.over = true;
  r.won = world::GameWon;
  r.score = static_cast<double>(world::Score);
  r.tip_hidden_last_second = static_cast<int>(std::count(r.tip_hidden.begin(), r.tip_hidden.end(), true));
  if (r.won) {
    r.cause = "won";
  } else if (p.Y > 480.0f - core::ScrollY) {
    r.cause = r.water_frames >= 50 ? "water" : "bottom";
  } else if (p.Y < world::DrillTipWorldY()) {
    r.cause = "drills";
  } else {
    r.cause = "gave up";
  }
}

std::string JsonEscape(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

void Json::Key(std::string_view key) {
  if (need_comma) text += ',';
  need_comma = true;
  if (!key.empty()) text += "\"" + JsonEscape(key) + "\":";
}

void Json::BeginObject(std::string_view key) {
  Key(key);
  text += '{';
  need_comma = false;
}

void Json::EndObject() {
  text += '}';
  need_comma = true;
}

void Json::BeginArray(std::string_view key) {
  Key(key);
  text += '[';
  need_comma = false;
}

void Json::EndArray() {
  text += ']';
  need_comma = true;
}

void Json::String(std::string_view key, std::string_view value) {
  Key(key);
  text += "\"" + JsonEscape(value) + "\"";
}

void Json::Number(std::string_view key, double value) {
  Key(key);
  if (!std::isfinite(value)) {
    text += "null";
    return;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9g", value);
  text += buf;
}

void Json::Integer(std::string_view key, std::int64_t value) {
  Key(key);
  text += std::to_string(value);
}

void Json::Bool(std::string_view key, bool value) {
  Key(key);
  text += value ? "true" : "false";
}

std::string BuildReport(const FrameTiming& timing) {
  Json j;
  j.BeginObject();
  j.Integer("frames", core::FrameNumber);
  j.Number("fps", static_cast<double>(core::FrameClock.Fps));
  // At shut-down the loop has stopped; report what the game was doing.
  j.String("mode", core::GameModeName(core::ActivityMode()));
  const config::Options& o = config::GameOptions;
  j.BeginObject("options");
  j.Bool("details_high", o.Details_High);
  j.Bool("game_mode_story", o.GameMode_Story);
  j.Bool("sound_on", o.Sound_On);
  j.Bool("full_screen", o.FULL_SCREEN);
  j.Bool("full_screen_choice", o.FullScreenChoice);
  j.Bool("arcade_locked", o.ArcadeLocked);
  j.Bool("story_readen", o.StoryReaden);
  j.EndObject();
  j.BeginArray("high_scores");
  for (std::size_t i = 0; i < 10; ++i) {
    j.BeginObject();
    j.String("name", config::HighScores[i].Name);
    j.Integer("score", config::HighScores[i].Score);
    j.EndObject();
  }
  j.EndArray();
  j.BeginObject("menu");
  j.String("screen", frontend::MenuScreen);
  j.Integer("item", frontend::MenuItem);
  j.EndObject();
  j.Integer("last_game_score", world::LastGameScore);
  j.Integer("played_games", config::PlayedGames);
  j.String("typed_name", world::TypedName);
  j.BeginObject("game");
  j.Number("score", static_cast<double>(world::Score));
  j.Integer("level", core::CurrentLevel);
  j.Number("scroll_y", static_cast<double>(core::ScrollY));
  j.Number("drill_y", static_cast<double>(world::DrillY));
  j.Number("water_y", static_cast<double>(world::WaterY));
  j.Number("map_height", static_cast<double>(config::MapHeight));
  j.Bool("game_over", core::GameOver);
  j.Bool("won", world::GameWon);
  j.Number("bombs", static_cast<double>(world::Bombs));
  j.Number("boot_time", static_cast<double>(world::BootTime));
  j.Number("ears_time", static_cast<double>(world::EarsTime));
  const world::PlayerState& p = world::Player;
  j.BeginObject("player");
  j.Number("x", static_cast<double>(p.X));
  j.Number("y", static_cast<double>(p.Y));
  j.Number("velocity_y", static_cast<double>(p.VelocityY));
  j.Number("weight", static_cast<double>(p.Weight));
  j.Bool("airborne", p.Airborne);
  j.Bool("on_ice", p.OnIce);
  j.Bool("in_water", p.InWater);
  j.EndObject();
  j.String("state_hash", world::StateHashText(world::StateHash()));
  j.EndObject();
  j.BeginArray("trail");
  for (const std::uint64_t h : StateTrail) j.String("", world::StateHashText(h));
  j.EndArray();
  if (Result.started) {
    j.BeginObject("result");
    j.Bool("over", Result.over);
    j.Bool("won", Result.won);
    j.String("cause", Result.cause);
    j.Number("seconds", static_cast<double>(Result.frames) / 50.0);
    j.Integer("depth_rows", Result.deepest_row);
    j.Integer("level", Result.level);
    j.Number("score", Result.over ? Result.score : static_cast<double>(world::Score));
    j.BeginArray("level_seconds");
    for (std::size_t i = 1; i < 11; ++i) j.Number("", static_cast<double>(Result.level_frames[i]) / 50.0);
    j.EndArray();
    j.Integer("drill_tip_hidden_frames_last_second", Result.tip_hidden_last_second);
    j.String("player", Result.player);
    if (Result.player != "keyboard") {
      // How hard the hands worked: every new press, and the closest two.
      const input::AutoplayCounts counts = input::AutoplayPressCounts();
      j.Integer("presses", static_cast<int>(counts.presses));
      j.Integer("shortest_press_gap", static_cast<int>(counts.shortestGap));
      j.Integer("shortest_hold", static_cast<int>(counts.shortestHold));
      j.BeginObject("presses_by_key");
      j.Integer("left", static_cast<int>(counts.left));
      j.Integer("right", static_cast<int>(counts.right));
      j.Integer("up", static_cast<int>(counts.up));
      j.Integer("bomb", static_cast<int>(counts.bomb));
      j.EndObject();
      if (Result.player == "human") j.Integer("press_gap_limit", input::HumanPressGap());
    }
    j.EndObject();
  }
  j.BeginObject("saves");
  j.Integer("unsaved_files", config::UnsavedFileCount());
  j.String("notice", config::CurrentSaveNotice().line1);
  j.String("notice_reason", config::CurrentSaveNotice().line2);
  j.Integer("notice_frames_left", config::CurrentSaveNotice().frames_left);
  j.EndObject();
  const replay::ReplayStatus rs = replay::Status();
  j.BeginObject("replay");
  j.Bool("record", rs.record);
  j.Bool("playback", rs.playback);
  j.Number("frame", static_cast<double>(rs.frame));
  j.String("file", rs.file);
  // How the last game ended: its first frame found over, and the score before the wind-up.
  j.Bool("game_ended", rs.game_ended);
  j.Number("end_frame", static_cast<double>(rs.end_frame));
  j.Number("end_score", static_cast<double>(rs.end_score));
  j.EndObject();
  j.BeginObject("timing");
  j.Integer("frames", timing.frames);
  j.Number("mean_period_ms", timing.mean_period_ms);
  j.Number("max_late_ms", timing.max_late_ms);
  j.Integer("late_frames", timing.late_frames);
  j.Number("wall_seconds", timing.wall_seconds);
  j.Number("cpu_seconds", timing.cpu_seconds);
  j.Number("work_median_ms", timing.work_median_ms);
  j.Number("work_p99_ms", timing.work_p99_ms);
  j.Number("work_max_ms", timing.work_max_ms);
  j.Number("work_median_first_tenth_ms", timing.work_median_first_tenth_ms);
  j.Number("work_median_last_tenth_ms", timing.work_median_last_tenth_ms);
  j.Number("work_total_seconds", timing.work_total_seconds);
  j.EndObject();
  j.EndObject();
  return j.text + "\n";
}

bool WriteReport(const std::string& path, const FrameTiming& timing) {
  return static_cast<bool>(platform::WriteFileAtomic(path, BuildReport(timing)));
}

void UpdateStateFile(const std::string& path) {
  static std::string last;
  static std::int64_t last_frame = -1;
  const std::string screen = frontend::MenuScreen.empty() ? std::string("-") : frontend::MenuScreen;
  const std::string state = std::string(" mode=") + core::GameModeName(core::ActivityMode()) + " screen=" + screen +
                            " item=" + std::to_string(frontend::MenuItem) +
                            " full_screen=" + (config::GameOptions.FULL_SCREEN ? "1" : "0") +
                            " unsaved=" + std::to_string(config::UnsavedFileCount());
  if (state == last && core::FrameNumber - last_frame < 50) return;
  last = state;
  last_frame = core::FrameNumber;
  platform::WriteFileAtomic(path, "frame=" + std::to_string(core::FrameNumber) + state + "\n");
}

}  // namespace tw::app
