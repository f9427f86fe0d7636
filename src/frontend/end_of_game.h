// The end of a game: the drills' descent, waiting for the name, and the
// wind-up (high-score entry, won pictures, played-games count, next screen).
#pragma once

#include <string>

#include "config/options.h"
#include "input/name_entry.h"

namespace tw::frontend {

// The latest high-score entry's name followed by its score in decimal; the
// high-score screen highlights the rows that match. Empty at start-up.
extern std::string NewEntryKey;

// The run code of the last game played (not watched), for a link to it;
// empty until a game has ended.
extern std::string LastRunCode;

// The key of a table entry, comparable with NewEntryKey.
std::string EntryKey(const config::HighScoreEntry& entry);
// True when `entry` is the latest entry made (by name and score).
bool IsNewEntry(const config::HighScoreEntry& entry);

// The last world step of every unpaused game frame; does nothing while the
// game is not over.
void EndOfGameCheck();

// Name entry's keys applied: a confirmation readies the wind-up, then each
// character typed edits the name in turn.
void TypeName(const input::NameKeys& keys);
// Edits the typed name: '-' erases the last character, anything else is
// appended while the name is shorter than 20 characters. Each change plays
// the "key" sound.
void AppendTypedChar(char c);

}  // namespace tw::frontend
