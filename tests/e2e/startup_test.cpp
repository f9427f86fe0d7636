// The real binary, driven through its command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

#include <unistd.h>

#include "test_support.h"

namespace tw {
namespace {

using test::JsonValue;

using test::GameRun;

TEST(Startup, FirstHeadlessRunCreatesOptionsAndScoresAndReports) {
  GameRun run(false);
  ASSERT_TRUE(run.Start({"--frames", "50"})) << run.result.err;
  const JsonValue& r = run.R();
  EXPECT_EQ(r["frames"].number, 50);
  EXPECT_EQ(r["mode"].string, "menu");
  const std::map<std::string, bool> defaults = {{"details_high", true}, {"game_mode_story", true}, {"sound_on", true},
                                                {"full_screen", false}, {"arcade_locked", true}, {"story_readen", false}};
  for (const auto& [name, value] : defaults) EXPECT_EQ(r["options"][name].boolean, value) << name;
  // The built-in story table, 2500 down to 250.
  ASSERT_EQ(r["high_scores"].object.size(), 10u);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(r["high_scores"][i]["name"].string, "BOLO");
    EXPECT_EQ(r["high_scores"][i]["score"].number, 2500 - 250 * static_cast<double>(i));
  }
  // The options and the table are written to their files.
  const std::string options = test::ReadText(run.data.File("textures/options.bmp"));
  for (const char* line : {"Details_High=True", "FULL_SCREEN=False", "ArcadeLocked=True", "StoryReaden=False"})
    EXPECT_NE(options.find(line), std::string::npos) << line;
  EXPECT_EQ(test::ReadText(run.data.File("textures/dot_black2.bmp")).rfind("[hs]\r\n0s=2500\r\n0n=BOLO\r\n1s=2250\r\n", 0), 0u);
  // Only the story table exists until arcade mode is chosen.
  EXPECT_FALSE(std::filesystem::exists(run.data.File("textures/dot_white2.bmp")));
  // Without a sound device nothing but at most one line reaches stderr.
  EXPECT_LE(std::count(run.result.err.begin(), run.result.err.end(), '\n'), 1);
}

TEST(Startup, SavedOptionsAndScoresAreUsed) {
  GameRun run(false);
  test::WriteText(run.data.File("Textures/Options.bmp"),
                  "[main]\r\nDetails_High=False\r\nGameMode_Story=False\r\nSound_On=False\r\n"
                  "FULL_SCREEN=True\r\nArcadeLocked=False\r\nStoryReaden=True\r\n");
  test::WriteText(run.data.File("Textures/dot_white2.bmp"), "[hs]\n0s=40000\n0n=CHAMP\n");
  ASSERT_TRUE(run.Start({"--frames", "3"})) << run.result.err;
  const JsonValue& r = run.R();
  const JsonValue& o = r["options"];
  EXPECT_EQ(std::tuple(o["details_high"].boolean, o["game_mode_story"].boolean, o["full_screen"].boolean,
                       o["full_screen_choice"].boolean, o["story_readen"].boolean),
            std::tuple(false, false, true, true, true));
  // The arcade table: the saved entry, then the built-in ones (2000 down to 200) from the second on.
  EXPECT_EQ(std::tuple(r["high_scores"][0]["name"].string, r["high_scores"][0]["score"].number), std::tuple("CHAMP", 40000.0));
  EXPECT_EQ(std::tuple(r["high_scores"][1]["score"].number, r["high_scores"][9]["score"].number), std::tuple(1800.0, 200.0));
  // The damaged table was rewritten whole, in place (the existing file's spelling kept).
  EXPECT_NE(test::ReadText(run.data.File("Textures/dot_white2.bmp")).find("9n=BOLO"), std::string::npos);
}

TEST(Startup, ATableWithANegativeScoreGetsNoPhantomEntry) {
  // Valid file content: nothing may be inserted above the last entry.
  GameRun run(false);
  std::string table = "[hs]\n9s=-5\n9n=P9\n";
  for (const std::string n : {"0", "1", "2", "3", "4", "5", "6", "7", "8"}) table += n + "s=9" + n + "\n" + n + "n=P" + n + "\n";
  test::WriteText(run.data.File("textures/dot_black2.bmp"), table);
  ASSERT_TRUE(run.Start({"--frames", "3"})) << run.result.err;
  EXPECT_EQ(run.R()["high_scores"][8]["name"].string, "P8");
  EXPECT_EQ(run.R()["high_scores"][9]["name"].string, "P9");
  EXPECT_EQ(run.R()["high_scores"][9]["score"].number, -5);
}

TEST(Startup, AStartRemovesTheTemporariesOfAKilledRunOnly) {
  // Ours of a dead process go; a running process's and look-alikes stay.
  GameRun run(false);
  const std::string dead = "999999999", alive = std::to_string(::getpid());
  const std::pair<std::string, bool> files[] = {{run.data.File("textures/options.bmp.tmp" + dead + "_4"), false},
                                                {run.data.File("replay.ini.tmp" + dead + "_0"), false},
                                                {run.config.File("tumblewell/settings.ini.tmp" + dead + "_2"), false},
                                                {run.data.File("textures/dot_black2.bmp.tmp" + alive + "_0"), true},
                                                {run.data.File("notes.tmp7"), true}};
  for (const auto& [path, stays] : files) test::WriteText(path, "partial");
  ASSERT_TRUE(run.Start({"--frames", "3"})) << run.result.err;
  for (const auto& [path, stays] : files) EXPECT_EQ(std::filesystem::exists(path), stays) << path;
}

TEST(Startup, StartOptionEntersAGameWithoutSavingTheMode) {
  GameRun run(false);
  ASSERT_TRUE(run.Start({"--frames", "10", "--start", "arcade", "--seed", "5"})) << run.result.err;
  EXPECT_NE(run.R()["mode"].string, "menu");
  EXPECT_FALSE(run.R()["options"]["game_mode_story"].boolean);
  EXPECT_EQ(run.R()["high_scores"][0]["score"].number, 2000);
  EXPECT_NE(test::ReadText(run.data.File("textures/options.bmp")).find("GameMode_Story=True"), std::string::npos);
}

TEST(Startup, OffscreenRunDrawsAndStops) {
  GameRun run(false);
  ASSERT_TRUE(run.Start({"--offscreen", "--frames", "20"})) << run.result.err;
  EXPECT_EQ(run.R()["frames"].number, 20);
}

TEST(Startup, AStartWithNothingChangedWritesNoFile) {
  GameRun run(false);
  const std::vector<std::string> args{"--offscreen", "--frames", "5"};
  ASSERT_TRUE(run.Start(args)) << run.result.err;
  // Every file the first start left (options, score table, settings), with
  // its modification time.
  namespace fs = std::filesystem;
  std::vector<std::pair<std::string, fs::file_time_type>> files;
  for (const std::string& dir : {run.data.path, run.config.path}) {
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
      if (e.is_regular_file() && e.path().filename() != "report.json") {
        files.emplace_back(e.path().string(), e.last_write_time());
      }
    }
  }
  ASSERT_GE(files.size(), 3u);
  ASSERT_TRUE(run.Start(args)) << run.result.err;
  for (const auto& [path, time] : files) EXPECT_EQ(fs::last_write_time(path), time) << path;
}

TEST(CommandLineErrors, BadArgumentsExitWithTwoAndOneLine) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--frames", "x"}, {"--nonsense"}, {"--keys", "/no/such/file"},
                                            {"--play", "/no/such/file"}, {"--play"}, {"--record", "--play", "x"}}) {
    const test::RunResult r = test::RunGame(args);
    EXPECT_EQ(r.exit_code, 2) << args[0];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("tumblewell"), std::string::npos);
  }
  test::TempDir dir;
  test::WriteText(dir.File("bad.keys"), "10 Return pressed\n");
  const test::RunResult r = test::RunGame({"--headless", "--keys", dir.File("bad.keys")});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("line 1"), std::string::npos);
}

TEST(CommandLineErrors, MissingFoldersAndWrongFilesExitWithTwoAndCreateNothing) {
  test::TempDir dir;
  const std::string missing = dir.File("missing");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--data", missing},
           {"--data", dir.path, "--keys", dir.path},
           {"--data", dir.path, "--report", missing + "/report.json"},
           {"--data", dir.path, "--report", dir.path},
           {"--start", "arc\x1b[2Jade\x07"}}) {
    std::vector<std::string> full = {"--frames", "1"};
    full.insert(full.end(), args.begin(), args.end());
    const test::RunResult r = test::RunGame(full, {"XDG_CONFIG_HOME=" + dir.path});
    EXPECT_EQ(r.exit_code, 2) << args.back();
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    // Bad bytes are shown escaped, never passed to the terminal.
    EXPECT_TRUE(std::none_of(r.err.begin(), r.err.end(), [](char c) { return c == '\x1b' || c == '\x07'; }))
        << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path)) << args.back();
  }
  EXPECT_NE(test::RunGame({"--start", "arc\x1b[2Jade"}).err.find("arc\\x1b[2Jade"), std::string::npos);
}

TEST(CommandLineErrors, HelpAndVersion) {
  const test::RunResult help = test::RunGame({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--headless"), std::string::npos);
  const test::RunResult version = test::RunGame({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out.rfind("tumblewell ", 0), 0u);
}

}  // namespace
}  // namespace tw
