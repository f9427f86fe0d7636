// The utility component: the game's data archive, INI writing for the replay
// recorder and whole random numbers from a range. One instance serves the
// whole run; the first caller creates it.
//
// The archive is the least that serves the game: the pictures it would hold
// ship as plain files in the application directory, so opening it always
// succeeds and extracting a file succeeds exactly when that file is already
// there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw::config {

class UtilityComponent {
 public:
  // Opens the archive (a path relative to the application directory, e.g.
  // "Textures\other.pak"). Nothing depends on the result.
  bool OpenArchive(std::string_view archive, std::string_view label);
  bool ArchiveOpen() const { return archive_open_; }
  // Makes `name` available in the application directory; true when it is.
  bool ExtractFile(std::string_view name);
  // Writes one INI key. A bare file name ("replay.ini") is taken relative to
  // the application directory; an absolute path is used as it is.
  bool WriteIniKey(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file);
  // A whole number drawn uniformly from lowest to highest, both included
  // (the two are swapped when given the wrong way round).
  std::int32_t RandomWhole(std::int32_t lowest, std::int32_t highest);

 private:
  bool archive_open_ = false;
};

// The run's one instance, created on first use and never released.
UtilityComponent& Utility();

}  // namespace tw::config
