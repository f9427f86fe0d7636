// The end of a game: the drills' descent, waiting for the name, and the
// wind-up (high-score entry, won pictures, played-games count, next screen).
#pragma once

#include <string>

#include "config/options.h"

namespace tw::frontend {

// The latest high-score entry's name followed by its score in decimal; the
// high-score screen highlights the rows that match. Empty at start-up.
extern std::string NewEntryKey;

// The key of a table entry, comparable with NewEntryKey.
std::string EntryKey(const config::HighScoreEntry& entry);
// True when `entry` is the latest entry made (by name and score).
bool IsNewEntry(const config::HighScoreEntry& entry);

// The last world step of every unpaused game frame; does nothing while the
// game is not over.
void EndOfGameCheck();

}  // namespace tw::frontend
