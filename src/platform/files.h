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

namespace tw::platform {

// Where the game's data is looked for when no folder is given: the folder of
// the executable (a build or a portable copy), then ../share/tumblewell next
// to it (an installed game). The first that holds a "textures" folder wins;
// nullopt when none does, with `looked_in` naming every folder tried.
std::optional<std::string> FindDataDir(std::string& looked_in);

// The player's own files (options, high scores, the replay recording,
// screenshots). A writable application directory is a portable copy and keeps
// them itself. Otherwise (an installed game) they live in the user data
// folder, $XDG_DATA_HOME/tumblewell or ~/.local/share/tumblewell, under the
// same relative names.
std::string UserDataDir();
// True when the application directory can be written (checked once per
// application directory).
bool AppDirIsPortable();
// The path to read and write the player's file `relative` (game-style, as
// for AppPath). In the user data folder, a file the player has not written
// yet starts as a copy of the one shipped in the application directory, so
// reads see the player's file first and the shipped default otherwise. When
// the user data folder cannot be written, says so once on stderr and returns
// the shipped file: the game plays on without saving.
std::string UserFile(std::string_view relative);
// The folder for screenshots: the application directory when portable,
// else $XDG_PICTURES_DIR when set, else the user data folder.
std::string ScreenshotDir();

}  // namespace tw::platform
