#include "config/options.h"

#include <limits>

#include "config/ini_store.h"
#include "platform/files.h"

namespace tw::config {

Options GameOptions{};
std::array<HighScoreEntry, 11> HighScores{};

namespace {

constexpr const char* kOptionsSection = "main";
constexpr const char* kScoresSection = "hs";

// Reads one option; a missing or unreadable value leaves the field as it was.
void ReadOption(const std::string& file, const char* key, bool& field) {
  if (auto value = num::ParseBool(ReadIni(kOptionsSection, key, file))) field = *value;
}

}  // namespace

void ClearPendingEntry() { HighScores[kPendingEntry] = HighScoreEntry{"Bolo", std::numeric_limits<Long>::min()}; }

// The player's copies: in the application directory of a portable game, in
// the user data folder (starting from the shipped files) of an installed one.
std::string OptionsFile() { return platform::UserFile("\\textures\\options.bmp"); }

std::string HighScoreFile() {
  return platform::UserFile(GameOptions.GameMode_Story ? "\\textures\\dot_black2.bmp"
                                                       : "\\textures\\dot_white2.bmp");
}

void LoadOptions() {
  const std::string file = OptionsFile();
  // First start (no options file): the defaults below stand and are written,
  // so the player finds a complete file to edit.
  const bool first_start = !platform::FileExists(file);
  Options o;  // defaults: high detail, story mode, sound on, windowed, arcade locked
  ReadOption(file, "Details_High", o.Details_High);
  ReadOption(file, "GameMode_Story", o.GameMode_Story);
  ReadOption(file, "Sound_On", o.Sound_On);
  ReadOption(file, "FULL_SCREEN", o.FULL_SCREEN);
  ReadOption(file, "ArcadeLocked", o.ArcadeLocked);
  ReadOption(file, "StoryReaden", o.StoryReaden);
  ReadOption(file, "Integer_Scale", o.IntegerScale);
  o.FullScreenChoice = o.FULL_SCREEN;
  GameOptions = o;
  if (first_start) {
    SaveOptions();
    WriteIni(kOptionsSection, "StoryReaden", num::BoolText(GameOptions.StoryReaden), file);
  }
}

void SaveOptions() {
  const std::string file = OptionsFile();
  WriteIni(kOptionsSection, "Details_High", num::BoolText(GameOptions.Details_High), file);
  WriteIni(kOptionsSection, "GameMode_Story", num::BoolText(GameOptions.GameMode_Story), file);
  WriteIni(kOptionsSection, "Sound_On", num::BoolText(GameOptions.Sound_On), file);
  WriteIni(kOptionsSection, "FULL_SCREEN", num::BoolText(GameOptions.FullScreenChoice), file);
  WriteIni(kOptionsSection, "ArcadeLocked", num::BoolText(GameOptions.ArcadeLocked), file);
  // StoryReaden is written only by the menu when the story has been read.
}

void LoadHighScores() {
  const std::string file = HighScoreFile();
  const bool story = GameOptions.GameMode_Story;
  for (int i = 0; i < 10; ++i) {
    HighScoreEntry& e = HighScores[static_cast<std::size_t>(i)];
    const std::string index = std::to_string(i);
    if (auto value = num::ParseNumber(ReadIni(kScoresSection, index + "s", file))) {
      if (auto score = num::CLngChecked(*value)) e.Score = *score;
    }
    e.Name = ReadIni(kScoresSection, index + "n", file);
    if (e.Name.empty()) {
      e.Name = "BOLO";
      e.Score = (10 - i) * (story ? 250 : 200);
    }
  }
  SaveHighScores();
}

void SaveHighScores() {
  const std::string file = HighScoreFile();
  HighScoreEntry& pending = HighScores[kPendingEntry];
  for (std::size_t i = 0; i < 10; ++i) {
    if (HighScores[i].Score < pending.Score) {
      for (std::size_t j = 9; j > i; --j) HighScores[j] = HighScores[j - 1];
      HighScores[i] = pending;
      break;
    }
  }
  // Inserted or not, the entry is used up: left standing, it would be
  // written into whichever table is saved next, even the other mode's.
  ClearPendingEntry();
  // The whole table goes into the file in one atomic write.
  std::string text = platform::ReadFile(file).value_or(std::string());
  for (std::size_t i = 0; i < 10; ++i) {
    const std::string index = std::to_string(i);
    text = WriteIniText(text, kScoresSection, index + "s", std::to_string(HighScores[i].Score));
    text = WriteIniText(text, kScoresSection, index + "n", HighScores[i].Name);
  }
  platform::WriteFileAtomic(file, text);
}

}  // namespace tw::config
