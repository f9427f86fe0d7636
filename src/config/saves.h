// Saving the player's files so that no save is lost in silence, and reading
// them so that a file that cannot be read is never taken for a missing one.
//
// Every save of options, high scores, the settings store and replays goes
// through SaveText (and so through platform::WriteFileAtomic). A save that
// fails is said on stderr (the file and the system's reason) and on screen,
// and its text is kept: reads of the file through LoadText see it, and it is
// written again at the next save and at an orderly shut-down.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw::config {

// Writes `text` as the whole of `file`. `what` names the contents for the
// messages ("the high scores"). True when the file holds the text now; false
// when it failed (told and kept) or when the file there is kept untouched
// because it could not be read (told when it was read).
bool SaveText(const std::string& file, const std::string& text, std::string_view what);

// The text of `file` as the game means it to be: a kept, unsaved text first,
// else the file. nullopt when the file is missing, and when it is there but
// cannot be read: then the game says so once on stderr (naming `what`, which
// starts from defaults) and the file is never saved over.
std::optional<std::string> LoadText(const std::string& file, std::string_view what);

// Tries every kept save again; true when none is left.
bool RetryUnsavedFiles();
// At an orderly shut-down: every kept save is tried once more; for each one
// that still fails, a line on stderr saying what was lost. True when nothing
// was lost.
bool SaveEverythingAtShutDown();

// Saves that failed and are kept, and the notice on screen.
int UnsavedFileCount();
struct SaveNotice {
  std::string line1;  // what was not saved
  std::string line2;  // the reason
  int frames_left = 0;
};
// The notice shown after a failed save (frames_left counts down to 0).
const SaveNotice& CurrentSaveNotice();
// One frame of the notice has been shown.
void CountDownSaveNotice();
// How long a notice stays on screen: 8 seconds.
inline constexpr int kSaveNoticeFrames = 400;

}  // namespace tw::config
