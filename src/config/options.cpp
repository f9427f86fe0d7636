#include "config/options.h"

#include <limits>

#include "config/ini_store.h"
#include "config/settings_store.h"
#include "platform/files.h"

namespace tw::config {

Options GameOptions{};
// The pending entry starts empty, as one that can never be inserted.
std::array<HighScoreEntry, 11> HighScores = [] {
  std::array<HighScoreEntry, 11> table{};
  table[kPendingEntry] = HighScoreEntry{"Bolo", std::numeric_limits<Long>::min()};
  return table;
}();

namespace {

constexpr const char* kOptionsSection = "main";
constexpr const char* kScoresSection = "hs";

// Reads one option; a missing or unreadable value leaves the field as it was.
void ReadOption(const std::string& file, const char* key, bool& field) {
  if (auto value = num::ParseBool(ReadIni(kOptionsSection, key, file))) field = *value;
}

}  // namespace

void ClearPendingEntry() { HighScores[kPendingEntry] = HighScoreEntry{"Bolo", std::numeric_limits<Long>::min()}; }

std::string OptionsFile() { return platform::AppPath("\\textures\\options.bmp"); }

std::string HighScoreFile() {
  return platform::AppPath(GameOptions.GameMode_Story ? "\\textures\\dot_black2.bmp"
                                                      : "\\textures\\dot_white2.bmp");
}

namespace {

// `text` (an options file) with the saved options set in it, in their usual
// key order. StoryReaden only when asked: apart from the first start only
// the menu writes it.
std::string WithOptions(std::string text, bool story_readen) {
  const Options& o = GameOptions;
  text = WriteIniText(text, kOptionsSection, "Details_High", num::BoolText(o.Details_High));
  text = WriteIniText(text, kOptionsSection, "GameMode_Story", num::BoolText(o.GameMode_Story));
  text = WriteIniText(text, kOptionsSection, "Sound_On", num::BoolText(o.Sound_On));
  text = WriteIniText(text, kOptionsSection, "FULL_SCREEN", num::BoolText(o.FullScreenChoice));
  text = WriteIniText(text, kOptionsSection, "ArcadeLocked", num::BoolText(o.ArcadeLocked));
  if (story_readen) text = WriteIniText(text, kOptionsSection, "StoryReaden", num::BoolText(o.StoryReaden));
  return text;
}

}  // namespace

void RemoveStaleSaveTemporaries() {
  const std::string settings = SettingsFile(AppName());
  for (const std::string& dir : {platform::AppDir(), platform::AppPath("\\textures"),
                                 settings.substr(0, settings.rfind('/'))}) {
    platform::RemoveStaleTemporaries(dir);
  }
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
  o.FullScreenChoice = o.FULL_SCREEN;
  GameOptions = o;
  // In one write: a start killed halfway must not leave a file with some
  // of the keys, which no later start would complete.
  if (first_start) platform::WriteFileAtomic(file, WithOptions(std::string(), true));
}

void SaveOptions() {
  const std::string file = OptionsFile();
  // StoryReaden is written only by the menu when the story has been read.
  platform::WriteFileAtomic(file, WithOptions(platform::ReadFile(file).value_or(std::string()), false));
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
