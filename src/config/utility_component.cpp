#include "config/utility_component.h"

#include "config/ini_store.h"
#include "platform/files.h"
#include "core/random.h"

namespace tw::config {

namespace {

bool IsAbsolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

// A name that stays inside the application directory: no parent steps.
bool IsPlainName(std::string_view name) {
  if (name.empty()) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

bool UtilityComponent::OpenArchive(std::string_view archive, std::string_view label) {
  (void)archive;
  (void)label;
  archive_open_ = true;
  return true;
}

bool UtilityComponent::ExtractFile(std::string_view name) {
  if (!IsPlainName(name) || IsAbsolute(name)) return false;
  return platform::FileExists(platform::AppPath(name));
}

bool UtilityComponent::WriteIniKey(std::string_view section, std::string_view key,
                                   std::string_view value, std::string_view file) {
  const std::string path = IsAbsolute(file) ? std::string(file) : platform::AppPath(file);
  return WriteIni(section, key, value, path);
}

std::int32_t UtilityComponent::RandomWhole(std::int32_t lowest, std::int32_t highest) {
  return core::RandomWhole(lowest, highest);
}

UtilityComponent& Utility() {
  static UtilityComponent instance;
  return instance;
}

}  // namespace tw::config
