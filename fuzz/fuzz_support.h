// Shared by the fuzz targets: a private application directory and settings
// folder for the whole fuzzing process, and small helpers over the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "platform/files.h"

namespace tw::fuzz {

// Made once per process; the game's files go there, never into the build.
inline const std::filesystem::path& PrivateAppDir() {
  static const std::filesystem::path dir = [] {
    namespace fs = std::filesystem;
    const fs::path d = fs::temp_directory_path() / ("tw_fuzz_" + std::to_string(::getpid()));
    fs::remove_all(d);
    fs::create_directories(d / "textures");
    fs::create_directories(d / "config");
    ::setenv("XDG_CONFIG_HOME", (d / "config").c_str(), 1);
    platform::SetAppDir(d.string());
    std::atexit([] { std::error_code ec; std::filesystem::remove_all(PrivateAppDir(), ec); });
    return d;
  }();
  return dir;
}

// Writes bytes directly (not through the game's writer, which is not under test here).
inline void PutFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits the input at a separator byte sequence (at most `max_parts` pieces).
inline std::vector<std::string_view> Split(std::string_view text, std::string_view sep, std::size_t max_parts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < max_parts) {
    const auto at = text.find(sep);
    if (at == std::string_view::npos) break;
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + sep.size());
  }
  parts.push_back(text);
  return parts;
}

// A failed property: abort so libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

}  // namespace tw::fuzz

#define TW_FUZZ_CHECK(cond) \
  do {                      \
    if (!(cond)) ::tw::fuzz::Fail(#cond); \
  } while (0)
