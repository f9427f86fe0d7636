// Every game is recorded in memory; one that enters the high-score table keeps
// its run beside the table, and the table's screen plays it back.
#include "frontend_fixture.h"

#include <filesystem>
#include <set>

#include "app/game_frame.h"

namespace tw::testing {
namespace {

class TableRuns : public FrontendTest {
 protected:
  void SetUp() override {
    FrontendTest::SetUp();
    // A table from before runs were kept, every score below any game's.
    for (std::size_t i = 0; i < 10; ++i) config::HighScores[i] = config::HighScoreEntry{"OLD", -10 - static_cast<Long>(i), ""};
    config::SaveHighScores();
  }

  static void Frame() { app::GameFrame(); }

  // A game walked right for `walk` frames, then given up (Escape also
  // confirms the name, `name` here) with `score` in place of its own when
  // given. The score its entry took.
  static Long Play(const std::string& name, int walk, std::optional<Single> score = std::nullopt) {
    replay::ReplayFrame = 0;
    world::EndFade = 0;
    world::LastName = name;
    frontend::StartGame();
    for (int f = 0; f <= walk + 1; ++f) {
      f < walk ? Press(core::key::Right) : Release(core::key::Right);
      if (f == walk + 1) {
        if (score) world::Score = *score;
        Press(core::key::Escape);
      }
      Frame();
    }
    Release(core::key::Escape);
    EXPECT_TRUE(core::GameOver);
    for (std::size_t i = 0; i < 10; ++i) {
      if (config::HighScores[i].Name == name) return config::HighScores[i].Score;
    }
    ADD_FAILURE() << name << " did not enter the table";
    return 0;
  }
};

TEST_F(TableRuns, AnEntryKeepsItsRunWhichPlaysBackToItsScoreAndLeavesWithIt) {
  // Old entries have no run: nothing can be picked, Return goes back.
  frontend::MenuScreen = "hs";
  frontend::MenuItem = frontend::kItemBack;
  Tap(core::key::Down);
  EXPECT_EQ(frontend::TableRow, -1);

  const Long score = Play("FIRST", 120);
  ASSERT_EQ(config::HighScores[0].Name, "FIRST");
  ASSERT_FALSE(config::HighScores[0].Run.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "replay.ini"));  // recorded in memory only
  EXPECT_TRUE(Contains("textures/runs_story.ini", "0r=" + config::HighScores[0].Run));
  // Read back with the table.
  const std::string run = config::HighScores[0].Run;
  config::LoadHighScores();
  EXPECT_EQ(config::HighScores[0].Run, run);

  // Picked on the table's screen and watched: the run ends with the entry's
  // score and the screen comes back.
  ASSERT_EQ(frontend::MenuScreen, "hs");
  Tap(core::key::Down);
  EXPECT_EQ(frontend::TableRow, 0);
  Tap(core::key::Return);
  ASSERT_TRUE(core::ReplayPlayback && frontend::NewGamePending && frontend::WatchingTableRun);
  frontend::NewGamePending = false;
  replay::ReplayFrame = 0;
  frontend::StartGame();
  for (int f = 0; f < 1000 && core::ReplayPlayback; ++f) Frame();
  EXPECT_FALSE(core::ReplayPlayback);
  EXPECT_TRUE(replay::Status().game_ended);
  EXPECT_EQ(num::CLng(static_cast<double>(replay::Status().end_score)), score);
  EXPECT_EQ(frontend::MenuScreen, "hs");
  EXPECT_EQ(config::HighScores[0].Name, "FIRST");  // a watched run never enters

  // Ten better games later the entry and its run are gone, and nothing else
  // was left in the folders.
  for (int k = 1; k <= 10; ++k) {
    Play("NEXT" + std::to_string(k), 3, static_cast<Single>(1000 + k));
    if (k == 1) {
      EXPECT_EQ(config::HighScores[1].Run, run);  // moved down with its entry
    }
  }
  for (const auto& e : config::HighScores) EXPECT_NE(e.Name, "FIRST");
  EXPECT_FALSE(Contains("textures/runs_story.ini", run));
  std::set<std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir_)) {
    if (e.is_regular_file() && e.path().filename() != "settings.ini") files.insert(e.path().filename().string());
  }
  EXPECT_EQ(files, (std::set<std::string>{"lvl1.bmp", "lvl2.bmp", "dot_black2.bmp", "runs_story.ini"}));
}

}  // namespace
}  // namespace tw::testing
