// The autoplayer plays whole games through the keyboard's intents: never
// both directions at once, no key pressed faster than a hand can, and it
// gets somewhere in both modes.
#include "../world/world_fixture.h"

#include "input/autoplayer.h"
#include "world/level_scroll.h"

namespace tw::testing {
namespace {

using Autoplayer = WorldTest;

TEST_F(Autoplayer, PlaysThroughIntentsAtHumanRates) {
  for (bool story : {true, false}) {
    SCOPED_TRACE(story ? "story" : "arcade");
    CopyInstalledTuning(dir_);
    config::GameOptions.GameMode_Story = story;
    core::SeedRandom(3);
    bool read = true;
    world::StartNewGame(read);
    input::ResetAutoplayer();
    int lastJump = -100, lastBomb = -100, jumps = 0, frame = 0;
    for (; frame < 6000 && !core::GameOver; ++frame) {
      input::ReadControls();  // fires a bomb asked for in the previous frame
      input::Autoplay();
      const auto& c = core::Controls;
      ASSERT_FALSE(c.MoveLeft && c.MoveRight) << "frame " << frame;
      if (c.JumpRequest) {
        EXPECT_GE(frame - lastJump, input::kAutoplayPressGap) << "frame " << frame;
        lastJump = frame;
        ++jumps;
      }
      if (c.BombRequest) {
        EXPECT_GE(frame - lastBomb, input::kAutoplayPressGap) << "frame " << frame;
        lastBomb = frame;
      }
      world::UpdatePlayer();
      world::UpdateTiles();
      world::LowerDrills();
      world::ScoreStep("");
      world::TrackLevelAndScroll();
      world::UpdateBonuses();
    }
    EXPECT_GT(jumps, 5);
    // Lasting 20 seconds means it found its way down past the drills.
    EXPECT_GT(frame, 1000);
    EXPECT_GT(world::Player.Y, 40 * 32);
  }
}

}  // namespace
}  // namespace tw::testing
