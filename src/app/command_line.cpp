#include "app/command_line.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/printable.h"

namespace tw::app {

namespace {

template <typename T>
bool ParseWhole(const std::string& text, T& out) {
  if (text.empty()) return false;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size();
}

}  // namespace

std::string HelpText() {
  return "Usage: tumblewell [options]\n"
         "\n"
         "With no options the game starts in its window as usual.\n"
         "\n"
         "  --help             show this text and exit\n"
         "  --version          show the version and exit\n"
         "  --data DIR         use DIR as the application directory (pictures, sounds,\n"
         "                     options and high scores); default: the executable's folder\n"
         "                     if it holds the data, else ../share/tumblewell beside it\n"
         "  --integer-scale    show the picture at a whole-number scale (sharp pixels,\n"
         "                     wider black bars); also Integer_Scale=True in the options\n"
         "  --headless         no window, no drawing, no sound device\n"
         "  --offscreen        draw into the canvas with the software renderer and no\n"
         "                     visible window (pixel checks, screenshots); no sound\n"
         "  --fast             do not wait between frames\n"
         "  --frames N         shut down in order after N frames\n"
         "  --seed N           start the random generator from N (reproducible runs)\n"
         "  --start MODE       start a new game of MODE (story or arcade) at once,\n"
         "                     skipping the menu; the saved options are not changed\n"
         "  --keys FILE        replace the keyboard with a script: lines\n"
         "                     \"FRAME KEY down|up\", KEY one of Escape, Return, Space, Tab,\n"
         "                     Backspace, Up, Down, Left, Right, A..Z, 0..9; '#' starts a\n"
         "                     comment; frames count from 0 over menu and game alike\n"
         "  --autoplay         the computer plays (with --start, the run ends with the game),\n"
         "                     held to a person's limits: it sees only the screen, reacts\n"
         "                     0.2 s late, presses at most five keys a second and holds\n"
         "                     each at least 80 ms\n"
         "  --autoplay=sharp   the computer plays without those limits (for comparison)\n"
         "  --press-gap N      the limited autoplayer's fewest frames between two\n"
         "                     presses (default 10: five a second)\n"
         "  --report FILE      at shut-down, write the game's state as a JSON object\n"
         "  --state FILE       keep one line in FILE telling the frame, mode, menu screen\n"
         "                     and item and display mode, rewritten when they change\n"
         "                     and once a second (for scripts that wait on the game)\n"
         "  --record           record the game that --start begins (without --start, the\n"
         "                     next game started from the menu) into replay.ini (see Files)\n"
         "  --play FILE        play the replay FILE back at once (in the mode it was\n"
         "                     recorded in; an older file without one plays in the mode\n"
         "                     of --start or of the saved options), then show the menu\n"
         "  --verify FILE      play the replay FILE headless at full speed and check its\n"
         "                     state trail; prints one line and exits with 0 when it\n"
         "                     matches, 4 when the state differs (naming the first frame),\n"
         "                     5 when it was played with another tuning file, 6 when the\n"
         "                     file has no trail (played through, nothing checked)\n"
         "  --share FILE       print a short text code for the replay FILE (for a link)\n"
         "  --play-code CODE   play the run a code from --share holds, then show the menu\n"
         "\n"
         "Files: when the application directory can be written (a portable copy), the\n"
         "options (textures/options.bmp), high scores (textures/dot_black2.bmp and\n"
         "textures/dot_white2.bmp) with the runs of their entries (textures/runs_story.ini\n"
         "and textures/runs_arcade.ini), the replay recording (replay.ini) and screenshots\n"
         "are kept there. Otherwise (an installed game) they are kept under the same\n"
         "names in $XDG_DATA_HOME/tumblewell (default ~/.local/share/tumblewell),\n"
         "starting from the shipped copies; screenshots go to $XDG_PICTURES_DIR when\n"
         "set. Game controllers: D-pad or left stick walks, A jumps, B or X drops a\n"
         "bomb, Start pauses, Back gives up; in menus A confirms and B goes back.\n"
         "Alt+Enter or F11 switches between window and full screen.\n";
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  CommandLine cl;
  int runs_named = 0;  // --play, --verify, --share and --play-code each name one
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = "option " + core::Printable(a) + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      cl.help = true;
    } else if (a == "--version") {
      cl.version = true;
    } else if (a == "--headless") {
      cl.headless = true;
    } else if (a == "--offscreen") {
      cl.offscreen = true;
    } else if (a == "--autoplay" || a == "--autoplay=human") {
      cl.autoplay = true;
      cl.sharp_autoplay = false;
    } else if (a == "--autoplay=sharp") {
      cl.autoplay = true;
      cl.sharp_autoplay = true;
    } else if (a == "--fast") {
      cl.fast = true;
    } else if (a == "--integer-scale") {
      cl.integer_scale = true;
    } else if (a == "--data") {
      if (!value(v)) return std::nullopt;
      if (v.empty()) {
        error = "option --data needs a folder";
        return std::nullopt;
      }
      cl.data_dir = v;
    } else if (a == "--frames") {
      if (!value(v)) return std::nullopt;
      std::int64_t n = 0;
      if (!ParseWhole(v, n) || n < 0) {
        error = "option --frames needs a whole number of frames, not \"" + core::Printable(v) + "\"";
        return std::nullopt;
      }
      cl.frames = n;
    } else if (a == "--press-gap") {
      if (!value(v)) return std::nullopt;
      std::int64_t n = 0;
      if (!ParseWhole(v, n) || n < 1 || n > 1000) {
        error = "option --press-gap needs a whole number of frames from 1 to 1000, not \"" + core::Printable(v) + "\"";
        return std::nullopt;
      }
      cl.press_gap = static_cast<int>(n);
    } else if (a == "--seed") {
      if (!value(v)) return std::nullopt;
      std::uint64_t n = 0;
      if (!ParseWhole(v, n)) {
        error = "option --seed needs a whole number, not \"" + core::Printable(v) + "\"";
        return std::nullopt;
      }
      cl.seed = n;
    } else if (a == "--start") {
      if (!value(v)) return std::nullopt;
      if (v == "story") {
        cl.start = StartMode::Story;
      } else if (v == "arcade") {
        cl.start = StartMode::Arcade;
      } else {
        error = "option --start takes story or arcade, not \"" + core::Printable(v) + "\"";
        return std::nullopt;
      }
    } else if (a == "--keys") {
      if (!value(v)) return std::nullopt;
      cl.keys_file = v;
    } else if (a == "--record") {
      cl.record = true;
    } else if (a == "--play") {
      if (!value(v)) return std::nullopt;
      ++runs_named;
      if (v.empty()) {
        error = "option --play needs a replay file";
        return std::nullopt;
      }
      // Read from where the command was given, whatever --data says.
      std::error_code ec;
      const std::filesystem::path full = std::filesystem::absolute(v, ec);
      cl.play_file = ec ? v : full.string();
    } else if (a == "--verify" || a == "--share") {
      if (!value(v)) return std::nullopt;
      ++runs_named;
      if (v.empty()) {
        error = "option " + a + " needs a replay file";
        return std::nullopt;
      }
      std::error_code ec;
      const std::filesystem::path full = std::filesystem::absolute(v, ec);
      (a == "--share" ? cl.share_file : cl.play_file) = ec ? v : full.string();
      if (a == "--verify") cl.verify = true;
    } else if (a == "--play-code") {
      if (!value(v)) return std::nullopt;
      ++runs_named;
      cl.play_code = v;
    } else if (a == "--report") {
      if (!value(v)) return std::nullopt;
      cl.report_file = v;
    } else if (a == "--state") {
      if (!value(v)) return std::nullopt;
      cl.state_file = v;
    } else {
      error = "unknown option \"" + core::Printable(a) + "\" (try --help)";
      return std::nullopt;
    }
  }
  if (cl.record && (cl.play_file || cl.play_code)) {
    error = "--record cannot be used with --play, --verify or --play-code";
    return std::nullopt;
  }
  if (runs_named > 1) {
    error = "use one of --play, --verify, --share and --play-code";
    return std::nullopt;
  }
  if (cl.verify) {  // a check, not a show: nothing drawn, no waiting
    cl.headless = !cl.offscreen;
    cl.fast = true;
  }
  if (cl.headless && cl.offscreen) {
    error = "--headless and --offscreen cannot be used together";
    return std::nullopt;
  }
  return cl;
}

bool CheckCommandLinePaths(const CommandLine& cl, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  // Nothing is created where the player did not ask: a folder that is not
  // there is a mistyped argument, not a request for a new one.
  if (cl.data_dir && !fs::is_directory(*cl.data_dir, ec)) {
    error = "option --data: no folder \"" + core::Printable(*cl.data_dir) + "\"";
    return false;
  }
  if (cl.keys_file && !fs::is_regular_file(*cl.keys_file, ec)) {
    error = "option --keys: no keyboard script file \"" + core::Printable(*cl.keys_file) + "\"";
    return false;
  }
  if (cl.state_file) {
    const fs::path state(*cl.state_file);
    const fs::path folder = state.has_parent_path() ? state.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec) || fs::is_directory(state, ec)) {
      error = "option --state: cannot write \"" + core::Printable(*cl.state_file) + "\" (no such folder)";
      return false;
    }
  }
  if (cl.report_file) {
    const fs::path report(*cl.report_file);
    const fs::path folder = report.has_parent_path() ? report.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec) || fs::is_directory(report, ec)) {
      error = "option --report: cannot write \"" + core::Printable(*cl.report_file) + "\" (no such folder)";
      return false;
    }
  }
  return true;
}

}  // namespace tw::app
