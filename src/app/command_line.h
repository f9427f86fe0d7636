// The command line: a few options for players, tests and automation. With no
// arguments the game starts as it always does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw::app {

enum class StartMode { None, Story, Arcade };

struct CommandLine {
  bool help = false;
  bool version = false;
  std::optional<std::string> data_dir;
  bool headless = false;
  bool offscreen = false;
  bool fast = false;
  bool integer_scale = false;
  std::optional<std::int64_t> frames;
  std::optional<std::uint64_t> seed;
  std::optional<std::string> keys_file;
  std::optional<std::string> report_file;
  // A one-line state file rewritten whenever the state changes (and once a
  // second), for scripts that wait on the game rather than on the clock.
  std::optional<std::string> state_file;
  // The autoplayer steers the creature; a run started with --start then ends
  // when that game is over.
  bool autoplay = false;
  bool sharp_autoplay = false;  // --autoplay=sharp: the unlimited player
  int press_gap = 0;            // --press-gap: the limited player's gap; 0 keeps its own
  StartMode start = StartMode::None;
  bool record = false;                   // record the game --start begins (else the next)
  std::optional<std::string> play_file;  // play this replay back at once
  // --verify FILE: play_file headless at full speed, checking its state
  // trail; the run ends with the game and the exit code gives the verdict.
  bool verify = false;
  std::optional<std::string> share_file;  // --share FILE: print the file's run code
  std::optional<std::string> play_code;   // --play-code CODE: play that run back at once
};

// Parses argv[1..]. On a bad argument returns nullopt and sets `error` to a
// one-line message.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error);
// Checks the files and folders the options name, before anything runs: the
// --data folder exists, the --keys file is a file, the --report file's folder
// exists. On a failure sets `error` to a one-line message.
bool CheckCommandLinePaths(const CommandLine& cl, std::string& error);
// The text --help prints.
std::string HelpText();

}  // namespace tw::app
