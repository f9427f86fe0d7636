// Helpers shared by the test executables: temporary folders, running the real
// binary, and reading its JSON report.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tw::test {

// A fresh folder under /tmp, removed with everything in it at the end.
struct TempDir {
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path;
  std::string File(const std::string& name) const { return path + "/" + name; }
};

void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};
// Runs the game binary with the arguments; `env` entries "NAME=value" are added
// to the environment.
RunResult RunGame(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

// Copies the generated application directory's data (pictures, sounds, tuning)
// into `dir` by symbolic links, so a test can write options and scores there
// without touching the build's own files.
void LinkAppData(const std::string& dir);

// A JSON value read through python3's json module: every scalar keeps its text
// ("BOLO", "2500", "true") and is also read as a number and a flag; array
// entries are keyed by their index.
struct JsonValue {
  std::string string;
  double number = 0;
  bool boolean = false;
  std::map<std::string, JsonValue> object;

  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](std::size_t index) const { return (*this)[std::to_string(index)]; }
};
std::optional<JsonValue> ParseJson(const std::string& text);

// Runs the game with application directory `data` and per-user folder
// `config` (no sound device), and reads the report it writes at shut-down.
struct ReportedRun {
  RunResult result;
  std::optional<JsonValue> report;
};
ReportedRun RunReported(const std::string& data, const std::string& config, std::vector<std::string> args,
                        std::vector<std::string> env = {});

// The one way the end-to-end tests run the game: a private application
// directory (the generated data linked in, unless asked for an empty one) and
// settings folder, kept across the runs of one test, and the last run.
struct GameRun {
  explicit GameRun(bool link_data = true);
  TempDir data;
  TempDir config;
  RunResult result;
  std::optional<JsonValue> report;
  // Runs the game on the two folders, headless and fast unless `args` names
  // another display; `keys` (when not empty) is the keyboard script. True
  // when it exited with 0 and wrote its report.
  bool Start(std::vector<std::string> args, const std::string& keys = "", std::vector<std::string> env = {});
  const JsonValue& R() const { return *report; }
};

}  // namespace tw::test
