// Files: the application directory, case-insensitive path resolution and
// atomic replacement of small files.
#pragma once

#include <initializer_list>
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
// True when anything is at `path` (a file, a folder, a link, a device).
bool PathExists(std::string_view path);

// Largest file ReadFile reads: every file the game reads is far smaller.
inline constexpr long kMaxReadBytes = 16L * 1024 * 1024;
// Whole-file read; nullopt when the file cannot be read or is not a regular
// file of at most kMaxReadBytes (a FIFO, a device, a folder), so callers
// treat those as missing.
std::optional<std::string> ReadFile(std::string_view path);
// ReadFile telling why: a file that is not there (`missing`) is not the same
// as one that is there but cannot be read (permissions, an I/O error, a
// folder or device in its place, too large), which a save must not replace.
struct ReadResult {
  std::optional<std::string> text;
  bool missing = false;
  std::string reason;  // why it could not be read ("" when read or missing)
};
ReadResult ReadFileChecked(std::string_view path);

// What a save came to.
struct WriteResult {
  int error = 0;         // errno of the step that failed, 0 when written
  bool blocked = false;  // not attempted: the file there is kept untouched (KeepUntouched)
  explicit operator bool() const { return error == 0 && !blocked; }
  // The system's reason, as strerror gives it.
  std::string Reason() const;
};
// The one function every save of the game goes through (options, high
// scores, the settings store, replays, screenshots, the report); it reports
// failure to its caller. Writes a file atomically: the bytes go to a fresh
// temporary file in the same folder (created with O_EXCL | O_NOFOLLOW, a new
// name when one is taken), are flushed, and the temporary is renamed over
// the target, so a crash leaves either the old or the new file, never a torn
// one. Missing parent folders are created. On failure the target is left as
// it was. A file replaced keeps its permission bits (a table the player made
// private stays private); a new file gets 0644 less the umask.
WriteResult WriteFileAtomic(std::string_view path, std::string_view contents);
// A file that exists but could not be read: no save may replace it for the
// rest of the run (WriteFileAtomic returns `blocked`).
void KeepUntouched(std::string_view path);
bool IsKeptUntouched(std::string_view path);
// Files WriteFileAtomic has replaced in this process so far.
unsigned AtomicWriteCount();
// Removes the temporary files that saves of an earlier, killed run left in
// `dir`: "<file>.tmp<pid>_<n>" of a process no longer running, where <file>
// is one of `saved` (the names the game itself saves in that folder, in any
// letter case; a name ending in '*' stands for every name it begins). Anything
// else, a player's "notes.tmp2024_05" or the temporaries of a run still going,
// is left alone.
void RemoveStaleTemporaries(std::string_view dir, std::initializer_list<std::string_view> saved);

}  // namespace tw::platform

namespace tw::platform {
// The per-user configuration folder: $XDG_CONFIG_HOME, else ~/.config; ""
// when neither that nor HOME is set: per-user files are then not saved (the
// first call says so once on stderr), rather than kept in a shared folder.
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
// same relative names; "" when neither that nor HOME is set (noted once, as
// for UserConfigDir).
std::string UserDataDir();
// True when the application directory can be written (checked once per
// application directory) and is not an installed copy: data under
// ".../share/tumblewell" is never portable, whoever runs it (root can write
// anywhere, and would leave its own files there for every user).
bool AppDirIsPortable();
// The path to read and write the player's file `relative` (game-style, as
// for AppPath). In the user data folder, a file the player has not written
// yet starts as a copy of the one shipped in the application directory, so
// reads see the player's file first and the shipped default otherwise. When
// the user data folder cannot be written (or there is none), says so once on
// stderr and returns the shipped file, kept untouched: the game plays on
// without saving. A portable game's file that exists but cannot be read is
// left as it is (noted once) and the user data folder's copy is used instead.
std::string UserFile(std::string_view relative);
// The folder for screenshots: the application directory when portable,
// else $XDG_PICTURES_DIR when set, else the user data folder.
std::string ScreenshotDir();

}  // namespace tw::platform
