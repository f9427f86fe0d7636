// Files: the application directory, case-insensitive path resolution and
// atomic replacement of small files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw::platform {

// The application directory (no trailing separator). Defaults to the folder
// of the running executable; --data replaces it.
const std::string& AppDir();
void SetAppDir(std::string dir);
// The folder of the running executable.
std::string ExecutableDir();

// Joins the application directory and a game-style relative path such as
// "\Textures\lvl1.bmp", "textures\menu\logo.jpg" or "sfx/jump.wav".
std::string AppPath(std::string_view relative);

// Maps a path written with backslashes and in any letter case onto the file
// system: each component that does not exist as written is looked up in its
// folder without regard to case. Components that exist nowhere are kept as
// written (after the separator change), so the result can be used to create
// a file.
std::string ResolvePath(std::string_view path);

bool FileExists(std::string_view path);

// Largest file ReadFile reads: every file the game reads is far smaller.
inline constexpr long kMaxReadBytes = 16L * 1024 * 1024;
// Whole-file read; nullopt when the file cannot be read or is not a regular
// file of at most kMaxReadBytes (a FIFO, a device, a folder), so callers
// treat those as missing.
std::optional<std::string> ReadFile(std::string_view path);
// Writes a file atomically: the bytes go to a temporary file in the same
// folder, are flushed, and the temporary is renamed over the target, so a
// crash leaves either the old or the new file, never a torn one. Missing
// parent folders are created. Returns false on failure (the target is then
// left as it was).
bool WriteFileAtomic(std::string_view path, std::string_view contents);
// Files WriteFileAtomic has replaced in this process so far.
unsigned AtomicWriteCount();
// Removes the temporary files that saves of an earlier, killed run left in
// `dir` ("<file>.tmp<pid>_<n>" of a process no longer running); anything
// else, including the temporaries of a run still going, is left alone.
void RemoveStaleTemporaries(std::string_view dir);

}  // namespace tw::platform

namespace tw::platform {
// The per-user configuration folder: $XDG_CONFIG_HOME, else ~/.config.
std::string UserConfigDir();
// The executable's base name ("tumblewell"), the settings store's application name.
std::string ExecutableBaseName();
}  // namespace tw::platform
