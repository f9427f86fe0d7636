#include "config/options.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "config/ini_store.h"
#include "config/saves.h"
#include "config/settings_store.h"
#include "platform/files.h"

namespace tw::config {

Options GameOptions{};
// The pending entry starts empty, as one that can never be inserted.
std::array<HighScoreEntry, 11> HighScores = [] {
  std::array<HighScoreEntry, 11> table{};
  table[kPendingEntry] = HighScoreEntry{"Bolo", std::numeric_limits<Long>::min(), {}};
  return table;
}();

namespace {

constexpr const char* kOptionsSection = "main";
constexpr const char* kScoresSection = "hs";
constexpr const char* kOptionsWhat = "the options";
constexpr const char* kScoresWhat = "the high scores";
constexpr const char* kRunsSection = "runs";
constexpr const char* kRunsWhat = "the runs of the high scores";

// Reads one option; a missing or unreadable value leaves the field as it was.
void ReadOption(const IniFileText& file, const char* key, bool& field) {
  if (auto value = num::ParseBool(ReadIni(file, kOptionsSection, key))) field = *value;
}

// The options the options screen saves, set in `text`.
std::string WithOptions(std::string text) {
  text = WriteIniText(text, kOptionsSection, "Details_High", num::BoolText(GameOptions.Details_High));
  text = WriteIniText(text, kOptionsSection, "GameMode_Story", num::BoolText(GameOptions.GameModeChoice));
  text = WriteIniText(text, kOptionsSection, "Sound_On", num::BoolText(GameOptions.Sound_On));
  text = WriteIniText(text, kOptionsSection, "FULL_SCREEN", num::BoolText(GameOptions.FullScreenChoice));
  text = WriteIniText(text, kOptionsSection, "ArcadeLocked", num::BoolText(GameOptions.ArcadeLocked));
  return text;
}

// Every save is a synced file replacement: a file that would come out the
// same is left alone.
void WriteIfChanged(const std::string& file, const std::optional<std::string>& old_text, const std::string& text,
                    const char* what) {
  if (old_text && *old_text == text) return;
  SaveText(file, text, what);
}

// The runs of the table's entries, each with the name and score it belongs to
// (a table edited by hand must not show one entry's run for another). Written
// once some entry has a run; an entry pushed off the table takes its run with it.
void SaveTableRuns() {
  const std::string file = TableRunsFile();
  const bool any = std::any_of(HighScores.begin(), HighScores.begin() + 10, [](const HighScoreEntry& e) { return !e.Run.empty(); });
  const std::optional<std::string> old_text = LoadText(file, kRunsWhat);
  if (!any && !old_text) return;
  std::string text = std::string("[") + kRunsSection + "]\r\n";
  for (std::size_t i = 0; i < 10; ++i) {
    const HighScoreEntry& e = HighScores[i];
    if (e.Run.empty()) continue;
    const std::string index = std::to_string(i);
    text += index + "n=" + e.Name + "\r\n" + index + "s=" + std::to_string(e.Score) + "\r\n" + index + "r=" + e.Run + "\r\n";
  }
  WriteIfChanged(file, old_text, text, kRunsWhat);
}

void LoadTableRuns() {
  const std::optional<std::string> text = LoadText(TableRunsFile(), kRunsWhat);
  const IniFileText ini{text.value_or(std::string())};
  for (std::size_t i = 0; i < 10; ++i) {
    HighScoreEntry& e = HighScores[i];
    const std::string index = std::to_string(i);
    const bool same = ReadIni(ini, kRunsSection, index + "n") == e.Name &&
                      ReadIni(ini, kRunsSection, index + "s") == std::to_string(e.Score);
    e.Run = same ? ReadIni(ini, kRunsSection, index + "r") : std::string();
  }
}

// Sorts the pending entry into the table and saves the table over `old_text`
// (the file's text as last read).
void SaveHighScoresOver(const std::string& file, const std::optional<std::string>& old_text) {
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
  std::string text = old_text.value_or(std::string());
  for (std::size_t i = 0; i < 10; ++i) {
    const std::string index = std::to_string(i);
    text = WriteIniText(text, kScoresSection, index + "s", std::to_string(HighScores[i].Score));
    text = WriteIniText(text, kScoresSection, index + "n", HighScores[i].Name);
  }
  WriteIfChanged(file, old_text, text, kScoresWhat);
  SaveTableRuns();
}

}  // namespace

void ClearPendingEntry() { HighScores[kPendingEntry] = HighScoreEntry{"Bolo", std::numeric_limits<Long>::min(), {}}; }

// The player's copies: in the application directory of a portable game, in
// the user data folder (starting from the shipped files) of an installed one.
std::string OptionsFile() { return platform::UserFile("\\textures\\options.bmp"); }

std::string TableRunsFile() {
  return platform::UserFile(GameOptions.GameMode_Story ? "\\textures\\runs_story.ini" : "\\textures\\runs_arcade.ini");
}

std::string HighScoreFile() {
  return platform::UserFile(GameOptions.GameMode_Story ? "\\textures\\dot_black2.bmp"
                                                       : "\\textures\\dot_white2.bmp");
}

void RemoveStaleSaveTemporaries() {
  const std::string settings = SettingsFile(AppName());
  const std::string user = platform::UserDataDir();  // an installed game saves there
  // Only the temporaries of files this game saves: anything else in these
  // folders is the player's, whatever its name looks like.
  for (const std::string& dir : {platform::AppDir(), user}) {
    if (!dir.empty()) platform::RemoveStaleTemporaries(dir, {"replay.ini", "screenshot*"});
  }
  for (const std::string& dir : {platform::AppPath("\\textures"), user.empty() ? std::string() : user + "/textures"}) {
    if (!dir.empty()) platform::RemoveStaleTemporaries(dir, {"options.bmp", "dot_black2.bmp", "dot_white2.bmp", "runs_story.ini", "runs_arcade.ini"});
  }
  const std::size_t cut = settings.rfind('/');
  if (cut != std::string::npos && cut > 0) {
    platform::RemoveStaleTemporaries(settings.substr(0, cut), {std::string_view(settings).substr(cut + 1)});
  }
}

void LoadOptions() {
  const std::string file = OptionsFile();
  const std::optional<std::string> text = LoadText(file, kOptionsWhat);
  // First start (no options file): the defaults below stand and are written,
  // so the player finds a complete file to edit. A file that is there but
  // cannot be read is not written over (SaveText leaves it).
  const bool first_start = !text;
  const IniFileText ini{text.value_or(std::string())};
  Options o;  // defaults: high detail, story mode, sound on, windowed, arcade locked
  ReadOption(ini, "Details_High", o.Details_High);
  ReadOption(ini, "GameMode_Story", o.GameMode_Story);
  ReadOption(ini, "Sound_On", o.Sound_On);
  ReadOption(ini, "FULL_SCREEN", o.FULL_SCREEN);
  ReadOption(ini, "ArcadeLocked", o.ArcadeLocked);
  ReadOption(ini, "StoryReaden", o.StoryReaden);
  ReadOption(ini, "Integer_Scale", o.IntegerScale);
  o.FullScreenChoice = o.FULL_SCREEN;
  o.GameModeChoice = o.GameMode_Story;
  GameOptions = o;
  if (first_start) {
    // The whole default file in one write: a start killed between separate
    // writes would leave a file with some of the keys, never completed.
    const std::string written =
        WriteIniText(WithOptions(ini.text), kOptionsSection, "StoryReaden", num::BoolText(GameOptions.StoryReaden));
    SaveText(file, written, kOptionsWhat);
  }
}

void SaveOptions() {
  const std::string file = OptionsFile();
  // StoryReaden is written only when the story has been read (SaveStoryRead).
  const std::optional<std::string> old_text = LoadText(file, kOptionsWhat);
  WriteIfChanged(file, old_text, WithOptions(old_text.value_or(std::string())), kOptionsWhat);
}

void ChooseGameMode(bool story) {
  GameOptions.GameModeChoice = story;
  GameOptions.GameMode_Story = story;
}

void SaveStoryRead() {
  GameOptions.StoryReaden = true;
  WriteIni(kOptionsSection, "StoryReaden", num::BoolText(true), OptionsFile(), kOptionsWhat);
}

void LoadHighScores() {
  const std::string file = HighScoreFile();
  const std::optional<std::string> old_text = LoadText(file, kScoresWhat);
  const IniFileText ini{old_text.value_or(std::string())};
  const bool story = GameOptions.GameMode_Story;
  for (int i = 0; i < 10; ++i) {
    HighScoreEntry& e = HighScores[static_cast<std::size_t>(i)];
    const std::string index = std::to_string(i);
    if (auto value = num::ParseNumber(ReadIni(ini, kScoresSection, index + "s"))) {
      if (auto score = num::CLngChecked(*value)) e.Score = *score;
    }
    e.Name = ReadIni(ini, kScoresSection, index + "n");
    if (e.Name.empty()) {
      e.Name = "BOLO";
      e.Score = (10 - i) * (story ? 250 : 200);
    }
  }
  LoadTableRuns();
  SaveHighScoresOver(file, old_text);
}

void SaveHighScores() {
  const std::string file = HighScoreFile();
  SaveHighScoresOver(file, LoadText(file, kScoresWhat));
}

}  // namespace tw::config
