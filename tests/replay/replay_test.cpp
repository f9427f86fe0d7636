// Recording and playback in-process: the file a scripted game writes, the
// start state and key changes read back, and damaged files.
#include <sstream>

#include "../world/world_fixture.h"
#include "config/ini_store.h"
#include "frontend/end_of_game.h"
#include "replay/replay.h"

namespace tw::testing {
namespace {

struct KeyEvent {
  int frame;
  int code;
  bool down;
};

class Replay : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    replay::ReplayRecord = false;
    replay::ReplayFile.clear();
    for (auto& e : config::HighScores) e.Score = 100000;  // no game asks for a name
  }

  void NewGame(bool record, bool playback, const std::string& file = "") {
    replay::ReplayRecord = record;
    world::ReplayPlayback = playback;
    replay::ReplayFile = file;
    replay::ReplayFrame = 0;
    core::GameOver = false;
    world::EndFade = 0;  // the previous game's fade has run out
    replay::PrepareNewGame();
    // A slow walk: 100 frames of Left do not reach the wall.
    StartGame(false, WithValues(BasicTuning(), {{"WalkSpeed", "50"}}));
  }

  // One unpaused game frame's steps that matter here, in the main loop's order.
  static void Frame() {
    if (!core::GameOver) input::ReadControls();
    replay::ReplayStep();
    world::UpdatePlayer();
    frontend::EndOfGameCheck();
  }

  // Records a game of `frames` frames with the keys of `script`, given up at the end.
  void Record(const std::vector<KeyEvent>& script, int frames) {
    NewGame(true, false);
    for (int f = 0; f < frames; ++f) {
      for (const KeyEvent& e : script) {
        if (e.frame == f) core::KeyState[static_cast<std::size_t>(e.code)] = e.down ? core::kKeyDown : 0;
      }
      if (f == frames - 1) Press(core::key::Escape);
      Frame();
    }
    core::KeyState.fill(0);
  }

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
    std::vector<KeyEvent> script;
    std::vector<std::string> present, absent;
  };
  const std::vector<Case> cases = {
      // Left held for 100 frames: its press and its release, nothing between.
      {{{5, Left, true}, {105, Left, false}}, {"keyleft_5=True", "keyleft_105=False"}, {"keyup_"}},
      // A jump and a bomb: "True" in the frame they act, "False" at the release.
      {{{10, Up, true}, {11, Up, false}, {20, Space, true}, {23, Space, false}},
       {"keyup_10=True", "keyup_11=False", "keydown_20=True", "keydown_23=False"},
       {"keyleft_"}},
      // No key at all: no "ingame" section (and nothing of the game before).
      {{}, {"[options]"}, {"[ingame]", "keydown_"}},
  };
  for (const Case& c : cases) {
    Record(c.script, 130);
    EXPECT_FALSE(replay::ReplayRecord);
    const std::string text = Text("replay.ini");
    for (const auto& p : c.present) EXPECT_NE(text.find(p + "\r\n"), std::string::npos) << p;
    for (const auto& a : c.absent) EXPECT_EQ(text.find(a), std::string::npos) << a;
    EXPECT_EQ(Count(text, "keyleft_"), c.present[0].rfind("keyleft", 0) == 0 ? 2 : 0);
    // Sections in their order; the closing values and this program's keys once each.
    const auto map = text.find("[Map]\r\nmapsizey="), bonus = text.find("\r\n[Bonus]\r\n");
    const auto options = text.find("\r\n[options]\r\nseed=");
    ASSERT_EQ(map, 0u);
    EXPECT_LT(bonus, options);
    if (const auto ingame = text.find("[ingame]"); ingame != std::string::npos) {
      EXPECT_LT(bonus, ingame);
      EXPECT_LT(ingame, options);
    }
    for (const char* key : {"seed=", "mode=arcade", "endframe=129", "lastframe=130", "lastscreeny="}) {
      EXPECT_EQ(Count(text, "\n" + std::string(key)), 1) << key;
    }
    // The same bytes as writing the keys one by one through the INI store
    // (each section cut short: key by key, the map's thousands take minutes).
    std::istringstream lines(text);
    std::string line, section, expected;
    const std::string path = (dir_ / "rebuilt.ini").string();
    std::filesystem::remove(path);
    int kept = 0;
    while (std::getline(lines, line)) {
      line.pop_back();  // the '\r'
      if (line.front() == '[') {
        section = line.substr(1, line.size() - 2);
        kept = 0;
      } else if (++kept <= 10) {
        const auto eq = line.find('=');
        config::WriteIni(section, line.substr(0, eq), line.substr(eq + 1), path);
      } else {
        continue;
      }
      expected += line + "\r\n";
    }
    EXPECT_EQ(Text("rebuilt.ini"), expected);
  }
}

TEST_F(Replay, LoadingTheStartStateKeepsTheRowsBelowTheLastScreen) {
  const std::string file = "[Map]\r\nmapsizey=60\r\nY0_X1=3\r\nY2_X14=55\r\n[Bonus]\r\n1_type=pie\r\n1_x=64\r\n1_y=96\r\n"
               "1_points=25\r\n1_selectionalpha=70\r\n2_type=ghost\r\n2_x=32\r\n2_y=32\r\n[options]\r\n"
               "lastscreeny=5\r\nlastframe=10\r\n";
  std::ofstream(dir_ / "hand.ini") << file;
  NewGame(false, true, "hand.ini");
  const world::TileGridLayers generated = world::TileGrid;
  replay::ReplayStep();
  EXPECT_EQ(config::MapHeight, 60.0f);
  for (int x = 0; x <= 20; ++x) {
    for (int y = 0; y <= 40; ++y) {
      const Integer expected = (x == 1 && y == 0) ? 3 : (x == 14 && y == 2) ? 55 : 0;
      const auto cx = static_cast<std::size_t>(x), cy = static_cast<std::size_t>(y);
      if (y <= 5 && x <= 14) {
        EXPECT_EQ(world::TileGrid.Tile[cx][cy], expected) << x << "," << y;
        EXPECT_TRUE(world::TileGrid.Touched[cx][cy]);
      } else {
        EXPECT_EQ(world::TileGrid.Tile[cx][cy], generated.Tile[cx][cy]) << x << "," << y;
      }
    }
  }
  ASSERT_GE(world::Bonuses.size(), 3u);
  EXPECT_TRUE(world::Bonuses[1].Active);
  EXPECT_EQ(world::Bonuses[1].Type, "pie");
  EXPECT_EQ(world::Bonuses[1].X, 64.0f);
  EXPECT_EQ(world::Bonuses[1].SelectionAlpha, 70);
  EXPECT_FALSE(world::Bonuses[2].Active);  // a type the game does not know
  for (std::size_t i = 3; i < world::Bonuses.size(); ++i) EXPECT_FALSE(world::Bonuses[i].Active) << i;
}

TEST_F(Replay, PlaybackFeedsTheKeysAndEndsWhereTheRecordingEnded) {
  const std::string keys = "[ingame]\r\nkeyleft_5=True\r\nkeyup_7=True\r\nkeydown_8=True\r\nkeyleft_9=False\r\n";
  // With the end frame the game ends there; without it, after "lastframe".
  for (const auto& [options, over_at] : {std::pair{std::string("lastframe=30\r\nendframe=12\r\n"), 12},
                                         std::pair{std::string("lastframe=30\r\n"), 31}}) {
    std::ofstream(dir_ / "keys.ini") << keys << "[options]\r\nlastscreeny=15\r\n" << options;
    NewGame(false, true, "keys.ini");
    const Single bombs = world::Bombs;
    int ended = -1;
    for (int f = 0; f < 40 && ended < 0; ++f) {
      core::Controls.JumpRequest = false;
      replay::ReplayStep();
      if (core::GameOver) ended = f;
      if (f < over_at) {
        EXPECT_EQ(core::Controls.MoveLeft, f >= 5 && f <= 8) << f;
        EXPECT_EQ(core::Controls.JumpRequest, f == 7) << f;
        EXPECT_EQ(world::Bombs, f >= 8 ? bombs - 1 : bombs) << f;  // the bomb goes off in its own frame
      }
      core::Controls.MoveLeft = false;  // as the player update would
    }
    EXPECT_EQ(ended, over_at);
  }
}

TEST_F(Replay, DamagedFilesPlayAsFarAsTheyMakeSenseAndEnd) {
  std::string many = "[ingame]\n";
  for (int i = 0; i < 20000; ++i) many += "keyright_" + std::to_string(i) + (i % 2 ? "=False\n" : "=True\n");
  const std::vector<std::string> files = {
      "",
      std::string("\0\xff\xfe[Map\n=\n==\n[]\nY0_X0\x01=9\n\r\r[options\nlastframe=\xff", 40),
      "[Map]\nmapsizey=-5\nY0_X0=abc\nY1_X1=99999\nY2_X2=-3\nY3_X3=2.5e9\n[options]\nlastscreeny=99999999\n"
      "lastframe=5\n",
      "[Map]\nmapsizey=1e30\n[Bonus]\n1_type=ghost\n2_type=bomb\n2_x=1e30\n2_y=5\n3_type=pie\n3_x=nan\n3_y=40\n"
      "4_type=boot\n4_x=40\n4_y=40\n4_points=1e300\n4_selectionalpha=-7\n99999_type=bomb\n[options]\n"
      "lastframe=abc\nlastscreeny=-7\nseed=-1\nmode=sideways\nendframe=nan\n",
      many + "[options]\nlastscreeny=-7\nlastframe=50\n",
  };
  for (std::size_t n = 0; n < files.size(); ++n) {
    std::ofstream(dir_ / "bad.ini", std::ios::binary) << files[n];
    NewGame(false, true, "bad.ini");
    const Single height = config::MapHeight;
    for (int f = 0; f < 100 && !core::GameOver; ++f) Frame();
    EXPECT_TRUE(core::GameOver) << n;
    EXPECT_EQ(config::MapHeight, height) << n;  // nonsense sizes are not taken
    EXPECT_FALSE(config::GameOptions.GameMode_Story) << n;
    for (const auto& column : world::TileGrid.Tile) {
      for (Integer v : column) ASSERT_TRUE(v >= 0 && v <= 62) << n << ": " << v;
    }
    for (const world::Bonus& b : world::Bonuses) {
      if (!b.Active) continue;
      EXPECT_TRUE(b.X >= 0 && b.X < 672 && b.Y >= 0 && b.Y < 160032) << n;
      EXPECT_TRUE(b.Points <= 1e6f && b.SelectionAlpha >= 0) << n;
    }
  }
}

TEST_F(Replay, AnUnwritableFolderPlaysOnAndSaysSoOnce) {
  std::ofstream(dir_ / "plain") << "a file, not a folder";
  ::testing::internal::CaptureStderr();
  platform::SetAppDir((dir_ / "plain" / "sub").string());
  NewGame(true, false);
  for (int f = 0; f < 20; ++f) Frame();
  replay::ShutDown();  // the orderly shut-down writes what there is: it cannot
  platform::SetAppDir(dir_.string());
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Count(err, "not recorded"), 1) << err;
  EXPECT_EQ(replay::ReplayFrame, 20.0f);  // the game went on

  // Shut down half-way, a recording keeps what it had and plays to its last key.
  NewGame(true, false);
  for (int f = 0; f < 12; ++f) {
    if (f == 3) Press(core::key::Left);
    if (f == 9) Release(core::key::Left);
    Frame();
  }
  replay::ShutDown();
  EXPECT_EQ(Text("replay.ini").find("lastframe"), std::string::npos);
  NewGame(false, true, "replay.ini");
  int f = 0;
  while (!core::GameOver && f < 50) {
    replay::ReplayStep();
    ++f;
  }
  EXPECT_EQ(f, 11);  // over in frame 10, the one after the last key change
}

}  // namespace
}  // namespace tw::testing
