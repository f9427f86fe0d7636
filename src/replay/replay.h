// Recording a game to a file and playing it back.
#pragma once

#include <string>
#include <string_view>

#include "core/numeric.h"

namespace tw::replay {

// The current or next game is recorded into "replay.ini". (Its counterpart,
// the playback flag, is world::ReplayPlayback.)
extern bool ReplayRecord;
// The file played back, relative to the application directory; empty means
// "replay.ini".
extern std::string ReplayFile;
// Frame index of the running game; the menu sets it to 0 when a game starts.
extern Single ReplayFrame;

// The file recordings are written to.
inline constexpr const char* kRecordFile = "replay.ini";

// Writes one key into the recording; in section "ingame" the key gets "_"
// and the decimal ReplayFrame appended.
void WriteReplayValue(std::string_view key, std::string_view value, std::string_view section);

void ReplayStep();

}  // namespace tw::replay
