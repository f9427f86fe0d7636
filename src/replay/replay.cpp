#include "replay/replay.h"

#include "config/ini_store.h"
#include "platform/files.h"

namespace tw::replay {

bool ReplayRecord = false;
std::string ReplayFile;
Single ReplayFrame = 0;

void WriteReplayValue(std::string_view key, std::string_view value, std::string_view section) {
  std::string full_key(key);
  if (section == "ingame") full_key += "_" + num::FormatNumber(static_cast<double>(ReplayFrame));
  config::WriteIni(section, full_key, value, platform::UserFile(kRecordFile));
}

// Placeholder until recording and playback land.
void ReplayStep() {}

}  // namespace tw::replay
