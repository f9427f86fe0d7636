#include "config/saves.h"

#include <cstdio>
#include <map>
#include <set>

#include "platform/files.h"

namespace tw::config {

namespace {

struct Unsaved {
  std::string text;
  std::string what;
  std::string reason;
};
// Failed saves by file, in memory until they are written.
std::map<std::string, Unsaved> g_unsaved;
SaveNotice g_notice;
std::set<std::string> g_unreadable_told;

// One write; false when it failed (not when it was blocked).
bool Write(const std::string& file, const std::string& text, std::string_view what, bool& blocked) {
  const platform::WriteResult r = platform::WriteFileAtomic(file, text);
  blocked = r.blocked;
  if (r || r.blocked) {
    g_unsaved.erase(file);
    return static_cast<bool>(r);
  }
  const std::string reason = r.Reason();
  // One line per file and reason while it stays unsaved; the notice shows
  // again for every save that fails.
  const auto kept = g_unsaved.find(file);
  if (kept == g_unsaved.end() || kept->second.reason != reason) {
    std::fprintf(stderr, "tumblewell: cannot save %s to %s: %s (kept, to be saved again)\n",
                 std::string(what).c_str(), file.c_str(), reason.c_str());
  }
  g_unsaved[file] = Unsaved{text, std::string(what), reason};
  std::string line1 = std::string(what) + " not saved!";
  if (!line1.empty() && line1[0] >= 'a' && line1[0] <= 'z') line1[0] = static_cast<char>(line1[0] - 'a' + 'A');
  g_notice.line1 = line1;
  g_notice.line2 = reason + " - will try again";
  g_notice.frames_left = kSaveNoticeFrames;
  return false;
}

bool RetryAllBut(const std::string& skip) {
  for (auto it = g_unsaved.begin(); it != g_unsaved.end();) {
    if (it->first == skip) {
      ++it;
      continue;
    }
    const platform::WriteResult r = platform::WriteFileAtomic(it->first, it->second.text);
    if (r || r.blocked) {
      it = g_unsaved.erase(it);
    } else {
      it->second.reason = r.Reason();
      ++it;
    }
  }
  return g_unsaved.empty();
}

}  // namespace

bool SaveText(const std::string& file, const std::string& text, std::string_view what) {
  // Whatever else failed before is tried again first, then this save.
  RetryAllBut(file);
  bool blocked = false;
  return Write(file, text, what, blocked);
}

std::optional<std::string> LoadText(const std::string& file, std::string_view what) {
  if (const auto it = g_unsaved.find(file); it != g_unsaved.end()) return it->second.text;
  platform::ReadResult r = platform::ReadFileChecked(file);
  if (r.text || r.missing) return std::move(r.text);
  // Told once: here, or already by the file layer when it chose the file.
  const bool told = platform::IsKeptUntouched(file);
  platform::KeepUntouched(file);
  if (!told && g_unreadable_told.insert(file).second) {
    std::fprintf(stderr, "tumblewell: cannot read %s: %s; %s start from the defaults and the file is left as it is\n",
                 file.c_str(), r.reason.c_str(), std::string(what).c_str());
  }
  return std::nullopt;
}

bool RetryUnsavedFiles() { return RetryAllBut({}); }

bool SaveEverythingAtShutDown() {
  if (RetryUnsavedFiles()) return true;
  for (const auto& [file, unsaved] : g_unsaved) {
    std::fprintf(stderr, "tumblewell: lost: %s could not be saved to %s (%s)\n", unsaved.what.c_str(), file.c_str(),
                 unsaved.reason.c_str());
  }
  return false;
}

int UnsavedFileCount() { return static_cast<int>(g_unsaved.size()); }

const SaveNotice& CurrentSaveNotice() { return g_notice; }

void CountDownSaveNotice() {
  if (g_notice.frames_left > 0) --g_notice.frames_left;
}

}  // namespace tw::config
