// Recording a game to a file and playing it back.
//
// A recording holds the shaft and the bonuses as they stood when the game
// began, the frames in which the four game keys changed, and the length of the
// game, in an INI file with the sections "Map", "Bonus", "ingame" and
// "options". Playback starts a normal new game, overwrites its shaft and
// bonuses from the file and feeds the key changes in frame by frame.
//
// Besides the closing values, "options" carries three keys of this program's
// own, which readers that do not know them pass over: the game's seed (the
// drills' chances and the shaft follow from it), its mode, and the frame in
// which it ended. A file that carries them plays back to the frame; one
// without them plays as such files always have.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/numeric.h"

namespace tw::replay {

// The current or next game is recorded into "replay.ini". (Its counterpart,
// the playback flag, is core::ReplayPlayback.)
extern bool ReplayRecord;
// The file played back, relative to the application directory (or a full
// path); empty means "replay.ini".
extern std::string ReplayFile;
// Frame index of the running game; the menu sets it to 0 when a game starts.
extern Single ReplayFrame;

// The file recordings are written to.
inline constexpr const char* kRecordFile = "replay.ini";
// This program's own keys in section "options".
inline constexpr const char* kSeedKey = "seed";
inline constexpr const char* kModeKey = "mode";          // "story" or "arcade"
inline constexpr const char* kEndFrameKey = "endframe";  // the first frame whose step found the game over

// Writes one key into the recording; in section "ingame" the key gets "_"
// and the decimal ReplayFrame appended. While a recording is under way the
// keys are kept in memory and the file is written whole (atomically) at the
// wind-up or at shut-down; otherwise the key goes to the file at once.
void WriteReplayValue(std::string_view key, std::string_view value, std::string_view section);
// Reads one key of the file played back (ReplayFile; set to "replay.ini" when
// empty); in section "ingame" the key gets "_" and the decimal frame appended.
// Empty text when the key or the file is missing. The file is read once and
// kept until the next played-back game begins.
std::string ReadReplayValue(std::string_view key, std::string_view section, Single frame);

// Right before the new-game set-up: gives the game its seed and, for a
// played-back file that names its mode, that mode for this game only.
void PrepareNewGame();
// The replay controller: the first world step of every unpaused game frame.
void ReplayStep();
// A game frame that ran paused: a recording notes how long the game stood still.
void PausedFrame();
// The start of every game frame: a played-back game pauses where and as long
// as the recorded one did.
void PlayPauses();
// From the end-of-game check, in every frame while the game is over and
// before that check touches the score: notes once how the game ended.
void NoteGameOver();
// Wind-up: the closing values of a recording, and the file written whole.
void WriteClosingValues();
// The end of the wind-up: both flags cleared, a played-back game's own mode
// given back.
void FinishGame();
// Orderly shut-down: whatever was recorded so far is written.
void ShutDown();

// What the report shows.
struct ReplayStatus {
  bool record = false;
  bool playback = false;
  Single frame = 0;
  std::string file;         // the file being (or last) recorded or played back
  bool game_ended = false;  // the last game has ended (the two values below are set)
  Single end_frame = 0;     // as the "endframe" key
  Single end_score = 0;     // the score when the game ended, before the wind-up
};
ReplayStatus Status();

// The file ReadReplayValue reads: a full path stays as it is; a name is
// looked for in the application directory, then in the current one.
std::string PlaybackPath();

}  // namespace tw::replay
