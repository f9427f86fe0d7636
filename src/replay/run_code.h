// A replay as a short text code that fits in a link.
//
// The shaft and its bonuses follow from the seed, so a code holds only what
// the player did: the format, mode, seed, tuning hash, the frames of the key
// changes and pauses, the end and last frames, and the closing hash of the
// state trail. The bytes are packed (variable-length numbers, frame gaps
// rather than frames), end with a checksum, and are written in the URL-safe
// base64 alphabet without padding. Decoding gives the replay text playback
// reads (no map: the playback generates the shaft from the seed).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw::replay {

// The first byte of every code's bytes; a code of another version is refused.
inline constexpr std::uint8_t kRunCodeVersion = 1;
// Longest code accepted (a won game's code is a few thousand characters).
inline constexpr std::size_t kMaxRunCodeLength = 1 << 16;

// The code for a replay file's text; nullopt with `error` set (one line) when
// the file cannot be shared: no seed or mode, key changes that do not
// alternate between pressed and let go, numbers out of range.
std::optional<std::string> EncodeRunCode(std::string_view replay_text, std::string& error);
// The text form of a code's packed bytes (its checksum added), as
// EncodeRunCode writes it; for tests and fuzzing, which build codes byte by byte.
std::string WrapRunCodeBytes(std::string_view bytes);
// The replay text a code stands for; nullopt with `error` set (one line) for
// anything that is not a whole, undamaged code of this version.
std::optional<std::string> DecodeRunCode(std::string_view code, std::string& error);

}  // namespace tw::replay
