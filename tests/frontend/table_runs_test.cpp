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
  // A game walked right for `walk` frames, then given up (Escape also confirms
  // the name) with `score` in place of its own when given. The entry's score.
  static Long Play(const std::string& name, int walk, std::optional<Single> score = std::nullopt) {
    replay::ReplayFrame = 0;
    world::EndFade = 0;
    world::LastName = name;
    frontend::StartGame();
    for (int f = 0; f <= walk + 1; ++f) {
      f < walk ? Press(core::key::Right) : Release(core::key::Right);
      if (f == walk + 1 && score) world::Score = *score;
      if (f == walk + 1) Press(core::key::Escape);
      app::GameFrame();
    }
    Release(core::key::Escape);
    for (const config::HighScoreEntry& e : config::HighScores) {
      if (e.Name == name) return e.Score;
    }
    ADD_FAILURE() << name << " did not enter the table";
    return 0;
  }
};

TEST_F(TableRuns, AnEntryKeepsItsRunWhichPlaysBackToItsScoreAndLeavesWithIt) {
  // A table from before runs were kept: nothing to pick.
  for (std::size_t i = 0; i < 10; ++i) config::HighScores[i] = config::HighScoreEntry{"OLD", -10 - static_cast<Long>(i), ""};
  config::SaveHighScores();
  frontend::MenuScreen = "hs";
  Tap(core::key::Down);
  EXPECT_EQ(frontend::TableRow, -1);

  const Long score = Play("FIRST", 120);
  const std::string run = config::HighScores[0].Run;
  ASSERT_EQ(config::HighScores[0].Name, "FIRST");
  ASSERT_FALSE(run.empty());
  EXPECT_TRUE(Contains("textures/runs_story.ini", "0r=" + run));
  config::LoadHighScores();
  EXPECT_EQ(config::HighScores[0].Run, run);

  // Picked and watched: it ends with the entry's score, back on the table.
  ASSERT_EQ(frontend::MenuScreen, "hs");
  Tap(core::key::Down);
  Tap(core::key::Return);
  ASSERT_TRUE(core::ReplayPlayback && frontend::NewGamePending && frontend::WatchingTableRun);
  frontend::NewGamePending = false;
  replay::ReplayFrame = 0;
  frontend::StartGame();
  for (int f = 0; f < 1000 && core::ReplayPlayback; ++f) app::GameFrame();
  EXPECT_TRUE(replay::Status().game_ended);
  EXPECT_EQ(num::CLng(static_cast<double>(replay::Status().end_score)), score);
  EXPECT_EQ(frontend::MenuScreen, "hs");

  // It moves down with its entry and leaves with it; nothing else is left
  // in the folder (no replay.ini: the games were recorded in memory only).
  for (int k = 1; k <= 10; ++k) {
    Play("NEXT" + std::to_string(k), 3, static_cast<Single>(1000 + k));
    if (k == 1) {
      EXPECT_EQ(config::HighScores[1].Run, run);
    }
  }
  for (const config::HighScoreEntry& e : config::HighScores) EXPECT_NE(e.Name, "FIRST");
  EXPECT_FALSE(Contains("textures/runs_story.ini", run));
  std::set<std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir_)) {
    if (e.is_regular_file() && e.path().filename() != "settings.ini") files.insert(e.path().filename().string());
  }
  EXPECT_EQ(files, (std::set<std::string>{"lvl1.bmp", "lvl2.bmp", "dot_black2.bmp", "runs_story.ini"}));
}

}  // namespace
}  // namespace tw::testing
