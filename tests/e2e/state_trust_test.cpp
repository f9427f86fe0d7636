// State a player can trust, through the real binary: saves that fail are told
// and kept, files that cannot be read are left alone, one reset per game,
// cut-short recordings keep their length, and no shared temporary folders.
// Failures are injected under the file layer by a preloaded library
// (tests/shim/fail_io.cpp).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <tuple>

#include "test_support.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::JsonValue;

constexpr const char* kReadOptions =
    "[main]\r\nDetails_High=True\r\nGameMode_Story=True\r\nSound_On=True\r\nFULL_SCREEN=False\r\n"
    "ArcadeLocked=True\r\nStoryReaden=True\r\n";

// A story table of ten entries below zero: a game given up at once (score 0)
// tops it.
std::string LowTable() {
  std::string t = "[hs]\r\n";
  for (int i = 0; i < 10; ++i) t += std::to_string(i) + "s=" + std::to_string(-1 - i) + "\r\n" + std::to_string(i) + "n=OLD" + std::to_string(i) + "\r\n";
  return t;
}

// The environment that preloads the failure injector with `settings`.
std::vector<std::string> Injected(std::vector<std::string> settings) {
  settings.push_back(std::string("LD_PRELOAD=") + TW_FAIL_IO_SHIM);
  // A sanitizer build: the injector comes before the sanitizer's runtime.
  const char* asan = std::getenv("ASAN_OPTIONS");
  settings.push_back(std::string("ASAN_OPTIONS=") + (asan != nullptr ? std::string(asan) + ":" : "") +
                     "verify_asan_link_order=0");
  return settings;
}

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct Game : test::GameRun {
  Game() { test::WriteText(data.File("textures/options.bmp"), kReadOptions); }
  std::string Scores() const { return data.File("textures/dot_black2.bmp"); }

  void Run(std::vector<std::string> args, const std::string& keys, std::vector<std::string> env = {}) {
    args.insert(args.begin(), {"--seed", "5"});
    Start(std::move(args), keys.empty() ? "\n" : keys, std::move(env));
    ASSERT_TRUE(report) << result.err;
  }
};

// A story game started at once and given up at frame 5 (Escape, still held,
// also confirms the name): wound up, with its score entered in the table.
constexpr const char* kGiveUp = "5 Escape down\n9 Escape up\n";

TEST(FailedSaves, AFullDiskIsToldOnStderrAndOnScreenAndWhatIsLostGivesANonZeroExit) {
  Game g;
  test::WriteText(g.Scores(), LowTable());
  g.Run({"--start", "story", "--frames", "120"}, kGiveUp, Injected({"TW_FAIL_WRITE=dot_black2.bmp"}));
  // The table in memory has the game ...
  EXPECT_EQ(g.R()["high_scores"][0]["name"].string, "BOLO");
  EXPECT_EQ(g.R()["played_games"].number, 1);
  // ... the file has not, and everybody was told.
  EXPECT_EQ(test::ReadText(g.Scores()), LowTable());
  EXPECT_EQ(CountOf(g.result.err, "cannot save the high scores to " + g.Scores() + ": No space left on device"), 1)
      << g.result.err;
  EXPECT_EQ(CountOf(g.result.err, "lost: the high scores could not be saved to " + g.Scores()), 1) << g.result.err;
  EXPECT_EQ(g.result.exit_code, 3);
  EXPECT_EQ(g.R()["saves"]["unsaved_files"].number, 1);
  EXPECT_EQ(g.R()["saves"]["notice"].string, "The high scores not saved!");
  EXPECT_GT(g.R()["saves"]["notice_frames_left"].number, 0);
  // Nothing torn, no temporaries left.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(g.data.File("textures"))) ++entries;
  test::TempDir fresh;
  test::LinkAppData(fresh.path);
  int linked = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(fresh.File("textures"))) ++linked;
  EXPECT_EQ(entries, linked + 2);  // options and the story table
}

TEST(FailedSaves, TheSettingsStoreAndTheReplayAreToldToo) {
  Game g;
  g.Run({"--start", "story", "--record", "--frames", "120"}, kGiveUp,
        Injected({"TW_FAIL_WRITE=.ini"}));  // settings.ini and replay.ini
  EXPECT_EQ(CountOf(g.result.err, "cannot save the settings to " + g.config.File("tumblewell/settings.ini")), 1)
      << g.result.err;
  EXPECT_EQ(CountOf(g.result.err, "cannot save the replay recording to " + g.data.File("replay.ini")), 1)
      << g.result.err;
  EXPECT_EQ(CountOf(g.result.err, "lost:"), 2) << g.result.err;
  EXPECT_EQ(g.result.exit_code, 3);
}

TEST(UnreadableFiles, AHighScoreFileThatCannotBeOpenedIsLeftAsItIs) {
  Game g;
  test::WriteText(g.Scores(), LowTable());
  // Opening the game's own table fails (as for a file of another user with
  // mode 0600); the copy in the user data folder is used instead.
  g.Run({"--start", "story", "--frames", "120"}, kGiveUp,
        Injected({"TW_FAIL_OPEN=" + g.Scores(), "XDG_DATA_HOME=" + g.config.File("share")}));
  EXPECT_EQ(g.result.exit_code, 0) << g.result.err;
  EXPECT_EQ(test::ReadText(g.Scores()), LowTable());
  EXPECT_EQ(CountOf(g.result.err, "cannot read " + g.Scores()), 1) << g.result.err;
  const std::string mine = g.config.File("share/tumblewell/textures/dot_black2.bmp");
  EXPECT_NE(test::ReadText(mine).find("0n=BOLO"), std::string::npos) << g.result.err;
}

TEST(UnreadableFiles, OptionsThatFailToReadStartFromDefaultsAndAreNotSavedOver) {
  Game g;
  const std::string options = std::string(kReadOptions) + "Integer_Scale=True\r\n";
  test::WriteText(g.data.File("textures/options.bmp"), options);
  // An I/O error while reading; without a user data folder to fall back on
  // (XDG_DATA_HOME unset, HOME a folder that cannot be written) nothing is saved.
  const std::string home = g.config.File("home");
  fs::create_directories(home);
  test::WriteText(home + "/.local", "a file, not a folder");
  // With the defaults the story shows; paging through it marks it read,
  // which saves the options.
  g.Run({"--frames", "60"}, "5 Return down\n7 Return up\n",
        Injected({"TW_FAIL_READ=" + g.data.File("textures/options.bmp"), "HOME=" + home}));
  EXPECT_EQ(g.result.exit_code, 0) << g.result.err;
  EXPECT_EQ(g.R()["menu"]["screen"].string, "story2");
  EXPECT_TRUE(g.R()["options"]["story_readen"].boolean);
  EXPECT_EQ(test::ReadText(g.data.File("textures/options.bmp")), options);
  EXPECT_EQ(CountOf(g.result.err, "cannot read " + g.data.File("textures/options.bmp")), 1) << g.result.err;
}

TEST(UnreadableFiles, ASettingsStoreThatIsAFolderIsWarnedOfOnceAndLeftAlone) {
  Game g;
  fs::create_directories(g.config.File("tumblewell/settings.ini/inner"));
  g.Run({"--start", "story", "--frames", "120"}, kGiveUp);
  EXPECT_EQ(g.result.exit_code, 0) << g.result.err;
  EXPECT_EQ(CountOf(g.result.err, "cannot read " + g.config.File("tumblewell/settings.ini")), 1) << g.result.err;
  EXPECT_TRUE(fs::is_directory(g.config.File("tumblewell/settings.ini/inner")));
}

// From the main menu: Return starts a game whose first frame is 25; Escape
// and P go down together at frame 40.
std::string EscapeAndP(const std::string& later = "") {
  return "5 Return down\n7 Return up\n40 Escape down\n40 P down\n42 Escape up\n42 P up\n" + later;
}

TEST(OneResetPerGame, EscapeWinsOverPInTheSameFrame) {
  Game g;
  g.Run({"--frames", "200"}, EscapeAndP());
  EXPECT_EQ(std::tuple(g.R()["mode"].string, g.R()["menu"]["screen"].string, g.R()["menu"]["item"].number),
            std::tuple("menu", "", 1.0));  // back on the main menu with New Game selected
  EXPECT_EQ(g.R()["played_games"].number, 1);  // the wind-up ran
  EXPECT_TRUE(g.R()["replay"]["game_ended"].boolean);
  // The next game starts unpaused.
  g.Run({"--frames", "260"}, EscapeAndP("200 Return down\n202 Return up\n"));
  EXPECT_EQ(g.R()["mode"].string, "playing");
}

TEST(OneResetPerGame, EscapeAndPWithRecordingOnWriteTheFirstGameAndRecordNoMore) {
  Game g;
  g.Run({"--record", "--frames", "260"}, EscapeAndP("200 Return down\n202 Return up\n"));
  EXPECT_EQ(g.R()["mode"].string, "playing");
  EXPECT_FALSE(g.R()["replay"]["record"].boolean);  // the recording lasted one game
  const std::string replay = test::ReadText(g.data.File("replay.ini"));
  EXPECT_NE(replay.find("endframe="), std::string::npos) << replay;
  EXPECT_NE(replay.find("lastframe="), std::string::npos) << replay;
}

TEST(NoSharedFolders, AnEmptyEnvironmentSavesNoPerUserFile) {
  Game g;
  test::WriteText(g.Scores(), LowTable());
  struct stat before {};
  const bool existed = ::lstat("/tmp/tumblewell", &before) == 0;
  const std::string settings = "/tmp/tumblewell/settings.ini";
  const std::string old_settings = test::ReadText(settings);
  test::WriteText(g.config.File("keys.txt"), kGiveUp);
  const test::RunResult r = test::RunGame(
      {"--data", g.data.path, "--headless", "--fast", "--start", "story", "--keys", g.config.File("keys.txt"),
       "--frames", "120"},
      {"-i", "SDL_AUDIODRIVER=dummy"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(CountOf(r.err, "neither HOME nor the XDG folders are set"), 1) << r.err;
  if (!existed) {
    EXPECT_FALSE(fs::exists("/tmp/tumblewell"));
  } else {
    EXPECT_EQ(test::ReadText(settings), old_settings);
  }
  // The portable game's own files are still saved where they always were.
  EXPECT_NE(test::ReadText(g.Scores()).find("0n=BOLO"), std::string::npos);
}

}  // namespace
}  // namespace tw
