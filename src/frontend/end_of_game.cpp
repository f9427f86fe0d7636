#include "frontend/end_of_game.h"

#include <string_view>

#include "audio/sound.h"
#include "config/settings_store.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "frontend/menu.h"
#include "platform/files.h"
#include "platform/input.h"
#include "render/catalogue.h"
#include "replay/replay.h"
#include "world/drills_water.h"
#include "world/player.h"
#include "world/score.h"

namespace tw::frontend {

std::string NewEntryKey;
std::string LastRunCode;

namespace {

// The won picture of the mode, from the application directory into the won
// screen's slot.
void LoadWonPicture(std::string_view file, bool yield) {
  if (yield) platform::PumpEvents();
  render::LoadTexture(render::WonImage, platform::AppPath("\\" + std::string(file)), 0);
  if (yield) platform::PumpEvents();
}

void WindUp() {
  const bool playback = core::ReplayPlayback;
  // 1. Closing values of a recording (the file is written whole now).
  replay::WriteClosingValues();

  // 2. The result: the table, or straight back to the main menu. A score
  // equal to the tenth entry's was asked for a name but does not enter, nor
  // does a game the test keys have changed.
  // Decided on the rounded score the table stores, so that a game that
  // qualifies is always inserted (the table holds 32-bit scores).
  const Long score = num::CLng(static_cast<double>(world::Score));
  if (!playback) LastRunCode = replay::RecordedRunCode();
  if (playback && WatchingTableRun) {
    // A run watched from the table goes back to the table.
    WatchingTableRun = false;
    MenuScreen = "hs";
    MenuItem = kItemBack;
  } else if (score <= config::HighScores[9].Score || playback || core::TestKeysUsed) {
    MenuScreen.clear();
    MenuItem = kItemNewGame;
  } else {
    // Trimmed as the file will read it back, so a name of spaces is BOLO now
    // rather than an empty name replaced by the built-in entry later.
    world::TypedName = std::string(num::Trim(world::TypedName));
    if (world::TypedName.empty()) world::TypedName = "BOLO";
    world::LastName = world::TypedName;
    config::HighScoreEntry& pending = config::HighScores[config::kPendingEntry];
    pending.Name = world::TypedName;
    pending.Score = score;
    pending.Run = LastRunCode;  // kept beside the table, to be watched from it
    NewEntryKey = EntryKey(pending);
    config::SaveHighScores();
    MenuScreen = "hs";
    MenuItem = kItemBack;
  }

  // 3. The game screen fades out and hands back to the menu.
  world::EndFade = 100;
  world::EndReady = false;

  // 4. The won picture replaces the table (the entry is already saved).
  if (world::GameWon) {
    if (config::GameOptions.GameMode_Story) {
      if (!playback) {
        LoadWonPicture("wd.jpg", false);
        MenuScreen = "won";
        MenuItem = kItemBack;
        // Winning story mode unlocks the choice of arcade mode.
        config::GameOptions.ArcadeLocked = false;
        config::SaveOptions();
      }
    } else {
      LoadWonPicture("wd_wow.jpg", true);
      MenuScreen = "won";
      MenuItem = kItemBack;
    }
    // Cleared in every case, so a played-back win cannot leak into the next game.
    world::GameWon = false;
  }

  // 5. The played-games count.
  if (!playback) {
    if (config::PlayedGames < 32767) config::PlayedGames = static_cast<Integer>(config::PlayedGames + 1);
    config::SaveSetting(config::AppName(), "Stats", "Number_Of_Played_Games",
                        std::to_string(config::PlayedGames));
  }

  // 6. An armed recording or playback lasts exactly one game; nothing of
  // this game's transient state reaches the next.
  ResetGameTransients(true);
}

}  // namespace

std::string EntryKey(const config::HighScoreEntry& entry) {
  return entry.Name + std::to_string(entry.Score);
}

bool IsNewEntry(const config::HighScoreEntry& entry) {
  return !NewEntryKey.empty() && EntryKey(entry) == NewEntryKey;
}

void EndOfGameCheck() {
  if (!core::GameOver) return;
  replay::NoteGameOver();  // before a played-back game's score is cleared

  // 1. A played-back game is wound up at once and never enters the table.
  if (core::ReplayPlayback) {
    world::Score = 0;
    world::EndReady = true;
    IdleFrames = kIdleReplayRearm;
  } else {
    IdleFrames = 0;
  }

  // 2. The drills slide down over the canvas: 10 pixels per frame, then 5
  // for the last 100.
  if (world::DrillY < 480) {
    if (world::DrillY < 380) {
      world::DrillY += 10;
      world::WaterFixedY = 500;
    } else {
      world::DrillY += 5;
    }
  }

  // 3. Name entry goes on until the name is confirmed.
  if (!world::EndReady) return;

  // 4. The wind-up, once.
  WindUp();
}

void TypeName(const input::NameKeys& keys) {
  if (keys.confirm) world::EndReady = true;
  for (const char c : keys.typed) AppendTypedChar(c);
}

void AppendTypedChar(char c) {
  std::string& name = world::TypedName;
  if (c == '-') {
    if (!name.empty()) {
      name.pop_back();
      audio::PlaySound("key", false, 100, 0, 0);
    }
    return;
  }
  if (name.size() < input::kMaxNameLength) {
    name += c;
    audio::PlaySound("key", false, 100, 0, 0);
  }
}

}  // namespace tw::frontend
