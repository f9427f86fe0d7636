// Keys turned into intents, latches, pause, give-up and the test keys.
#include "world_fixture.h"

namespace tw::testing {
namespace {

using Controls = WorldTest;
namespace key = core::key;

TEST_F(Controls, HoldingUpJumpsOncePerPress) {
  EmptyShaft();
  Press(key::Up);
  input::ReadControls();
  EXPECT_TRUE(core::Controls.JumpRequest);
  core::Controls.JumpRequest = false;  // consumed by the player update
  input::ReadControls();
  input::ReadControls();
  EXPECT_FALSE(core::Controls.JumpRequest);
  Release(key::Up);
  input::ReadControls();
  Press(key::Up);
  input::ReadControls();
  EXPECT_TRUE(core::Controls.JumpRequest);
}

TEST_F(Controls, WalkingIntentsFromKeysAndMouse) {
  EmptyShaft();
  Press(key::Left);
  Press(key::Right);
  input::ReadControls();
  EXPECT_TRUE(core::Controls.MoveRight);  // tested second, so Right wins
  EXPECT_FALSE(core::Controls.MoveLeft);
  Release(key::Right);
  input::ReadControls();
  EXPECT_TRUE(core::Controls.MoveLeft);
  EXPECT_FALSE(core::Controls.MoveRight);
  Release(key::Left);

  // Both mouse buttons: a jump, no walking.
  core::Controls = core::ControlState{};
  core::MouseButton1 = core::MouseButton2 = true;
  input::ReadControls();
  EXPECT_FALSE(core::Controls.MoveLeft);
  EXPECT_FALSE(core::Controls.MoveRight);
  EXPECT_TRUE(core::Controls.JumpRequest);
  core::MouseButton2 = false;
  input::ReadControls();
  EXPECT_TRUE(core::Controls.MoveLeft);
}

TEST_F(Controls, OneBombPerPressOfSpaceOrDown) {
  EmptyShaft();
  PlaceCreature(5, 5);
  world::Bombs = 3;
  Press(key::Space);
  for (int i = 0; i < 4; ++i) input::ReadControls();
  EXPECT_FLOAT_EQ(world::Bombs, 2.0f);
  Press(key::Down);
  Release(key::Space);
  input::ReadControls();  // Down still held: the latch stays
  EXPECT_FLOAT_EQ(world::Bombs, 2.0f);
  Release(key::Down);
  input::ReadControls();
  Press(key::Down);
  input::ReadControls();
  EXPECT_FLOAT_EQ(world::Bombs, 1.0f);
  Release(key::Down);
  input::ReadControls();
  // Paused: no bomb.
  core::Paused = true;
  Press(key::Space);
  input::ReadControls();
  EXPECT_FLOAT_EQ(world::Bombs, 1.0f);
}

TEST_F(Controls, PauseAndGiveUp) {
  EmptyShaft();
  Press(key::P);
  input::ReadControls();
  input::ReadControls();
  EXPECT_TRUE(core::Paused);
  Release(key::P);
  input::ReadControls();
  Press(key::P);
  input::ReadControls();
  EXPECT_FALSE(core::Paused);
  core::Paused = true;
  Press(key::Escape);
  input::ReadControls();
  EXPECT_FALSE(core::Paused);
  EXPECT_TRUE(core::GameOver);
}

TEST_F(Controls, TestKeysNeedTheDebugWindow) {
  EmptyShaft();
  EXPECT_FALSE(core::DebugWindowVisible);  // the tuning file's value
  world::Bombs = 1;
  Press(key::B);
  input::ReadControls();
  EXPECT_FLOAT_EQ(world::Bombs, 1.0f);
  Release(key::B);
  Press(key::Tab);
  input::ReadControls();
  input::ReadControls();
  EXPECT_TRUE(core::DebugWindowVisible);
  Press(key::B);
  input::ReadControls();
  EXPECT_FLOAT_EQ(world::Bombs, 100.0f);
  Release(key::B);
  const Single weight = world::Player.Weight;
  Press(key::E);
  input::ReadControls();
  input::ReadControls();
  EXPECT_FLOAT_EQ(world::Player.Weight, weight + 1.0f);
  Press(key::G);
  input::ReadControls();
  EXPECT_TRUE(world::GlassBombPending);
  core::ScrollY = -100;
  Press(key::A);
  input::ReadControls();
  EXPECT_NEAR(core::ScrollY, -100.0f + 90.0f * 5.0f * 0.02f, 1e-4);  // level row 1's screen speed
  // Speed x 5 is rounded to a Single before the Double step time scales it;
  // this speed is one where that rounding shows in the stored ScrollY.
  Single& speed = config::Levels[static_cast<std::size_t>(core::CurrentLevel + 1)].ScreenSpeed;
  const Single tuned = speed;
  speed = 0x1.99a61ep+6f;
  core::ScrollY = -100;
  input::ReadControls();
  EXPECT_EQ(core::ScrollY, -89.7587814f);  // a Double product would give -89.7587738
  speed = tuned;
  Release(key::A);
  Press(key::R);
  input::ReadControls();
  EXPECT_FLOAT_EQ(world::Player.Y, -core::ScrollY + 96.0f);
}

TEST_F(Controls, AKeyEndsAReplayAndDoesNotSteer) {
  EmptyShaft();
  world::ReplayPlayback = true;
  Press(key::Left);
  input::ReadControls();
  EXPECT_FALSE(core::Controls.MoveLeft);
  EXPECT_TRUE(core::GameOver);
}

}  // namespace
}  // namespace tw::testing
