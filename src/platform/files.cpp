#include "platform/files.h"
#include "platform/web.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

namespace tw::platform {

namespace fs = std::filesystem;

namespace {

std::string g_app_dir;
bool g_app_dir_set = false;
// Whether the application directory can be written: -1 not yet checked.
int g_portable = -1;
bool g_user_dir_warned = false;

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string StripTrailingSeparators(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

}  // namespace

std::string ExecutableDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return ".";
  return StripTrailingSeparators(exe.parent_path().string());
}

const std::string& AppDir() {
  if (!g_app_dir_set) {
    g_app_dir = ExecutableDir();
    g_app_dir_set = true;
  }
  return g_app_dir;
}

void SetAppDir(std::string dir) {
  std::error_code ec;
  fs::path abs = fs::absolute(fs::path(dir), ec);
  g_app_dir = StripTrailingSeparators(ec ? dir : abs.lexically_normal().string());
  g_app_dir_set = true;
  g_portable = -1;
}

std::string AppPath(std::string_view relative) {
  std::string rel(relative);
  for (char& c : rel) {
    if (c == '\\') c = '/';
  }
  while (!rel.empty() && rel.front() == '/') rel.erase(rel.begin());
  return ResolvePath(AppDir() + "/" + rel);
}

std::string ResolvePath(std::string_view path) {
  std::string p(path);
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  if (p.empty()) return p;
  // Walk component by component; keep the exact spelling where it exists.
  std::string result = (p.front() == '/') ? "/" : "";
  bool lost = false;  // once a folder does not exist, nothing below can be found
  size_t pos = 0;
  while (pos < p.size()) {
    size_t next = p.find('/', pos);
    if (next == std::string::npos) next = p.size();
    std::string_view comp(p.data() + pos, next - pos);
    pos = next + 1;
    if (comp.empty() || comp == ".") continue;
    std::string base = result.empty() ? "." : result;
    std::string candidate = result + (result.empty() || result.back() == '/' ? "" : "/") + std::string(comp);
    if (!lost && comp != "..") {
      std::error_code ec;
      if (!fs::exists(candidate, ec)) {
        bool found = false;
        for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
          const std::string name = it->path().filename().string();
          if (EqualsNoCase(name, comp)) {
            candidate = result + (result.empty() || result.back() == '/' ? "" : "/") + name;
            found = true;
            break;
          }
        }
        if (!found) lost = true;
      }
    }
    result = std::move(candidate);
  }
  return result.empty() ? std::string(".") : result;
}

bool FileExists(std::string_view path) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(std::string(path)), ec);
}

bool PathExists(std::string_view path) {
  struct stat st {};
  return ::lstat(std::string(path).c_str(), &st) == 0;
}

ReadResult ReadFileChecked(std::string_view path) {
  ReadResult r;
  // Non-blocking, so that opening a FIFO cannot hang; then only a regular
  // file of sane size is read (a link to /dev/zero would never end).
  const int fd = ::open(std::string(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      r.missing = true;
    } else {
      r.reason = std::strerror(errno);
    }
    return r;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    r.reason = std::strerror(errno);
  } else if (S_ISDIR(st.st_mode)) {
    r.reason = std::strerror(EISDIR);
  } else if (!S_ISREG(st.st_mode)) {
    r.reason = "not a regular file";
  } else if (st.st_size > kMaxReadBytes) {
    r.reason = std::strerror(EFBIG);
  }
  if (!r.reason.empty()) {
    ::close(fd);
    return r;
  }
  std::string out;
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      r.reason = std::strerror(errno);
      ::close(fd);
      return r;
    }
    out.append(buffer, static_cast<std::size_t>(n));
    if (out.size() > static_cast<std::size_t>(kMaxReadBytes)) {  // grew while being read
      r.reason = std::strerror(EFBIG);
      ::close(fd);
      return r;
    }
  }
  ::close(fd);
  r.text = std::move(out);
  return r;
}

std::optional<std::string> ReadFile(std::string_view path) { return ReadFileChecked(path).text; }

namespace {

std::atomic<unsigned> g_temporaries{0};
std::atomic<unsigned> g_replaced{0};

// The process id in a name "<saved>.tmp<pid>_<n>" for one of `saved`, or 0.
long TemporaryOwner(std::string_view name, std::initializer_list<std::string_view> saved) {
  const std::size_t mark = name.rfind(".tmp");
  if (mark == std::string_view::npos || mark == 0) return 0;
  const std::string_view base = name.substr(0, mark);
  const bool ours = std::any_of(saved.begin(), saved.end(), [&](std::string_view s) {
    if (!s.empty() && s.back() == '*') {
      s.remove_suffix(1);
      return base.size() >= s.size() && EqualsNoCase(base.substr(0, s.size()), s);
    }
    return EqualsNoCase(base, s);
  });
  if (!ours) return 0;
  const std::string_view rest = name.substr(mark + 4);
  const std::size_t sep = rest.find('_');
  if (sep == std::string_view::npos || sep == 0 || sep > 9 || sep + 1 == rest.size()) return 0;
  long pid = 0;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (i == sep) continue;
    if (rest[i] < '0' || rest[i] > '9') return 0;
    if (i < sep) pid = pid * 10 + (rest[i] - '0');
  }
  return pid;
}

}  // namespace

unsigned AtomicWriteCount() { return g_replaced.load(); }

void RemoveStaleTemporaries(std::string_view dir, std::initializer_list<std::string_view> saved) {
  std::error_code ec;
  for (fs::directory_iterator it(std::string(dir), ec), end; !ec && it != end; it.increment(ec)) {
    const long pid = TemporaryOwner(it->path().filename().string(), saved);
    if (pid <= 0 || pid > INT32_MAX) continue;
    // A process that still runs (or that we may not signal) may be writing.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    fs::remove(it->path(), type_ec);
  }
}

namespace {

std::mutex g_untouched_lock;
std::set<std::string> g_untouched;

std::string Normalized(std::string_view path) {
  return fs::path(std::string(path)).lexically_normal().string();
}

}  // namespace

void KeepUntouched(std::string_view path) {
  const std::lock_guard<std::mutex> hold(g_untouched_lock);
  g_untouched.insert(Normalized(path));
}

bool IsKeptUntouched(std::string_view path) {
  const std::lock_guard<std::mutex> hold(g_untouched_lock);
  return g_untouched.count(Normalized(path)) != 0;
}

std::string WriteResult::Reason() const {
  if (blocked) return "the file there could not be read, so it is left as it is";
  return error == 0 ? std::string() : std::string(std::strerror(error));
}

WriteResult WriteFileAtomic(std::string_view path, std::string_view contents) {
  WriteResult result;
  if (IsKeptUntouched(path)) {
    result.blocked = true;
    return result;
  }
  const fs::path target{std::string(path)};
  std::error_code ec;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  // A fresh temporary: never one that is already there (a file, or a link
  // planted to have the game write through it).
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tmp = target.string() + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(g_temporaries.fetch_add(1));
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) break;
  }
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  // The file replaced keeps its permission bits (not its owner: a save runs
  // as the player, who owns what they save).
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) && ::fchmod(fd, old.st_mode & 07777) != 0) {
    result.error = errno;
  }
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0 && result.error == 0) {
    ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      break;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  if (result.error == 0 && ::fsync(fd) != 0) result.error = errno;
  if (::close(fd) != 0 && result.error == 0) result.error = errno;
  if (result.error == 0 && std::rename(tmp.c_str(), target.c_str()) != 0) result.error = errno;
  if (result.error != 0) {
    ::unlink(tmp.c_str());
    return result;
  }
  g_replaced.fetch_add(1);
  SyncSaves();  // in the browser the save is only kept once it reaches IndexedDB
  return result;
}

}  // namespace tw::platform

namespace tw::platform {

namespace {

// No home and no XDG folder: per-user files are not saved, said once.
void NoteNoUserFolder() {
  static std::atomic<bool> told{false};
  if (told.exchange(true)) return;
  std::fprintf(stderr,
               "tumblewell: neither HOME nor the XDG folders are set; per-user files (the settings, and an "
               "installed game's options, high scores and replays) will not be saved\n");
}

}  // namespace

std::string UserConfigDir() {
  if (BrowserSaveDir()[0] != '\0') return std::string(BrowserSaveDir()) + "/config";
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config";
  NoteNoUserFolder();
  return {};
}

std::string ExecutableBaseName() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return "tumblewell";
  return exe.stem().string();
}

}  // namespace tw::platform

namespace tw::platform {

namespace {

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool Writable(const std::string& dir) { return ::access(dir.c_str(), W_OK) == 0; }

// A folder holds game data when it has a "textures" folder (any letter case).
bool HoldsData(const std::string& dir) { return IsDirectory(dir) && IsDirectory(ResolvePath(dir + "/textures")); }

// Data under ".../share/tumblewell" was installed (by a package or `make
// install`); writability says nothing there, since root may write anywhere.
bool IsInstalledCopy(const std::string& dir) {
  const fs::path p = fs::path(dir).lexically_normal();
  const fs::path leaf = p.filename().empty() ? p.parent_path() : p;
  return leaf.filename() == "tumblewell" && leaf.parent_path().filename() == "share";
}

std::string Normal(const fs::path& p) { return StripTrailingSeparators(p.lexically_normal().string()); }

}  // namespace

std::optional<std::string> FindDataDir(std::string& looked_in) {
  const fs::path exe_dir(ExecutableDir());
  const std::string candidates[] = {Normal(exe_dir), Normal(exe_dir / ".." / "share" / "tumblewell")};
  looked_in.clear();
  for (const std::string& dir : candidates) {
    if (HoldsData(dir)) return dir;
    looked_in += (looked_in.empty() ? "" : " and ") + dir;
  }
  return std::nullopt;
}

std::string UserDataDir() {
  // The page keeps this folder in IndexedDB; the rest of its file system is
  // gone at the next reload.
  if (BrowserSaveDir()[0] != '\0') return BrowserSaveDir();
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return StripTrailingSeparators(std::string(xdg) + "/tumblewell");
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return StripTrailingSeparators(home) + "/.local/share/tumblewell";
  NoteNoUserFolder();
  return {};
}

bool AppDirIsPortable() {
  // The browser's data folder is writable, but only in memory.
  if (BrowserOwnsLoop()) return false;
  if (g_portable < 0) {
    const std::string textures = ResolvePath(AppDir() + "/textures");
    g_portable = !IsInstalledCopy(AppDir()) && Writable(AppDir()) && (!IsDirectory(textures) || Writable(textures)) ? 1 : 0;
  }
  return g_portable == 1;
}

namespace {

// Makes `dir` (creating it when needed) and checks that it can be written;
// the first failure is reported once, naming the folder.
bool PrepareUserFolder(const std::string& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!ec && IsDirectory(dir) && Writable(dir)) return true;
  if (!g_user_dir_warned) {
    g_user_dir_warned = true;
    std::fprintf(stderr,
                 "tumblewell: cannot write to %s (%s); options, high scores, replays and screenshots "
                 "will not be saved\n",
                 dir.c_str(), ec ? ec.message().c_str() : "permission denied");
  }
  return false;
}

std::string GameRelative(std::string_view relative) {
  std::string rel(relative);
  for (char& c : rel) {
    if (c == '\\') c = '/';
  }
  while (!rel.empty() && rel.front() == '/') rel.erase(rel.begin());
  return rel;
}

}  // namespace

namespace {

// A file that is there but cannot be read (not one that is missing).
bool Unreadable(const std::string& path, std::string& reason) {
  if (!PathExists(path)) return false;
  ReadResult r = ReadFileChecked(path);
  reason = r.reason;
  return !r.text && !r.missing;
}

void NoteOnce(const std::string& key, const std::string& line) {
  static std::mutex lock;
  static std::set<std::string> told;
  const std::lock_guard<std::mutex> hold(lock);
  if (told.insert(key).second) std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

std::string UserFile(std::string_view relative) {
  const std::string shipped = AppPath(relative);
  std::string reason;
  const bool shipped_unreadable = Unreadable(shipped, reason);
  if (AppDirIsPortable() && !shipped_unreadable) return shipped;
  const std::string user_dir = UserDataDir();
  if (shipped_unreadable) {
    // Left as it is: never saved over, never copied.
    KeepUntouched(shipped);
    NoteOnce(shipped, "tumblewell: cannot read " + shipped + " (" + reason + "); it is left as it is" +
                          (user_dir.empty() ? std::string(" and not saved") : ", the copy in " + user_dir + " is used instead"));
  }
  if (user_dir.empty()) {
    KeepUntouched(shipped);
    return shipped;
  }
  const std::string mine = ResolvePath(user_dir + "/" + GameRelative(relative));
  if (PathExists(mine)) return mine;  // the player's own, readable or not (the reader tells)
  const fs::path parent = fs::path(mine).parent_path();
  if (!PrepareUserFolder(parent.string())) {
    KeepUntouched(shipped);
    return shipped;
  }
  if (!shipped_unreadable && FileExists(shipped)) {
    // The player's copy starts as the shipped default; a copy that fails
    // leaves the default to be read (and the next save makes the copy).
    const auto text = ReadFile(shipped);
    if (!text || !WriteFileAtomic(mine, *text)) return mine;
  }
  return mine;
}

std::string ScreenshotDir() {
  if (AppDirIsPortable()) return AppDir();
  const char* pictures = std::getenv("XDG_PICTURES_DIR");
  const std::string dir =
      pictures != nullptr && pictures[0] == '/' ? StripTrailingSeparators(pictures) : UserDataDir();
  if (dir.empty()) return dir;
  PrepareUserFolder(dir);
  return dir;
}

}  // namespace tw::platform
