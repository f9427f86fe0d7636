// The player's options and the two high-score tables, kept in small INI files
// among the pictures.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/numeric.h"

namespace tw::config {

struct Options {
  bool Details_High = true;
  // The mode of the game in play, or of the next one: the player's
  // GameModeChoice, except while a replay plays, which runs in the mode its
  // file names. Nothing saves this field.
  bool GameMode_Story = true;
  // The player's own mode, chosen in the options screen (or with --start):
  // the one saved. A replay never touches it.
  bool GameModeChoice = true;
  bool Sound_On = true;
  bool FULL_SCREEN = false;       // display mode of this run, fixed at start-up
  bool FullScreenChoice = false;  // chosen in the options screen, used next start
  bool ArcadeLocked = true;
  bool StoryReaden = false;
  // Whole-number scaling of the picture ("Integer_Scale", read only: set by
  // hand or with --integer-scale).
  bool IntegerScale = false;
};
extern Options GameOptions;

struct HighScoreEntry {
  std::string Name;
  // Held in 32 bits so a score above 32767 is stored and shown as it is.
  Long Score = 0;
  // The run that made the entry, as a run code ("" for entries from before
  // runs were kept). Kept in a file beside the table, it moves with the entry.
  std::string Run;
};
// Entries 0..9 are the table, best first; entry 10 is the pending entry that
// SaveHighScores inserts.
inline constexpr int kPendingEntry = 10;
extern std::array<HighScoreEntry, 11> HighScores;
// Empties the pending entry. Its score is below every score a table can hold
// (tables may hold negative ones), so it is never inserted.
void ClearPendingEntry();

// The options file and the current mode's high-score file.
std::string OptionsFile();
std::string HighScoreFile();
// The runs of the current mode's table entries, beside the table.
std::string TableRunsFile();

// At start-up, before anything is read: removes the temporary files that
// saves of an earlier, killed run left in the folders the game saves into.
void RemoveStaleSaveTemporaries();
// The loads read through LoadText: a file that is there but cannot be read is
// said once, the defaults stand and the file is never saved over. The saves
// go through SaveText: a failure is said and the data kept for the next save.
void LoadOptions();
void SaveOptions();
// Sets the player's mode (and the mode of the next game) and saves it.
void ChooseGameMode(bool story);
// StoryReaden set and saved.
void SaveStoryRead();
void LoadHighScores();
void SaveHighScores();

}  // namespace tw::config
