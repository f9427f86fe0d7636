#include "replay/replay.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <vector>

#include "config/ini_store.h"
#include "config/options.h"
#include "config/saves.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "platform/files.h"
#include "world/bonuses.h"
#include "world/grid.h"
#include "world/player.h"
#include "core/random.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace tw::replay {

bool ReplayRecord = false;
std::string ReplayFile;
Single ReplayFrame = 0;

namespace {

// The four game keys in the order they are recorded.
constexpr std::array<const char*, 4> kKeyNames = {"keyup", "keydown", "keyleft", "keyright"};
enum : std::size_t { kUp, kDown, kLeft, kRight };

// The recording's sections in file order; a section is written once it has a key.
constexpr std::array<const char*, 4> kSections = {"Map", "Bonus", "ingame", "options"};
enum : std::size_t { kMapSection, kBonusSection, kIngameSection, kOptionsSection };

constexpr int kLastColumn = 14;        // columns 0..14 make the shaft
constexpr int kLastTileCode = 62;      // the highest cell value the game knows
constexpr double kValueLimit = 1.0e6;  // bonus numbers beyond this are nonsense

// ---- the recording, kept in memory until it is written whole ----------------

// A section's lines as the file will hold them, "key=value\r\n" each.
struct Section {
  std::string name;
  std::string body;
  // Folded key -> offset of its value in the body. Built on the first write
  // that may repeat a key; the start state's thousands of keys are new by
  // construction and never need it.
  std::unordered_map<std::string, std::size_t> index;
  bool indexed = false;
};

struct RecordingState {
  std::vector<Section> sections;
  bool open = false;     // a recording is under way (from its frame 0 to the wind-up)
  bool unsaved = false;  // keys written since the file was last written
  std::array<bool, 4> last{};        // key states as last written
  bool bomb_latch_before = false;    // BombLatch at the previous step (before frame 0: at set-up)
  std::int64_t paused_frames = 0;    // paused frames since the last step
};
RecordingState g_rec;

// ---- the file played back, read once -----------------------------------------

struct PlaybackState {
  std::string name;  // ReplayFile when the file was read
  std::string path;
  bool loaded = false;
  config::IniIndex file;
  Single last_frame = 0;
  bool has_end_frame = false;
  Single end_frame = 0;
  bool held_left = false;
  bool held_right = false;
  // A recorded pause being played: frames still to stay paused, and the step
  // frame whose pause key was last looked up (each is played once).
  std::int64_t pause_left = 0;
  bool pausing = false;
  Single pause_looked_up = -1;
};
PlaybackState g_play;

// The frames the game stood paused before a step run in "options" as
// "pause_<frame>": the screen keeps part of the game moving while paused, so a
// replay has to stand still as long to play the same. A longer pause than this
// is taken as this long.
constexpr std::int64_t kLongestPause = 30000;

std::string PauseKey(Single frame) { return "pause_" + num::FormatNumber(static_cast<double>(frame)); }

// ---- how the game ended ------------------------------------------------------

struct GameEnd {
  bool over_at_step = false;  // the game was already over when this frame's step ran
  bool noted = false;
  Single frame = 0;
  Single score = 0;
};
GameEnd g_end;

constexpr const char* kRecordingWhat = "the replay recording";

std::string g_last_file;   // the file last recorded or played back
bool g_mode_lent = false;  // a played-back game runs in the mode its file names
bool g_saved_mode_story = false;

std::string Folded(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Frame numbers as the key suffix shows them.
std::string FrameText(Single frame) { return num::FormatNumber(static_cast<double>(frame)); }

// A Single in its shortest decimal text: whole numbers without a point.
std::string SingleText(Single v) {
  if (!std::isfinite(v) || v == 0.0f) return "0";
  if (v == std::trunc(v) && std::fabs(v) < 1e15f) return num::FormatNumber(static_cast<double>(v));
  return num::ShortestText(v);
}

// The recording is the player's own: an installed game keeps it in the user's data folder.
std::string RecordPath() { return platform::UserFile(kRecordFile); }

void ResetRecording() {
  g_rec.sections.clear();
  for (const char* name : kSections) g_rec.sections.push_back(Section{name, {}, {}, false});
  g_rec.unsaved = false;
  g_rec.last = {};
  g_rec.open = true;
  g_last_file = RecordPath();
}

Section& SectionNamed(std::string_view name) {
  const std::string folded = Folded(Trimmed(name));
  for (Section& s : g_rec.sections) {
    if (Folded(s.name) == folded) return s;
  }
  g_rec.sections.push_back(Section{std::string(Trimmed(name)), {}, {}, false});
  return g_rec.sections.back();
}

// A key known to be new in its section.
void Append(Section& s, std::string_view key, std::string_view value) {
  s.body += key;
  s.body += '=';
  if (s.indexed) s.index.emplace(Folded(key), s.body.size());
  s.body += value;
  s.body += "\r\n";
  g_rec.unsaved = true;
}

void IndexSection(Section& s) {
  s.index.clear();
  for (std::size_t line = 0; line < s.body.size();) {
    const std::size_t eq = s.body.find('=', line);
    s.index.emplace(Folded(std::string_view(s.body).substr(line, eq - line)), eq + 1);
    line = s.body.find('\n', eq) + 1;
  }
  s.indexed = true;
}

// A key that may be there already: its value is replaced in place, as the
// INI store does.
void Put(Section& s, std::string_view key, std::string_view value) {
  if (!s.indexed) IndexSection(s);
  const auto it = s.index.find(Folded(key));
  if (it == s.index.end()) {
    Append(s, key, value);
    return;
  }
  const std::size_t end = s.body.find('\r', it->second);
  s.body.replace(it->second, end - it->second, value);
  IndexSection(s);  // later offsets moved; repeated keys are rare
  g_rec.unsaved = true;
}

// The file exactly as writing key by key through the INI store builds it.
std::string FileText() {
  std::size_t size = 0;
  for (const Section& s : g_rec.sections) size += s.name.size() + 4 + s.body.size();
  std::string text;
  text.reserve(size);
  for (const Section& s : g_rec.sections) {
    if (s.body.empty()) continue;
    text += '[';
    text += s.name;
    text += "]\r\n";
    text += s.body;
  }
  return text;
}

// Writes the recording if anything changed since it was last written.
// A failed write is told and kept by SaveText, which writes it again at the
// next save and at shut-down.
void Flush() {
  if (!g_rec.unsaved) return;
  g_rec.unsaved = false;
  g_play.loaded = false;  // a cached copy of the file would be stale now
  config::SaveText(RecordPath(), FileText(), kRecordingWhat);
}

// A whole number >= 0 in decimal at p; returns the end.
char* PutWhole(char* p, int v) {
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v > 0 && n < 12);
  while (n > 0) *p++ = digits[--n];
  return p;
}

// "Y<row>_X<column>" into buf (at least 32 bytes).
std::string_view CellKey(char* buf, int row, int column) {
  char* p = buf;
  *p++ = 'Y';
  p = PutWhole(p, row);
  *p++ = '_';
  *p++ = 'X';
  p = PutWhole(p, column);
  return {buf, static_cast<std::size_t>(p - buf)};
}

std::string BonusKey(std::size_t index, const char* field) { return std::to_string(index) + "_" + field; }

// Frame 0 of a recorded game, after the new game was generated.
void SaveStartState() {
  ResetRecording();
  Section& map = g_rec.sections[kMapSection];
  Append(map, "mapsizey", SingleText(config::MapHeight));
  const int last_row = static_cast<int>(std::floor(std::clamp(config::MapHeight, -1.0f, Single{world::kLastGridRow})));
  map.body.reserve(static_cast<std::size_t>(last_row + 1) * (kLastColumn + 1) * 14);
  char key[32], value[8];
  for (int y = 0; y <= last_row; ++y) {
    for (int x = 0; x <= kLastColumn; ++x) {
      const Integer v = world::TileGrid.Tile[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
      if (v < 1) continue;
      const char* end = std::to_chars(value, value + sizeof value, v).ptr;
      Append(map, CellKey(key, y, x), std::string_view(value, static_cast<std::size_t>(end - value)));
    }
  }
  Section& bonus = g_rec.sections[kBonusSection];
  for (std::size_t i = 0; i < world::Bonuses.size(); ++i) {
    const world::Bonus& b = world::Bonuses[i];
    if (!b.Active) continue;
    Append(bonus, BonusKey(i, "addforce"), SingleText(b.AddForce));
    Append(bonus, BonusKey(i, "type"), b.Type);
    Append(bonus, BonusKey(i, "x"), SingleText(b.X));
    Append(bonus, BonusKey(i, "y"), SingleText(b.Y));
    Append(bonus, BonusKey(i, "weight"), SingleText(b.Weight));
    Append(bonus, BonusKey(i, "selectionalpha"), std::to_string(b.SelectionAlpha));
    Append(bonus, BonusKey(i, "points"), SingleText(b.Points));
  }
  // What playback needs to meet the same game: its seed and its mode.
  WriteReplayValue(kSeedKey, std::to_string(core::GameSeed()), "options");
  WriteReplayValue(kModeKey, config::GameOptions.GameMode_Story ? "story" : "arcade", "options");
}

// The key states this step records. Jump and bomb are written as "True" from
// the frame the press acted until the key is let go; a latch left over from
// before the game (a key still held, a Space typed into a name) acted in no
// frame of this game and is not written.
std::array<bool, 4> KeyStatesNow() {
  const core::ControlState& c = core::Controls;
  const bool fired = c.BombLatch && !g_rec.bomb_latch_before;
  g_rec.bomb_latch_before = c.BombLatch;
  return {c.JumpRequest || (c.JumpLatch && g_rec.last[kUp]), fired || (c.BombLatch && g_rec.last[kDown]),
          c.MoveLeft, c.MoveRight};
}

void RecordKeyChanges() {
  const std::array<bool, 4> now = KeyStatesNow();
  for (std::size_t k = 0; k < now.size(); ++k) {
    if (now[k] == g_rec.last[k]) continue;
    WriteReplayValue(kKeyNames[k], num::BoolText(now[k]), "ingame");
    g_rec.last[k] = now[k];
  }
}

// ---- reading the file played back ---------------------------------------------

void LoadPlaybackFile() {
  g_play.name = ReplayFile;
  g_play.path = PlaybackPath();
  std::optional<std::string> text = platform::ReadFile(platform::ResolvePath(g_play.path));
  g_play.file = config::IndexIniText(text ? std::move(*text) : std::string());
  g_play.loaded = true;
  g_last_file = g_play.path;
}

void EnsureLoaded() {
  if (!g_play.loaded || g_play.name != ReplayFile) LoadPlaybackFile();
}

std::optional<std::string_view> Lookup(std::string_view section, std::string_view key) {
  EnsureLoaded();
  return config::LookupIniIndex(g_play.file, section, key);
}

// A finite number, or nothing for missing or malformed text.
std::optional<double> NumberAt(std::string_view section, std::string_view key) {
  const std::optional<std::string_view> text = Lookup(section, key);
  if (!text) return std::nullopt;
  const std::optional<double> v = num::ParseNumber(*text);
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return v;
}

// A cell value as the grid may hold it; anything else is an empty cell.
Integer CellValue(std::string_view text) {
  const std::optional<double> v = num::ParseNumber(text);
  if (!v) return 0;
  const std::optional<Integer> i = num::CIntChecked(*v);
  return (i && *i >= 1 && *i <= kLastTileCode) ? *i : Integer{0};
}

// This frame's value of a key in "ingame" (empty when there is none).
std::string_view FrameValue(std::size_t key, Single frame) {
  char buf[48];
  const std::string_view name = kKeyNames[key];
  std::copy(name.begin(), name.end(), buf);
  char* p = buf + name.size();
  *p++ = '_';
  const std::string digits = FrameText(frame);
  if (digits.size() > sizeof buf - name.size() - 1) return {};
  p = std::copy(digits.begin(), digits.end(), p);
  return Lookup("ingame", std::string_view(buf, static_cast<std::size_t>(p - buf))).value_or(std::string_view());
}

// A whole number as CellKey writes it: digits, no sign, no leading zero.
bool CanonicalWhole(std::string_view digits, int& out) {
  if (digits.empty() || digits.size() > 6 || (digits.size() > 1 && digits.front() == '0')) return false;
  out = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

// The row and column of a key that a CellKey lookup would match ("Y12_X3",
// in any letter case).
bool CellOfKey(std::string_view key, int& row, int& column) {
  if (key.size() < 5 || (key.front() != 'Y' && key.front() != 'y')) return false;
  const std::size_t cut = key.find('_');
  if (cut == std::string_view::npos || cut + 1 >= key.size()) return false;
  const char x = key[cut + 1];
  return (x == 'X' || x == 'x') && CanonicalWhole(key.substr(1, cut - 1), row) &&
         CanonicalWhole(key.substr(cut + 2), column);
}

bool KnownBonusType(std::string_view type) {
  return type == "bomb" || type == "pie" || type == "boot" || type == "bombglass" || type == "ears";
}

Single BonusNumber(std::size_t index, const char* field) {
  const std::optional<double> v = NumberAt("Bonus", BonusKey(index, field));
  if (!v || std::fabs(*v) > kValueLimit) return 0.0f;
  return static_cast<Single>(*v);
}

// The last frame in which the file records a key change (-1 without any).
Single LastKeyFrame() {
  double last = -1;
  EnsureLoaded();
  if (const config::IniKeys* keys = config::IniIndexSection(g_play.file, "ingame")) {
    for (const auto& [key, value] : keys->entries) {
      const std::size_t cut = key.rfind('_');
      if (cut == std::string_view::npos) continue;
      const std::optional<double> f = num::ParseNumber(key.substr(cut + 1));
      if (f && std::isfinite(*f) && *f > last) last = *f;
    }
  }
  return static_cast<Single>(last);
}

void LoadCells() {
  // The map height, unless the file gives nonsense for it.
  if (const auto h = NumberAt("Map", "mapsizey"); h && *h >= 1 && *h <= world::kLastGridRow) {
    config::MapHeight = static_cast<Single>(*h);
  }
  // Rows 0 to "lastscreeny" are the file's; a file cut short before its
  // closing values gives the rows it has.
  const std::optional<double> bottom = NumberAt("options", "lastscreeny");
  const int span = bottom ? static_cast<int>(std::clamp(std::floor(*bottom), -1.0, double{world::kLastGridRow}))
                          : static_cast<int>(std::min(config::MapHeight, Single{world::kLastGridRow}));
  std::vector<Integer> cells(static_cast<std::size_t>(span + 1) * (kLastColumn + 1), 0);
  int deepest = -1;
  // One pass over the section's keys finds the same cells as looking up
  // every "Y<row>_X<column>" of the span would, at a fraction of the cost.
  const config::IniKeys* map = config::IniIndexSection(g_play.file, "Map");
  for (const auto& [key, text] : map ? map->entries : decltype(map->entries){}) {
    int y = 0, x = 0;
    if (!CellOfKey(key, y, x) || y > span || x > kLastColumn) continue;
    cells[static_cast<std::size_t>(y * (kLastColumn + 1) + x)] = CellValue(text);
    deepest = std::max(deepest, y);
  }
  const int last_row = bottom ? span : deepest;
  // The file does not say which tiles the creature had touched (in story
  // mode a first touch scores). A replay that carries its seed was generated
  // as the recording was, so its own touched flags are the recording's;
  // without the seed every cell counts as touched, so nothing scores.
  const bool mark_touched = !core::PlaybackHasGameSeed;
  for (int y = 0; y <= last_row; ++y) {
    for (int x = 0; x <= kLastColumn; ++x) {
      const auto cx = static_cast<std::size_t>(x), cy = static_cast<std::size_t>(y);
      // Set directly, not through TouchAt: nothing scores.
      world::TileGrid.Tile[cx][cy] = cells[static_cast<std::size_t>(y * (kLastColumn + 1) + x)];
      if (mark_touched) world::TileGrid.Touched[cx][cy] = true;
    }
  }
}

void LoadBonuses() {
  for (world::Bonus& b : world::Bonuses) {
    b = world::Bonus{};
    b.SelectionAlpha = 100;
  }
  const Single width = static_cast<Single>(world::kGridColumns * world::TileSize);
  const Single depth = static_cast<Single>(world::kGridRows * world::TileSize);
  for (std::size_t i = 1; i < world::Bonuses.size(); ++i) {
    const std::optional<std::string_view> type = Lookup("Bonus", BonusKey(i, "type"));
    // A bonus of a type the game does not know stays out of play.
    if (!type || !KnownBonusType(*type)) continue;
    world::Bonus& b = world::Bonuses[i];
    b.AddForce = BonusNumber(i, "addforce");
    b.Points = BonusNumber(i, "points");
    b.SelectionAlpha = static_cast<Integer>(std::clamp(BonusNumber(i, "selectionalpha"), 0.0f, 100.0f));
    b.Type = std::string(*type);
    b.Weight = BonusNumber(i, "weight");
    b.X = BonusNumber(i, "x");
    b.Y = BonusNumber(i, "y");
    // Only a bonus inside the shaft can be in play.
    b.Active = b.X >= 0.0f && b.X < width && b.Y >= 0.0f && b.Y < depth;
  }
}

// Frame 0 of a played-back game, after the new game was generated.
void LoadStartState() {
  EnsureLoaded();
  LoadCells();
  LoadBonuses();
  const std::optional<double> end = NumberAt("options", kEndFrameKey);
  g_play.has_end_frame = end && *end >= 0;
  g_play.end_frame = g_play.has_end_frame ? static_cast<Single>(*end) : 0.0f;
  if (const auto last = NumberAt("options", "lastframe")) {
    g_play.last_frame = static_cast<Single>(*last);
  } else {
    // Cut short before its closing values: play as far as the file goes.
    g_play.last_frame = g_play.has_end_frame ? g_play.end_frame : LastKeyFrame();
  }
  g_play.held_left = false;
  g_play.held_right = false;
  core::Controls.MoveLeft = false;
  core::Controls.MoveRight = false;
}

void PlayFrame(Single f) {
  if (f > g_play.last_frame) {
    core::GameOver = true;
    return;
  }
  // The recorded game was over from this frame's step on (it was given up,
  // or ended in the frame before): so is this one, before its keys act.
  if (g_play.has_end_frame && f >= g_play.end_frame && !core::GameOver) {
    world::EndGame();
    g_end.over_at_step = true;  // as it was in the recording when this step began
  }

  core::ControlState& c = core::Controls;
  if (FrameValue(kUp, f) == "True") c.JumpRequest = true;
  if (FrameValue(kDown, f) == "True") {
    // The recorded bomb went off in this frame, before the world stepped, so
    // it is fired now rather than left for the next frame's controls.
    c.BombRequest = false;
    world::Explode(0);
    c.BombLatch = true;
  }
  const std::string_view left = FrameValue(kLeft, f);
  if (left == "True") g_play.held_left = true;
  if (left == "False") g_play.held_left = false;
  c.MoveLeft = g_play.held_left;
  const std::string_view right = FrameValue(kRight, f);
  if (right == "True") g_play.held_right = true;
  if (right == "False") g_play.held_right = false;
  c.MoveRight = g_play.held_right;
}

std::optional<std::uint32_t> RecordedSeed() {
  const std::optional<double> v = NumberAt("options", kSeedKey);
  if (!v || *v < 0 || *v > 4294967295.0 || *v != std::trunc(*v)) return std::nullopt;
  return static_cast<std::uint32_t>(*v);
}

void GiveModeBack() {
  if (!g_mode_lent) return;
  config::GameOptions.GameMode_Story = g_saved_mode_story;
  g_mode_lent = false;
}

}  // namespace

std::string PlaybackPath() {
  const std::string name = ReplayFile.empty() ? std::string(kRecordFile) : ReplayFile;
  if (std::filesystem::path(name).is_absolute()) return name;
  const std::string in_app = name == kRecordFile ? platform::UserFile(name) : platform::AppPath(name);
  if (platform::FileExists(in_app) || !platform::FileExists(name)) return in_app;
  return name;
}

void WriteReplayValue(std::string_view key, std::string_view value, std::string_view section) {
  std::string full_key(Trimmed(key));
  if (section == "ingame") full_key += "_" + FrameText(ReplayFrame);
  if (!g_rec.open) {
    config::WriteIni(section, full_key, value, RecordPath(), kRecordingWhat);
    return;
  }
  Put(SectionNamed(section), full_key, value);
}

std::string ReadReplayValue(std::string_view key, std::string_view section, Single frame) {
  if (ReplayFile.empty()) ReplayFile = kRecordFile;
  std::string full_key(key);
  if (section == "ingame") full_key += "_" + FrameText(frame);
  return std::string(Lookup(section, full_key).value_or(std::string_view()));
}

void PrepareNewGame() {
  GiveModeBack();
  g_rec.paused_frames = 0;
  g_play.pause_left = 0;
  g_play.pausing = false;
  g_play.pause_looked_up = -1;
  std::uint32_t seed = core::RandomSeedWord();
  core::PlaybackHasGameSeed = false;
  if (core::ReplayPlayback) {
    if (ReplayFile.empty()) ReplayFile = kRecordFile;
    LoadPlaybackFile();  // read afresh for every played-back game
    if (const auto recorded = RecordedSeed()) {
      seed = *recorded;
      core::PlaybackHasGameSeed = true;
    }
    const std::string mode = Folded(Lookup("options", kModeKey).value_or(std::string_view()));
    if (mode == "story" || mode == "arcade") {
      g_saved_mode_story = config::GameOptions.GameMode_Story;
      g_mode_lent = true;
      config::GameOptions.GameMode_Story = mode == "story";
    }
  }
  g_rec.bomb_latch_before = core::Controls.BombLatch;
  core::BeginGameRandom(seed);
}

void ReplayStep() {
  const Single f = ReplayFrame;
  core::ChanceFrame = f >= 0.0f && f < 4294967295.0f ? static_cast<std::uint32_t>(f) : 0u;
  if (f == 0.0f) g_end = GameEnd{};
  g_end.over_at_step = core::GameOver;

  // 1.-2. Recording: the start state at frame 0 (the file itself is replaced
  // when the recording is written), then this frame's key changes.
  if (ReplayRecord && f == 0.0f) SaveStartState();
  if (ReplayRecord && g_rec.paused_frames > 0) {
    WriteReplayValue(PauseKey(f), std::to_string(g_rec.paused_frames), "options");
  }
  g_rec.paused_frames = 0;
  if (ReplayRecord) RecordKeyChanges();
  // 3.-4. Playback: the start state at frame 0, then this frame's keys.
  if (core::ReplayPlayback && f == 0.0f) LoadStartState();
  if (core::ReplayPlayback && !ReplayRecord) PlayFrame(f);
  // 5.
  ReplayFrame = f + 1.0f;
}

void PausedFrame() {
  if (ReplayRecord && !core::GameOver) ++g_rec.paused_frames;
}

void PlayPauses() {
  if (!core::ReplayPlayback || ReplayRecord) return;
  if (core::GameOver) {  // ended by a key: nothing more to stand still for
    g_play.pause_left = 0;
  }
  if (g_play.pause_left == 0 && g_play.pause_looked_up != ReplayFrame) {
    g_play.pause_looked_up = ReplayFrame;
    if (const auto n = NumberAt("options", PauseKey(ReplayFrame)); n && *n >= 1) {
      g_play.pause_left = *n < static_cast<double>(kLongestPause) ? static_cast<std::int64_t>(*n) : kLongestPause;
    }
  }
  if (g_play.pause_left > 0) {
    --g_play.pause_left;
    g_play.pausing = true;
    core::Paused = true;
  } else if (g_play.pausing) {
    g_play.pausing = false;
    core::Paused = false;
  }
}

void NoteGameOver() {
  if (g_end.noted) return;
  g_end.noted = true;
  g_end.score = world::Score;
  // The first frame whose step finds the game over: this one when it was over
  // before the step ran (given up), else the next.
  g_end.frame = g_end.over_at_step ? ReplayFrame - 1.0f : ReplayFrame;
  if (ReplayRecord && g_rec.open) WriteReplayValue(kEndFrameKey, FrameText(g_end.frame), "options");
}

void WriteClosingValues() {
  if (!ReplayRecord) return;
  WriteReplayValue("lastframe", FrameText(ReplayFrame), "options");
  // The bottom screen row: the whole pixel offset divided by the tile size, plus 15.
  const Long bottom_row = num::CLng(-static_cast<double>(core::ScrollY)) / world::TileSize + 15;
  WriteReplayValue("lastscreeny", std::to_string(bottom_row), "options");
  Flush();
}

void FinishGame() {
  core::ReplayPlayback = false;
  ReplayRecord = false;
  Flush();
  g_rec.open = false;
  core::PlaybackHasGameSeed = false;
  GiveModeBack();
}

void ShutDown() {
  // A recording cut short (--frames, the window closed, Ctrl-C) keeps its
  // length: the frame it stopped at is its last, and playback runs to it.
  if (g_rec.open && ReplayRecord) WriteReplayValue("lastframe", FrameText(ReplayFrame), "options");
  Flush();
  g_rec.open = false;
  GiveModeBack();
}

ReplayStatus Status() {
  ReplayStatus s;
  s.record = ReplayRecord;
  s.playback = core::ReplayPlayback;
  s.frame = ReplayFrame;
  s.file = ReplayRecord ? RecordPath() : core::ReplayPlayback ? PlaybackPath() : g_last_file;
  s.game_ended = g_end.noted;
  s.end_frame = g_end.frame;
  s.end_score = g_end.score;
  return s;
}

}  // namespace tw::replay
