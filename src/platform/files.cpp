#include "platform/files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tw::platform {

namespace fs = std::filesystem;

namespace {

std::string g_app_dir;
bool g_app_dir_set = false;

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

std::optional<std::string> ReadFile(std::string_view path) {
  // Non-blocking, so that opening a FIFO cannot hang; then only a regular
  // file of sane size is read (a link to /dev/zero would never end).
  const int fd = ::open(std::string(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxReadBytes) {
    ::close(fd);
    return std::nullopt;
  }
  std::string out;
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    out.append(buffer, static_cast<std::size_t>(n));
    if (out.size() > static_cast<std::size_t>(kMaxReadBytes)) {  // grew while being read
      ::close(fd);
      return std::nullopt;
    }
  }
  ::close(fd);
  return out;
}

namespace {

std::atomic<unsigned> g_temporaries{0};
std::atomic<unsigned> g_replaced{0};

// The process id in a name ending ".tmp<pid>_<n>", or 0.
long TemporaryOwner(std::string_view name) {
  const std::size_t mark = name.rfind(".tmp");
  if (mark == std::string_view::npos || mark == 0) return 0;
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

void RemoveStaleTemporaries(std::string_view dir) {
  std::error_code ec;
  for (fs::directory_iterator it(std::string(dir), ec), end; !ec && it != end; it.increment(ec)) {
    const long pid = TemporaryOwner(it->path().filename().string());
    if (pid <= 0 || pid > INT32_MAX) continue;
    // A process that still runs (or that we may not signal) may be writing.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    fs::remove(it->path(), type_ec);
  }
}

bool WriteFileAtomic(std::string_view path, std::string_view contents) {
  const fs::path target{std::string(path)};
  std::error_code ec;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  const std::string tmp = target.string() + ".tmp" + std::to_string(::getpid()) + "_" +
                          std::to_string(g_temporaries.fetch_add(1));
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const char* data = contents.data();
  size_t left = contents.size();
  bool ok = true;
  while (left > 0) {
    ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(tmp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  if (ok) g_replaced.fetch_add(1);
  return ok;
}

}  // namespace tw::platform

namespace tw::platform {

std::string UserConfigDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config";
  return "/tmp";
}

std::string ExecutableBaseName() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return "tumblewell";
  return exe.stem().string();
}

}  // namespace tw::platform
