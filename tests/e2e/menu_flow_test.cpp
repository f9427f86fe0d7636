// The whole front end through the real binary: keyboard scripts drive the
// menu, a game and the name entry; the report and the files tell the result.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>

#include "test_support.h"

namespace tw {
namespace {

using test::JsonValue;

constexpr const char* kReadOptions =
    "[main]\r\nDetails_High=True\r\nGameMode_Story=True\r\nSound_On=True\r\nFULL_SCREEN=False\r\n"
    "ArcadeLocked=True\r\nStoryReaden=True\r\n";

// The menu driven by a keyboard script, from a private application
// directory and settings folder kept across the runs of one test.
struct MenuRun : test::GameRun {
  void WriteOptions(const std::string& text) const { test::WriteText(data.File("textures/options.bmp"), text); }
  std::string Options() const { return test::ReadText(data.File("textures/options.bmp")); }
  std::string StoryScores() const { return test::ReadText(data.File("textures/dot_black2.bmp")); }

  // Runs `frames` frames with the keyboard script `keys` ("FRAME KEY down|up" lines).
  void Run(int frames, const std::string& keys = "") {
    ASSERT_TRUE(Start({"--seed", "11", "--frames", std::to_string(frames)}, keys.empty() ? "\n" : keys)) << result.err;
  }
  std::string Screen() const { return R()["menu"]["screen"].string; }
  int Item() const { return static_cast<int>(R()["menu"]["item"].number); }
};

// Presses: each key goes down at its frame and up two frames later.
std::string Presses(const std::vector<std::pair<int, std::string>>& keys) {
  std::ostringstream s;
  for (const auto& [frame, name] : keys) s << frame << ' ' << name << " down\n" << frame + 2 << ' ' << name << " up\n";
  return s.str();
}

// Presses `name` n times from `frame` on, every four frames.
std::vector<std::pair<int, std::string>> Repeat(int frame, const std::string& name, int n) {
  std::vector<std::pair<int, std::string>> out;
  for (int i = 0; i < n; ++i) out.emplace_back(frame + 4 * i, name);
  return out;
}

// From the main menu: into Options, up to the game-mode row, and Return.
std::vector<std::pair<int, std::string>> ToggleGameMode() {
  std::vector<std::pair<int, std::string>> keys = Repeat(5, "Down", 3);
  keys.emplace_back(20, "Return");
  for (int i = 0; i < 4; ++i) keys.emplace_back(30 + 4 * i, "Up");
  keys.emplace_back(50, "Return");
  return keys;
}

TEST(MenuFlow, FirstStartShowsTheStoryAndMarksItReadOnPageTwo) {
  MenuRun run;
  run.Run(30);
  EXPECT_EQ(std::tuple(run.Screen(), run.Item(), run.R()["options"]["story_readen"].boolean),
            std::tuple("story", 10, false));
  EXPECT_NE(run.Options().find("StoryReaden=False"), std::string::npos);

  // Still unread: the next start shows it again; Next leads to page 2, which marks it read.
  run.Run(30, Presses({{5, "Return"}}));
  EXPECT_EQ(run.Screen(), "story2");
  EXPECT_TRUE(run.R()["options"]["story_readen"].boolean);
  EXPECT_NE(run.Options().find("StoryReaden=True"), std::string::npos);

  // From then on the program starts on the main menu, New Game selected.
  run.Run(5);
  EXPECT_EQ(run.Screen(), "");
  EXPECT_EQ(run.Item(), 1);
}

TEST(MenuFlow, EscapeOnTheMainMenuSelectsExitAndReturnThenQuits) {
  MenuRun run;
  run.WriteOptions(kReadOptions);
  run.Run(20, Presses({{5, "Escape"}}));
  EXPECT_EQ(std::tuple(run.Item(), run.R()["mode"].string), std::tuple(7, "menu"));
  run.Run(500, Presses({{5, "Escape"}, {10, "Return"}}));
  EXPECT_EQ(run.R()["frames"].number, 11);  // the program ends at once
}

TEST(MenuFlow, OptionTogglesAreWrittenAndTheDisplayModeWaitsForTheNextStart) {
  MenuRun run;
  run.WriteOptions(kReadOptions);
  std::vector<std::pair<int, std::string>> keys = Repeat(5, "Down", 3);  // Options
  keys.emplace_back(20, "Return");
  for (int row = 0; row < 4; ++row) {  // Sound, Details, Full screen, Game mode
    keys.emplace_back(30 + 10 * row, "Up");
    keys.emplace_back(34 + 10 * row, "Return");
  }
  keys.emplace_back(80, "Escape");
  run.Run(100, Presses(keys));
  EXPECT_EQ(std::tuple(run.Screen(), run.Item(), run.R()["options"]["full_screen_choice"].boolean),
            std::tuple("", 4, true));
  EXPECT_FALSE(run.R()["options"]["full_screen"].boolean);  // the running mode is unchanged
  // Arcade is still locked: the game mode stays.
  for (const char* line : {"Sound_On=False", "Details_High=False", "FULL_SCREEN=True", "GameMode_Story=True"})
    EXPECT_NE(run.Options().find(line), std::string::npos) << line << " in " << run.Options();
  EXPECT_FALSE(std::filesystem::exists(run.data.File("textures/dot_white2.bmp")));

  // Unlocked, the same key switches to arcade mode and its own table.
  std::string unlocked = kReadOptions;
  unlocked.replace(unlocked.find("ArcadeLocked=True"), 17, "ArcadeLocked=False");
  run.WriteOptions(unlocked);
  run.Run(60, Presses(ToggleGameMode()));
  EXPECT_EQ(run.Screen(), "options");
  EXPECT_EQ(run.Item(), 15);
  EXPECT_FALSE(run.R()["options"]["game_mode_story"].boolean);
  EXPECT_EQ(run.R()["high_scores"][0]["score"].number, 2000);
  EXPECT_NE(run.Options().find("GameMode_Story=False"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(run.data.File("textures/dot_white2.bmp")));
}

// Return on New Game at frame 5: the game's first frame is 25.
constexpr int kFirstGameFrame = 25;

// The story tuning file with some lines replaced ("Key=value" each).
std::string StoryTuning(const std::map<std::string, std::string>& replace) {
  std::istringstream in(test::ReadText(std::string(TW_SOURCE_DIR) + "/data/tuning_story.ini"));
  std::ostringstream out;
  for (std::string line; std::getline(in, line);) {
    const std::string key = line.substr(0, line.find('='));
    if (auto it = replace.find(key); it != replace.end()) line = key + "=" + it->second;
    if (auto it = replace.find("*_LevelSize"); it != replace.end() && key.find("_LevelSize") != std::string::npos) {
      line = key + "=" + it->second;
    }
    out << line << "\n";
  }
  return out.str();
}

void UseTuning(const MenuRun& run, const std::string& text) {
  std::filesystem::remove(run.data.File("textures/lvl1.bmp"));
  test::WriteText(run.data.File("textures/lvl1.bmp"), text);
}

// The creature starts low and fast drills reach it about 25 frames into the
// game: a game that ends by itself, so the name entry really waits.
std::string DrillTuning(const std::string& staying_alive) {
  // The scroll is pinned too: the drills' last step lands at a known frame.
  return StoryTuning({{"Position_Tile_Y", "13"},
                      {"Level-01_ScreenSpeed", "10"},
                      {"Starting_Position_Y", "300"},
                      {"Speed_of_Lowering", "100"},
                      {"Staying_Alive", staying_alive}});
}

// A story table with scores `low` in its lower half.
std::string Table(int low) {
  std::string t = "[hs]\r\n0s=9000\r\n0n=AL\r\n1s=8000\r\n1n=BO\r\n2s=7000\r\n2n=CY\r\n3s=6000\r\n"
                  "3n=DI\r\n4s=5000\r\n4n=ED\r\n";
  for (int i = 5; i < 10; ++i) t += std::to_string(i) + "s=" + std::to_string(low) + "\r\n" + std::to_string(i) + "n=ZED\r\n";
  return t;
}

TEST(MenuFlow, AQualifyingGamesTypedNameLandsInTheTable) {
  MenuRun run;
  run.WriteOptions(kReadOptions);
  UseTuning(run, DrillTuning("50"));
  test::WriteText(run.data.File("textures/dot_black2.bmp"), Table(0));
  const int t = kFirstGameFrame + 60;  // the game is over and waits for the name
  run.Run(t, Presses({{5, "Return"}}));
  ASSERT_EQ(run.R()["mode"].string, "game_over");
  EXPECT_EQ(run.R()["menu"]["screen"].string, "");

  run.Run(t + 150, Presses({{5, "Return"}, {t, "A"}, {t + 4, "N"}, {t + 8, "N"}, {t + 12, "Backspace"},
                            {t + 16, "N"}, {t + 20, "A"}, {t + 30, "Return"}}));
  const JsonValue& r = run.R();
  const double score = r["last_game_score"].number;
  ASSERT_GT(score, 0);
  const JsonValue& table = r["high_scores"];
  EXPECT_EQ(std::tuple(r["typed_name"].string, table[5]["name"].string, table[5]["score"].number),
            std::tuple("ANNA", "ANNA", score));
  EXPECT_EQ(std::tuple(table[4]["name"].string, table[6]["name"].string), std::tuple("ED", "ZED"));
  for (const std::string& line : std::vector<std::string>{"5n=ANNA", "9n=ZED", "5s=" + std::to_string(static_cast<int>(score))})
    EXPECT_NE(run.StoryScores().find(line), std::string::npos) << line << " in " << run.StoryScores();
  EXPECT_EQ(r["played_games"].number, 1);
  // The game has handed back to the high-score table.
  EXPECT_EQ(std::tuple(r["mode"].string, run.Screen(), run.Item()), std::tuple("menu", "hs", 10));
}

TEST(MenuFlow, AScoreEqualToTheTenthGoesThroughNameEntryAndLeavesTheTable) {
  MenuRun run;
  run.WriteOptions(kReadOptions);
  UseTuning(run, DrillTuning("0"));
  const int t = kFirstGameFrame + 60;
  // The same seeded game twice: first to learn its score, then against a
  // table whose tenth entry has exactly that score.
  run.Run(t, Presses({{5, "Return"}}));
  ASSERT_EQ(run.R()["mode"].string, "game_over");
  const int score = static_cast<int>(run.R()["game"]["score"].number);
  ASSERT_EQ(run.R()["game"]["score"].number, score);
  // The drills slid down over the canvas (the last step of 5 ends past 480).
  EXPECT_GE(run.R()["game"]["drill_y"].number, 480);
  EXPECT_LT(run.R()["game"]["drill_y"].number, 485);
  test::WriteText(run.data.File("textures/dot_black2.bmp"), Table(score));
  const std::string before = run.StoryScores();

  run.Run(t + 100, Presses({{5, "Return"}, {t, "X"}, {t + 10, "Return"}}));
  EXPECT_EQ(run.R()["game"]["score"].number, score);
  EXPECT_EQ(run.R()["typed_name"].string, "X");
  EXPECT_EQ(std::tuple(run.R()["mode"].string, run.Screen(), run.Item()), std::tuple("menu", "", 1));
  EXPECT_EQ(run.StoryScores(), before);
  EXPECT_EQ(run.R()["high_scores"][9]["name"].string, "ZED");
}

TEST(MenuFlow, AWonStoryGameUnlocksArcadeMode) {
  MenuRun run;
  run.WriteOptions(kReadOptions);
  // A shaft of ten one-row levels, with the creature starting below its end.
  UseTuning(run, StoryTuning({{"Position_Tile_Y", "13"}, {"*_LevelSize", "1"}}));

  run.Run(150, Presses({{5, "Return"}}));
  EXPECT_EQ(std::tuple(run.R()["mode"].string, run.Screen(), run.Item()), std::tuple("menu", "won", 10));
  EXPECT_FALSE(run.R()["options"]["arcade_locked"].boolean);
  EXPECT_NE(run.Options().find("ArcadeLocked=False"), std::string::npos);

  // Next start: arcade mode may be chosen now.
  run.Run(60, Presses(ToggleGameMode()));
  EXPECT_FALSE(run.R()["options"]["game_mode_story"].boolean);
}

}  // namespace
}  // namespace tw
