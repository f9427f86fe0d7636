// Recording and playback in-process: the file a scripted game writes, the
// start state and key changes read back, damaged files, unwritable folders.
#include <sstream>

#include "../world/world_fixture.h"
#include "config/ini_store.h"
#include "frontend/end_of_game.h"
#include "app/game_frame.h"
#include "replay/replay.h"

namespace tw::testing {
namespace {

class Replay : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    for (auto& e : config::HighScores) e.Score = 100000;  // no game asks for a name
  }

  void NewGame(bool record, bool playback, const std::string& file = "") {
    replay::ReplayRecord = record;
    core::ReplayPlayback = playback;
    replay::ReplayFile = file;
    replay::ReplayFrame = 0;
    world::EndFade = 0;  // the previous game's fade has run out
    replay::PrepareNewGame();
    // A slow walk: 100 frames of Left do not reach the wall.
    StartGame(false, WithValues(BasicTuning(), {{"WalkSpeed", "50"}}));
  }

  static void Frame() { app::GameFrame(); }

  std::string Text(const std::string& name) const {
    std::stringstream s;
    s << std::ifstream(dir_ / name).rdbuf();
    return s.str();
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
};

TEST_F(Replay, ScriptedRecordingsWriteTheirKeysInOrderAndReplaceEachOther) {
  using namespace core::key;
  struct Case {
    std::vector<std::pair<int, int>> held;  // key, from frame (held for `frames` frames)
    int frames;
    std::vector<std::string> present, absent;
  };
  const std::vector<Case> cases = {
      // Left held for 100 frames: its press and its release, nothing between.
      {{{Left, 5}}, 100, {"keyleft_5=True", "keyleft_105=False"}, {"keyup_"}},
      // A jump and a bomb: "True" in the frame they act, "False" at the release.
      {{{Up, 10}, {Space, 20}}, 3, {"keyup_10=True", "keyup_13=False", "keydown_20=True", "keydown_23=False"},
       {"keyleft_"}},
      // No key at all: no "ingame" section (and nothing left of the game before).
      {{}, 0, {}, {"[ingame]", "keydown_"}},
  };
  for (const Case& c : cases) {
    NewGame(true, false);
    for (int f = 0; f < 130; ++f) {
      for (const auto& [code, from] : c.held) core::KeyState[code] = f >= from && f < from + c.frames ? 128 : 0;
      if (f == 129) Press(Escape);  // given up in the last frame
      Frame();
    }
    core::KeyState.fill(0);
    EXPECT_FALSE(replay::ReplayRecord);
    const std::string text = Text("replay.ini");
    for (const auto& p : c.present) EXPECT_NE(text.find(p + "\r\n"), std::string::npos) << p;
    for (const auto& a : c.absent) EXPECT_EQ(text.find(a), std::string::npos) << a;
    // No key change but these: every "_" is in a cell, bonus or key-change key.
    EXPECT_EQ(Count(text, "_"), Count(text, "\nY") + 7 * Count(text, "_type=") + int(c.present.size()));
    // Sections in their order; the closing values and this program's keys once each.
    EXPECT_EQ(text.find("[Map]\r\nmapsizey="), 0u);
    EXPECT_LT(text.find("\n[Bonus]\r\n"), std::min(text.find("\n[ingame]"), text.find("\n[options]\r\nseed=")));
    EXPECT_TRUE(c.present.empty() || text.find("\n[ingame]") < text.find("\n[options]"));
    for (const char* key : {"seed=", "mode=arcade", "endframe=129", "lastframe=130", "lastscreeny="}) {
      EXPECT_EQ(Count(text, "\n" + std::string(key)), 1) << key;
    }
    // The same bytes as writing the keys one by one through the INI store
    // (each section cut short: key by key, the map's thousands take minutes).
    std::istringstream lines(text);
    std::string line, section, expected;
    const std::string path = (dir_ / "rebuilt.ini").string();
    std::filesystem::remove(path);
    for (int kept = 0; std::getline(lines, line);) {
      line.pop_back();  // the '\r'
      if (line.front() == '[') {
        section = line.substr(1, line.size() - 2);
        kept = 0;
        continue;
      }
      if (++kept > 10) continue;
      config::WriteIni(section, line.substr(0, line.find('=')), line.substr(line.find('=') + 1), path);
      expected += (kept == 1 ? "[" + section + "]\r\n" : "") + line + "\r\n";
    }
    EXPECT_EQ(Text("rebuilt.ini"), expected);
  }
}

TEST_F(Replay, LoadingTheStartStateKeepsTheRowsBelowTheLastScreen) {
  // Cell keys match as the INI store matches them: in any letter case, but
  // "Y01" is not "Y1".
  std::ofstream(dir_ / "hand.ini") << "[Map]\r\nmapsizey=60\r\nY0_X1=3\r\nY2_X14=55\r\ny1_x2=4\r\nY01_X3=9\r\n"
                                      "Y1_X15=5\r\n[Bonus]\r\n1_type=pie\r\n"
                                      "1_x=64\r\n1_y=96\r\n1_selectionalpha=70\r\n2_type=ghost\r\n2_x=32\r\n2_y=32\r\n"
                                      "[options]\r\nlastscreeny=5\r\nlastframe=10\r\n";
  NewGame(false, true, "hand.ini");
  const world::TileGridLayers generated = world::TileGrid;
  replay::ReplayStep();
  EXPECT_EQ(config::MapHeight, 60.0f);
  for (std::size_t x = 0; x <= 20; ++x) {
    for (std::size_t y = 0; y <= 40; ++y) {
      const bool from_file = y <= 5 && x <= 14;
      const Integer expected = (x == 1 && y == 0) ? 3 : (x == 14 && y == 2) ? 55 : (x == 2 && y == 1) ? 4 : 0;
      EXPECT_EQ(world::TileGrid.Tile[x][y], from_file ? expected : generated.Tile[x][y]) << x << "," << y;
      EXPECT_TRUE(!from_file || world::TileGrid.Touched[x][y]);  // a file without a seed: nothing scores
    }
  }
  ASSERT_GE(world::Bonuses.size(), 3u);
  EXPECT_TRUE(world::Bonuses[1].Active && world::Bonuses[1].Type == "pie" && world::Bonuses[1].X == 64.0f);
  EXPECT_EQ(world::Bonuses[1].SelectionAlpha, 70);
  for (std::size_t i = 2; i < world::Bonuses.size(); ++i) EXPECT_FALSE(world::Bonuses[i].Active) << i;
}

TEST_F(Replay, PlaybackFeedsTheKeysAndEndsWhereTheRecordingEnded) {
  // With the end frame the game ends there; without it, after "lastframe".
  for (const auto& [end, over_at] : {std::pair{"endframe=12\r\n", 12}, std::pair{"", 31}}) {
    std::ofstream(dir_ / "keys.ini") << "[ingame]\r\nkeyleft_5=True\r\nkeyup_7=True\r\nkeydown_8=True\r\n"
                                        "keyleft_9=False\r\n[options]\r\nlastscreeny=15\r\nlastframe=30\r\n"
                                     << end;
    NewGame(false, true, "keys.ini");
    const Single bombs = world::Bombs;
    int f = 0;
    for (; f < 40 && !core::GameOver; ++f) {
      core::Controls.JumpRequest = false;
      replay::ReplayStep();
      if (core::GameOver) break;
      EXPECT_EQ(core::Controls.MoveLeft, f >= 5 && f <= 8) << f;
      EXPECT_EQ(core::Controls.JumpRequest, f == 7) << f;
      EXPECT_EQ(world::Bombs, f >= 8 ? bombs - 1 : bombs) << f;  // the bomb goes off in its own frame
      core::Controls.MoveLeft = false;  // as the player update would
    }
    EXPECT_EQ(f, over_at);
  }
}

TEST_F(Replay, DamagedFilesPlayAsFarAsTheyMakeSenseAndEnd) {
  std::string many = "[ingame]\n";
  for (int i = 0; i < 20000; ++i) many += "keyright_" + std::to_string(i) + (i % 2 ? "=False\n" : "=True\n");
  for (const std::string& file : {
           std::string(), std::string("\0\xff\xfe[Map\n=\n==\n[]\nY0_X0\x01=9\n\r\r[options\nlastframe=\xff", 40),
           std::string("[Map]\nmapsizey=-5\nY0_X0=abc\nY1_X1=99999\nY2_X2=-3\nY3_X3=2.5e9\n[options]\n"
                       "lastscreeny=99999999\nlastframe=5\n"),
           std::string("[Map]\nmapsizey=1e30\n[Bonus]\n1_type=ghost\n2_type=bomb\n2_x=1e30\n2_y=5\n3_type=pie\n"
                       "3_x=nan\n3_y=40\n4_type=boot\n4_x=40\n4_y=40\n4_points=1e300\n4_selectionalpha=-7\n"
                       "99999_type=bomb\n[options]\nlastframe=abc\nlastscreeny=-7\nseed=-1\nmode=sideways\n"),
           many + "[options]\nlastscreeny=-7\nlastframe=50\n"}) {
    std::ofstream(dir_ / "bad.ini", std::ios::binary) << file;
    NewGame(false, true, "bad.ini");
    const Single height = config::MapHeight;
    for (int f = 0; f < 100 && !core::GameOver; ++f) Frame();
    EXPECT_TRUE(core::GameOver) << file.substr(0, 20);
    EXPECT_EQ(config::MapHeight, height);  // nonsense sizes are not taken
    EXPECT_FALSE(config::GameOptions.GameMode_Story);
    for (const auto& column : world::TileGrid.Tile) {
      for (Integer v : column) ASSERT_TRUE(v >= 0 && v <= 62) << v;
    }
    for (const world::Bonus& b : world::Bonuses) {
      EXPECT_TRUE(!b.Active || (b.X >= 0 && b.X < 672 && b.Y >= 0 && b.Y < 160032 && b.Points <= 1e6f));
      EXPECT_GE(b.SelectionAlpha, 0);
    }
  }
}

TEST_F(Replay, AnUnwritableFolderPlaysOnAndSaysSoOnceAndAShutDownKeepsWhatThereIs) {
  std::ofstream(dir_ / "plain") << "a file, not a folder";
  ::testing::internal::CaptureStderr();
  // Neither the application folder nor the user's data folder can be made.
  ::setenv("XDG_DATA_HOME", (dir_ / "plain" / "data").c_str(), 1);
  platform::SetAppDir((dir_ / "plain" / "sub").string());
  NewGame(true, false);
  for (int f = 0; f < 20; ++f) Frame();
  replay::ShutDown();
  replay::ShutDown();
  platform::SetAppDir(dir_.string());
  EXPECT_EQ(Count(::testing::internal::GetCapturedStderr(), "will not be saved"), 1);
  EXPECT_EQ(replay::ReplayFrame, 20.0f);  // the game went on

  // Shut down half-way, a recording keeps what it had, its length included,
  // and plays to the frame it stopped at.
  NewGame(true, false);
  for (int f = 0; f < 12; ++f) {
    core::KeyState[core::key::Left] = f >= 3 && f < 9 ? 128 : 0;
    Frame();
  }
  replay::ShutDown();
  EXPECT_NE(Text("replay.ini").find("lastframe=12\r\n"), std::string::npos);
  NewGame(false, true, "replay.ini");
  int f = 0;
  for (; !core::GameOver && f < 50; ++f) replay::ReplayStep();
  EXPECT_EQ(f, 14);  // over in frame 13, the one after the last it recorded (as a wound-up recording)
}

}  // namespace
}  // namespace tw::testing
