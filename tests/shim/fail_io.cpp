// A preload library for the end-to-end tests: failures injected under the
// game's file layer, as a full disk or an unreadable file shows them.
//
//   TW_FAIL_WRITE=TEXT      write() to a file whose path holds TEXT fails
//                           with ENOSPC (the disk is full) ...
//   TW_FAIL_WRITE_COUNT=N   ... for the first N such writes only (default: all)
//   TW_FAIL_OPEN=TEXT       opening an existing file whose path holds TEXT
//                           for reading fails with EACCES (not the player's)
//   TW_FAIL_READ=TEXT       read() from such a file fails with EIO
//
// LD_PRELOAD=libtw_fail_io.so tumblewell ...
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>

namespace {

std::atomic<long> g_write_failures{0};

bool FdMatches(int fd, const char* text) {
  char link[64];
  char path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, path, sizeof path - 1);
  if (n <= 0) return false;
  path[n] = '\0';
  return std::strstr(path, text) != nullptr;
}

const char* Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && v[0] != '\0' ? v : nullptr;
}

bool OpenFails(const char* path, int flags) {
  const char* text = Env("TW_FAIL_OPEN");
  if (text == nullptr || path == nullptr || (flags & O_ACCMODE) != O_RDONLY) return false;
  if (std::strstr(path, text) == nullptr) return false;
  using AccessFn = int (*)(const char*, int);
  static AccessFn real_access = reinterpret_cast<AccessFn>(dlsym(RTLD_NEXT, "access"));
  return real_access(path, F_OK) == 0;  // only a file that is there
}

using OpenFn = int (*)(const char*, int, ...);

// The mode argument is there only when the flags create a file.
int OpenThrough(OpenFn real_open, const char* path, int flags, va_list ap) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) mode = static_cast<mode_t>(va_arg(ap, int));
  if (OpenFails(path, flags)) {
    errno = EACCES;
    return -1;
  }
  return real_open(path, flags, mode);
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* buf, size_t count) {
  using WriteFn = ssize_t (*)(int, const void*, size_t);
  static WriteFn real_write = reinterpret_cast<WriteFn>(dlsym(RTLD_NEXT, "write"));
  const char* text = Env("TW_FAIL_WRITE");
  if (text != nullptr && fd > 2 && FdMatches(fd, text)) {
    const char* limit = Env("TW_FAIL_WRITE_COUNT");
    if (limit == nullptr || g_write_failures.fetch_add(1) < std::atol(limit)) {
      errno = ENOSPC;
      return -1;
    }
  }
  return real_write(fd, buf, count);
}

ssize_t read(int fd, void* buf, size_t count) {
  using ReadFn = ssize_t (*)(int, void*, size_t);
  static ReadFn real_read = reinterpret_cast<ReadFn>(dlsym(RTLD_NEXT, "read"));
  const char* text = Env("TW_FAIL_READ");
  if (text != nullptr && fd > 2 && FdMatches(fd, text)) {
    errno = EIO;
    return -1;
  }
  return real_read(fd, buf, count);
}

int open(const char* path, int flags, ...) {
  static OpenFn real_open = reinterpret_cast<OpenFn>(dlsym(RTLD_NEXT, "open"));
  va_list ap;
  va_start(ap, flags);
  const int fd = OpenThrough(real_open, path, flags, ap);
  va_end(ap);
  return fd;
}

int open64(const char* path, int flags, ...) {
  static OpenFn real_open = reinterpret_cast<OpenFn>(dlsym(RTLD_NEXT, "open64"));
  va_list ap;
  va_start(ap, flags);
  const int fd = OpenThrough(real_open, path, flags, ap);
  va_end(ap);
  return fd;
}

}  // extern "C"
