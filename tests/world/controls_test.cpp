// Keys turned into intents, latches, pause, give-up and the test keys.
#include "world_fixture.h"

#include <tuple>

namespace tw::testing {
namespace {

namespace key = core::key;

class Controls : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    EmptyShaft();
  }
  // `times` reads of the controls with `code` held down.
  static void Hold(int code, int times = 1) {
    Press(code);
    for (int i = 0; i < times; ++i) world::ApplyCommands(input::ReadControls());
  }
};

TEST_F(Controls, WalkingIntentsFromKeysAndMouse) {
  Press(key::Left);
  Press(key::Right);
  world::ApplyCommands(input::ReadControls());
  // Right is tested second, so it wins.
  EXPECT_EQ(std::tuple(core::Controls.MoveLeft, core::Controls.MoveRight), std::tuple(false, true));
  Release(key::Right);
  world::ApplyCommands(input::ReadControls());
  EXPECT_EQ(std::tuple(core::Controls.MoveLeft, core::Controls.MoveRight), std::tuple(true, false));
  Release(key::Left);

  // Both mouse buttons: a jump, no walking.
  core::Controls = core::ControlState{};
  core::MouseButton1 = core::MouseButton2 = true;
  world::ApplyCommands(input::ReadControls());
  const auto& c = core::Controls;
  EXPECT_EQ(std::tuple(c.MoveLeft, c.MoveRight, c.JumpRequest), std::tuple(false, false, true));
  core::MouseButton2 = false;
  world::ApplyCommands(input::ReadControls());
  EXPECT_TRUE(core::Controls.MoveLeft);
}

TEST_F(Controls, OneBombPerPressOfSpaceOrDown) {
  PlaceCreature(5, 5);
  world::Bombs = 3;
  Hold(key::Space, 4);
  EXPECT_FLOAT_EQ(world::Bombs, 2.0f);
  Press(key::Down);
  Release(key::Space);
  world::ApplyCommands(input::ReadControls());  // Down still held: the latch stays
  EXPECT_FLOAT_EQ(world::Bombs, 2.0f);
  Release(key::Down);
  world::ApplyCommands(input::ReadControls());
  Hold(key::Down);
  EXPECT_FLOAT_EQ(world::Bombs, 1.0f);
  Release(key::Down);
  world::ApplyCommands(input::ReadControls());
  core::Paused = true;  // paused: no bomb
  Hold(key::Space);
  EXPECT_FLOAT_EQ(world::Bombs, 1.0f);
}

TEST_F(Controls, PauseGiveUpAndTheEndOfAReplay) {
  Hold(key::P, 2);  // held: one toggle
  EXPECT_TRUE(core::Paused);
  Release(key::P);
  world::ApplyCommands(input::ReadControls());
  Hold(key::P);
  EXPECT_FALSE(core::Paused);
  core::Paused = true;
  Hold(key::Escape);
  EXPECT_EQ(std::tuple(core::Paused, core::GameOver), std::tuple(false, true));
  // During a replay any key ends it and does not steer.
  core::GameOver = false;
  core::ReplayPlayback = true;
  Press(key::Left);
  world::ApplyCommands(input::ReadControls());
  EXPECT_EQ(std::tuple(core::Controls.MoveLeft, core::GameOver), std::tuple(false, true));
}

TEST_F(Controls, TestKeysNeedTheDebugWindow) {
  EXPECT_FALSE(core::DebugWindowVisible);  // the tuning file's value
  world::Bombs = 1;
  Hold(key::B);
  EXPECT_FLOAT_EQ(world::Bombs, 1.0f);
  Release(key::B);
  Hold(key::Tab, 2);
  EXPECT_TRUE(core::DebugWindowVisible);
  Hold(key::B);
  EXPECT_FLOAT_EQ(world::Bombs, 100.0f);
  Release(key::B);
  // A scrolls ahead at five times the next level's speed, Z back at ten times.
  const Single speed = config::Levels[static_cast<std::size_t>(core::CurrentLevel + 1)].ScreenSpeed;
  ASSERT_GT(speed, 0.0f);
  core::ScrollY = -100;
  Hold(key::A);
  Release(key::A);
  EXPECT_FLOAT_EQ(core::ScrollY, -100.0f + speed * 5.0f * 0.02f);
  Hold(key::Z);
  EXPECT_FLOAT_EQ(core::ScrollY, -100.0f - speed * 5.0f * 0.02f);
}

}  // namespace
}  // namespace tw::testing
