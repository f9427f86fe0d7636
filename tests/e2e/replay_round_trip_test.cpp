// Replays with the real binary: a game recorded under a keyboard script is
// played back under another seed, with the other mode saved in the options,
// and ends the same way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_support.h"

namespace tw {
namespace {

using test::JsonValue;

struct Case {
  std::string mode;
  int seed;
  int give_up;       // the frame Escape is pressed (the game may end earlier)
  bool pause;        // a pause of 100 frames, with keys pressed during it
  bool name_entry;   // every score qualifies, the creature is left to die, a name is typed
};

// Walks right and left in turns, jumps now and then, drops a bomb twice;
// then gives up, or types a name from frame `name_at`.
std::string KeyScript(const Case& c, int name_at = -1) {
  std::ostringstream s;
  for (int t = 0; t + 60 < c.give_up; t += 80) {
    const char* dir = (t / 80 + c.seed) % 2 ? "Right" : "Left";
    s << t << " " << dir << " down\n" << t + 35 + c.seed << " " << dir << " up\n";
    s << t + 50 << " Up down\n" << t + 53 << " Up up\n";
  }
  s << 333 << " Space down\n" << 336 << " Space up\n" << 777 << " Down down\n" << 779 << " Down up\n";
  if (c.pause) s << "61 P down\n63 P up\n80 Left down\n120 Left up\n161 P down\n163 P up\n";
  if (!c.name_entry) {
    s << c.give_up << " Escape down\n" << c.give_up + 1 << " Escape up\n";
    return s.str();
  }
  // Giving up would confirm the name at once (Escape confirms it), so the game
  // runs until the creature is lost.
  if (name_at >= 0) s << name_at << " A down\n" << name_at + 2 << " A up\n" << name_at + 40 << " Return down\n";
  return s.str();
}

void SaveMode(const std::string& data, bool story) {
  test::WriteText(data + "/textures/options.bmp", std::string("[main]\r\nGameMode_Story=") +
                                                      (story ? "True" : "False") +
                                                      "\r\nArcadeLocked=False\r\nStoryReaden=True\r\n");
}

TEST(ReplayRoundTrip, RecordedGamesPlayBackTheSameUnderAnotherSeedAndMode) {
  std::vector<Case> cases;
  for (const char* mode : {"story", "arcade"}) {
    // Seed 5 plays on until the creature is lost and types a name.
    for (int seed = 1; seed <= 5; ++seed) {
      cases.push_back({mode, seed, seed == 5 ? 4000 : 900 + 150 * seed, seed % 2 == 0, seed == 5});
    }
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode + " seed " + std::to_string(c.seed));
    test::GameRun run;
    const test::TempDir& data = run.data;
    const bool story = c.mode == "story";
    SaveMode(data.path, story);
    // A table every score enters, or one no score reaches.
    std::string table = "[hs]\r\n";
    for (int i = 0; i < 10; ++i) {
      table += std::to_string(i) + "n=X\r\n" + std::to_string(i) + "s=" + (c.name_entry ? "1" : "30000") + "\r\n";
    }
    test::WriteText(data.File(story ? "textures/dot_black2.bmp" : "textures/dot_white2.bmp"), table);
    std::string frames = std::to_string(c.give_up + 300);
    std::string keys = KeyScript(c);
    if (c.name_entry) {
      // A first run finds the frame the creature is lost in; the recording
      // types the name after it.
      ASSERT_TRUE(run.Start({"--start", c.mode, "--seed", std::to_string(c.seed), "--frames", std::to_string(c.give_up)},
                            KeyScript(c)));
      ASSERT_TRUE(run.R()["replay"]["game_ended"].boolean) << "the creature outlived the script";
      const int lost = static_cast<int>(run.R()["replay"]["end_frame"].number);
      keys = KeyScript(c, lost + 30);
      frames = std::to_string(lost + 400);
    }
    ASSERT_TRUE(run.Start({"--start", c.mode, "--record", "--seed", std::to_string(c.seed), "--frames", frames}, keys))
        << run.result.err;
    const JsonValue ar = run.R();
    ASSERT_EQ(ar["mode"].string, "menu") << "the recorded game was not wound up";
    const std::string recorded = test::ReadText(data.File("replay.ini"));
    EXPECT_NE(recorded.find("\r\nmode=" + c.mode + "\r\n"), std::string::npos);
    if (c.name_entry) {  // the wind-up waited for the name
      EXPECT_NE(ar["high_scores"][0]["name"].string.find('A'), std::string::npos);
      EXPECT_GT(ar["replay"]["frame"].number, ar["replay"]["end_frame"].number + 20);
    }

    SaveMode(data.path, !story);  // the other mode is the saved one now
    ASSERT_TRUE(run.Start({"--play", data.File("replay.ini"), "--seed", "999", "--frames", frames})) << run.result.err;
    const JsonValue br = run.R();
    EXPECT_EQ(br["mode"].string, "menu");
    EXPECT_EQ(br["options"]["game_mode_story"].boolean, !story);  // the saved mode is left alone
    const JsonValue &ga = ar["game"], &gb = br["game"], &ra = ar["replay"], &rb = br["replay"];
    EXPECT_TRUE(ra["game_ended"].boolean && rb["game_ended"].boolean);
    EXPECT_EQ(ra["end_frame"].number, rb["end_frame"].number);
    EXPECT_EQ(ra["end_score"].number, rb["end_score"].number);
    EXPECT_EQ(ga["player"]["x"].number, gb["player"]["x"].number);
    EXPECT_EQ(ga["player"]["y"].number, gb["player"]["y"].number);
    EXPECT_EQ(ga["level"].number, gb["level"].number);
    EXPECT_EQ(ga["bombs"].number, gb["bombs"].number);
    EXPECT_GT(ra["end_score"].number, 0);

    if (c.seed != 3) continue;
    // Without this program's keys the file plays as such files always have:
    // in the saved mode, to its last frame, and it ends.
    std::string plain;
    std::istringstream lines(recorded);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("seed=", 0) != 0 && line.rfind("mode=", 0) != 0 && line.rfind("endframe=", 0) != 0) {
        plain += line + "\n";
      }
    }
    test::WriteText(data.File("plain.ini"), plain);
    SaveMode(data.path, story);
    ASSERT_TRUE(run.Start({"--play", data.File("plain.ini"), "--frames", frames})) << run.result.err;
    EXPECT_EQ(run.R()["mode"].string, "menu");
    EXPECT_TRUE(run.R()["replay"]["game_ended"].boolean);
    EXPECT_LE(run.R()["replay"]["end_frame"].number, ra["end_frame"].number + 300);
  }
}

}  // namespace
}  // namespace tw
