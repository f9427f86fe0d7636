#include "replay/run_code.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "config/ini_store.h"
#include "core/numeric.h"
#include "replay/replay.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace tw::replay {

namespace {

// Frames are kept as single-precision numbers by the game: beyond 2^24 they
// are no longer exact, and no game lasts that long (93 hours).
constexpr std::uint64_t kFrameLimit = 1u << 24;

enum Flag : std::uint8_t {
  kStory = 1,
  kHasTuning = 2,
  kHasEndFrame = 4,
  kHasLastFrame = 8,
  kHasFinalHash = 16,
  kHasFormat = 32,
};
constexpr std::uint8_t kKnownFlags = 63;

// Jump and bomb act in the frame their key is pressed ("True"); walking keys
// are held from "True" to "False". A code keeps presses of the first two and
// changes of the other two.
constexpr std::array<const char*, 4> kKeys = {"keyup", "keydown", "keyleft", "keyright"};
constexpr bool IsHeldKey(std::size_t key) { return key >= 2; }

struct Event {
  std::uint64_t frame;
  std::size_t key;
  bool operator<(const Event& o) const { return frame != o.frame ? frame < o.frame : key < o.key; }
};

struct RunData {
  std::uint8_t flags = 0;
  std::uint64_t seed = 0, format = 0, tuning = 0, end_frame = 0, last_frame = 0, hash_frame = 0, hash = 0;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> pauses;  // frame, frames paused
  std::vector<Event> events;
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A whole number in [0, limit] written as the game writes frames.
std::optional<std::uint64_t> Whole(std::string_view text, std::uint64_t limit) {
  const std::optional<double> v = num::ParseNumber(text);
  if (!v || !std::isfinite(*v) || *v < 0 || *v > static_cast<double>(limit) || *v != std::trunc(*v)) return std::nullopt;
  return static_cast<std::uint64_t>(*v);
}

// ---- bytes ------------------------------------------------------------------

void PutVarint(std::string& out, std::uint64_t v) {
  while (v >= 0x80) {
    out += static_cast<char>((v & 0x7f) | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

void PutFixed64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

struct Reader {
  std::string_view bytes;
  std::size_t at = 0;
  bool ok = true;

  std::uint8_t Byte() {
    if (at >= bytes.size()) {
      ok = false;
      return 0;
    }
    return static_cast<std::uint8_t>(bytes[at++]);
  }
  std::uint64_t Varint(std::uint64_t limit) {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::uint8_t b = Byte();
      v |= static_cast<std::uint64_t>(b & 0x7f) << shift;
      if ((b & 0x80) == 0) break;
      if (shift + 7 >= 64) ok = false;
    }
    if (v > limit) ok = false;
    return ok ? v : 0;
  }
  std::uint64_t Fixed64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    return v;
  }
  std::size_t Left() const { return bytes.size() - at; }
};

std::uint32_t Checksum(std::string_view bytes) {
  return static_cast<std::uint32_t>(XXH3_64bits(bytes.data(), bytes.size()));
}

// ---- text -------------------------------------------------------------------

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string ToText(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() * 4 + 2) / 3);
  std::uint32_t bits = 0;
  int count = 0;
  for (const char c : bytes) {
    bits = (bits << 8) | static_cast<std::uint8_t>(c);
    count += 8;
    while (count >= 6) {
      count -= 6;
      out += kAlphabet[(bits >> count) & 63];
    }
  }
  if (count > 0) out += kAlphabet[(bits << (6 - count)) & 63];
  return out;
}

std::optional<std::string> FromText(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 4);
  std::uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    const char* at = std::find(kAlphabet, kAlphabet + 64, c);
    if (at == kAlphabet + 64) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(at - kAlphabet);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xff);
    }
  }
  // What is left over must be padding bits of zero, fewer than a byte.
  if (count >= 6 || (bits & ((1u << count) - 1)) != 0) return std::nullopt;
  return out;
}

// ---- the replay file --------------------------------------------------------

std::optional<RunData> ReadRun(std::string_view replay_text, std::string& error) {
  const config::IniIndex ini = config::IndexIniText(std::string(replay_text));
  const auto option = [&](std::string_view key) { return config::LookupIniIndex(ini, "options", key); };
  RunData run;
  const auto seed = option(kSeedKey);
  const std::optional<std::uint64_t> seed_value = seed ? Whole(*seed, 0xffffffffu) : std::nullopt;
  if (!seed_value) {
    error = "the replay has no seed (an older recording): its shaft cannot be rebuilt from a code";
    return std::nullopt;
  }
  run.seed = *seed_value;
  const std::string mode = Lower(option(kModeKey).value_or(""));
  if (mode != "story" && mode != "arcade") {
    error = "the replay does not say whether it is a story or an arcade game";
    return std::nullopt;
  }
  if (mode == "story") run.flags |= kStory;
  if (const auto f = option(kFormatKey)) {
    if (const auto v = Whole(*f, 255)) {
      run.format = *v;
      run.flags |= kHasFormat;
    }
  }
  if (const auto t = option(kTuningKey)) {
    if (const auto v = ParseHashText(*t)) {
      run.tuning = *v;
      run.flags |= kHasTuning;
    }
  }
  if (const auto e = option(kEndFrameKey)) {
    if (const auto v = Whole(*e, kFrameLimit)) {
      run.end_frame = *v;
      run.flags |= kHasEndFrame;
    }
  }
  if (const auto l = option("lastframe")) {
    if (const auto v = Whole(*l, kFrameLimit)) {
      run.last_frame = *v;
      run.flags |= kHasLastFrame;
    }
  }
  if (const config::IniKeys* options = config::IniIndexSection(ini, "options")) {
    for (const auto& [key, value] : options->entries) {
      const std::string name = Lower(key);
      if (name.rfind("pause_", 0) != 0) continue;
      const auto frame = Whole(name.substr(6), kFrameLimit);
      const auto frames = Whole(value, 1u << 30);
      if (frame && frames && *frames > 0) run.pauses.emplace_back(*frame, *frames);
    }
  }
  std::sort(run.pauses.begin(), run.pauses.end());
  if (const config::IniKeys* trail = config::IniIndexSection(ini, kTrailSection)) {
    for (const auto& [key, value] : trail->entries) {
      const auto frame = Whole(key.size() > 1 ? key.substr(1) : std::string_view("-"), kFrameLimit);
      const auto hash = ParseHashText(value);
      if (!frame || !hash) continue;
      if ((run.flags & kHasFinalHash) == 0 || *frame > run.hash_frame) {
        run.hash_frame = *frame;
        run.hash = *hash;
        run.flags |= kHasFinalHash;
      }
    }
  }
  // Key changes as playback acts on them: "True" of jump and bomb, and the
  // changes of the walking keys (a "True" while held or "False" while let go
  // does nothing and is dropped).
  std::array<std::vector<std::pair<std::uint64_t, bool>>, 4> changes;
  if (const config::IniKeys* ingame = config::IniIndexSection(ini, "ingame")) {
    for (const auto& [key, value] : ingame->entries) {
      const std::string name = Lower(key);
      const std::size_t cut = name.rfind('_');
      if (cut == std::string::npos || (value != "True" && value != "False")) continue;
      const auto k = std::find(kKeys.begin(), kKeys.end(), name.substr(0, cut));
      const auto frame = Whole(name.substr(cut + 1), kFrameLimit);
      if (k == kKeys.end() || !frame) continue;
      changes[static_cast<std::size_t>(k - kKeys.begin())].emplace_back(*frame, value == "True");
    }
  }
  for (std::size_t k = 0; k < changes.size(); ++k) {
    std::sort(changes[k].begin(), changes[k].end());
    bool held = false;
    for (const auto& [frame, down] : changes[k]) {
      if (IsHeldKey(k) ? down == held : !down) continue;
      held = down;
      run.events.push_back(Event{frame, k});
    }
  }
  std::sort(run.events.begin(), run.events.end());
  return run;
}

std::string WriteRun(const RunData& run) {
  std::string out;
  const auto line = [&](std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
  };
  const auto frame_text = [](std::uint64_t f) { return std::to_string(f); };
  if (!run.events.empty()) {
    out += "[ingame]\r\n";
    std::array<bool, 4> held{};
    for (const Event& e : run.events) {
      const bool down = IsHeldKey(e.key) ? !held[e.key] : true;
      held[e.key] = down;
      line(std::string(kKeys[e.key]) + "_" + frame_text(e.frame), down ? "True" : "False");
    }
  }
  out += "[options]\r\n";
  line(kSeedKey, std::to_string(run.seed));
  line(kModeKey, (run.flags & kStory) != 0 ? "story" : "arcade");
  if ((run.flags & kHasFormat) != 0) line(kFormatKey, std::to_string(run.format));
  if ((run.flags & kHasTuning) != 0) line(kTuningKey, HashText(run.tuning));
  for (const auto& [frame, frames] : run.pauses) line("pause_" + frame_text(frame), std::to_string(frames));
  if ((run.flags & kHasEndFrame) != 0) line(kEndFrameKey, frame_text(run.end_frame));
  if ((run.flags & kHasLastFrame) != 0) line("lastframe", frame_text(run.last_frame));
  if ((run.flags & kHasFinalHash) != 0) {
    out += "[";
    out += kTrailSection;
    out += "]\r\n";
    line("f" + frame_text(run.hash_frame), HashText(run.hash));
  }
  return out;
}

}  // namespace

std::string WrapRunCodeBytes(std::string_view bytes) {
  std::string whole(bytes);
  const std::uint32_t sum = Checksum(bytes);
  for (int i = 0; i < 4; ++i) whole += static_cast<char>((sum >> (8 * i)) & 0xff);
  return ToText(whole);
}

std::optional<std::string> EncodeRunCode(std::string_view replay_text, std::string& error) {
  const std::optional<RunData> run = ReadRun(replay_text, error);
  if (!run) return std::nullopt;
  std::string bytes;
  bytes += static_cast<char>(kRunCodeVersion);
  bytes += static_cast<char>(run->flags);
  PutVarint(bytes, run->seed);
  if ((run->flags & kHasFormat) != 0) PutVarint(bytes, run->format);
  if ((run->flags & kHasTuning) != 0) PutFixed64(bytes, run->tuning);
  if ((run->flags & kHasEndFrame) != 0) PutVarint(bytes, run->end_frame);
  if ((run->flags & kHasLastFrame) != 0) PutVarint(bytes, run->last_frame);
  if ((run->flags & kHasFinalHash) != 0) {
    PutVarint(bytes, run->hash_frame);
    PutFixed64(bytes, run->hash);
  }
  PutVarint(bytes, run->pauses.size());
  std::uint64_t at = 0;
  for (const auto& [frame, frames] : run->pauses) {
    PutVarint(bytes, frame - at);
    PutVarint(bytes, frames);
    at = frame;
  }
  PutVarint(bytes, run->events.size());
  at = 0;
  for (const Event& e : run->events) {
    PutVarint(bytes, (e.frame - at) << 2 | e.key);
    at = e.frame;
  }
  std::string code = WrapRunCodeBytes(bytes);
  if (code.size() > kMaxRunCodeLength) {
    error = "the run is too long for a code";
    return std::nullopt;
  }
  return code;
}

std::optional<std::string> DecodeRunCode(std::string_view code, std::string& error) {
  error = "not a run code (damaged, cut short or of another version)";
  if (code.empty() || code.size() > kMaxRunCodeLength) return std::nullopt;
  const std::optional<std::string> bytes = FromText(code);
  if (!bytes || bytes->size() < 7) return std::nullopt;
  const std::string_view body(bytes->data(), bytes->size() - 4);
  std::uint32_t sum = 0;
  for (int i = 0; i < 4; ++i) sum |= static_cast<std::uint32_t>(static_cast<std::uint8_t>((*bytes)[body.size() + i])) << (8 * i);
  if (sum != Checksum(body)) return std::nullopt;
  Reader r{body};
  if (r.Byte() != kRunCodeVersion) return std::nullopt;
  RunData run;
  run.flags = r.Byte();
  if ((run.flags & ~kKnownFlags) != 0) return std::nullopt;
  run.seed = r.Varint(0xffffffffu);
  if ((run.flags & kHasFormat) != 0) run.format = r.Varint(255);
  if ((run.flags & kHasTuning) != 0) run.tuning = r.Fixed64();
  if ((run.flags & kHasEndFrame) != 0) run.end_frame = r.Varint(kFrameLimit);
  if ((run.flags & kHasLastFrame) != 0) run.last_frame = r.Varint(kFrameLimit);
  if ((run.flags & kHasFinalHash) != 0) {
    run.hash_frame = r.Varint(kFrameLimit);
    run.hash = r.Fixed64();
  }
  // Every entry takes at least a byte: a count beyond what is left is damage.
  const std::uint64_t pauses = r.Varint(r.Left());
  std::uint64_t at = 0;
  for (std::uint64_t i = 0; r.ok && i < pauses; ++i) {
    const std::uint64_t gap = r.Varint(kFrameLimit);
    at += gap;
    const std::uint64_t frames = r.Varint(1u << 30);
    // One pause per frame: a recording adds up the frames paused before a step.
    if (at > kFrameLimit || frames == 0 || (i > 0 && gap == 0)) r.ok = false;
    run.pauses.emplace_back(at, frames);
  }
  const std::uint64_t events = r.Varint(r.Left());
  at = 0;
  for (std::uint64_t i = 0; r.ok && i < events; ++i) {
    const std::uint64_t v = r.Varint(kFrameLimit << 2 | 3);
    at += v >> 2;
    if (at > kFrameLimit) r.ok = false;
    run.events.push_back(Event{at, static_cast<std::size_t>(v & 3)});
  }
  if (!r.ok || r.Left() != 0) return std::nullopt;
  // The same key twice in one frame cannot come from a recording.
  for (std::size_t i = 1; i < run.events.size(); ++i) {
    if (!(run.events[i - 1] < run.events[i])) return std::nullopt;
  }
  error.clear();
  return WriteRun(run);
}

}  // namespace tw::replay
