// The per-step score, push and smash rewards, and the popup list.
#include "world_fixture.h"

#include <cmath>
#include <limits>
#include <tuple>

namespace tw::testing {
namespace {

using Scoring = WorldTest;

TEST_F(Scoring, StepSumsInArcadeAndStoryMode) {
  for (bool story : {false, true}) {
    StartGame(story);
    // Standing on the starting ledge earns nothing: staying alive counts
    // only once the shaft scrolls.
    for (int i = 0; i < 3000; ++i) world::ScoreStep("");
    EXPECT_FLOAT_EQ(world::Score, 0.0f) << story;
    core::ScrollY = -1.0f;
    core::CurrentLevel = 1;
    // Staying alive: each step adds the whole total reached so far.
    for (int i = 0; i < 3; ++i) world::ScoreStep("");
    EXPECT_NEAR(world::Score, 0.02f + 0.04f + 0.06f, 1e-6) << story;
    // At the bottom the view stands still (the end zone does not scroll):
    // waiting there earns nothing more, until the view would move again.
    core::CurrentLevel = 11;
    ASSERT_EQ(config::Levels[11].ScreenSpeed, 0.0f);
    const Single atBottom = world::Score;
    for (int i = 0; i < 500; ++i) world::ScoreStep("");
    EXPECT_FLOAT_EQ(world::Score, atBottom) << story;
    core::CurrentLevel = 1;
    world::ScoreStep("");
    EXPECT_NEAR(world::Score - atBottom, 0.08f, 1e-5) << story;
    // Falling (and rising, negatively): Falling_Speed x VelocityY x 0.02, arcade mode only.
    world::Player.Airborne = true;
    world::Player.VelocityY = -2.0f;
    const Single rising = world::Score;
    world::ScoreStep("");
    EXPECT_NEAR(world::Score - rising, 0.10f + (story ? 0.0f : -0.4f), 1e-5) << story;
  }
  // Push and smash rewards add only their points; nothing once the game is over.
  StartGame(false);
  world::ScoreStep("brick_push");
  world::ScoreStep("brick_smash");
  core::GameOver = true;
  world::ScoreStep("brick_smash");
  world::ScoreStep("");
  EXPECT_EQ(std::tuple(world::Score, world::StayAliveTotal), std::tuple(15.0f, 0.0f));
}

TEST_F(Scoring, PointsNearTheFloatLimitStopAtTheLargestFiniteScore) {
  // Found by sweeping tuning values: Staying_Alive=3.4e38 made the score an
  // infinity within a dozen steps; opposite huge rewards could make it NaN.
  constexpr Single kMax = std::numeric_limits<Single>::max();
  for (const auto& [alive, push, limit] : {std::tuple{"3.4e38", "0", kMax}, std::tuple{"-3.4e38", "0", -kMax},
                                           std::tuple{"3.4e38", "-3.4e38", 0.0f}}) {
    StartGame(false, WithValues(BasicTuning(), {{"Staying_Alive", alive}, {"Hit_PushTile", push}}));
    core::ScrollY = -1.0f;  // staying alive counts once the shaft scrolls
    for (int i = 0; i < 100; ++i) {
      world::ScoreStep("brick_push");
      world::ScoreStep("");
      ASSERT_TRUE(std::isfinite(world::Score)) << alive << " " << push << " step " << i;
    }
    if (limit != 0.0f) {
      EXPECT_EQ(world::Score, limit) << alive;
    }
  }
}

TEST_F(Scoring, PopupsStartOnlyFromTheFirstLevelAndTheListIsBounded) {
  StartGame(false);
  core::CurrentLevel = 0;
  world::ShowScorePopup(100, 200, "5");
  for (const auto& p : world::ScorePopups) EXPECT_FALSE(p.Active);

  core::CurrentLevel = 1;
  for (int i = 0; i < 21; ++i) world::ShowScorePopup(100.7f, 200.2f + static_cast<Single>(i), std::to_string(i));
  EXPECT_FALSE(world::ScorePopups[0].Active);
  for (int i = 1; i <= 20; ++i) {  // the 21st was dropped
    EXPECT_EQ(std::tuple(world::ScorePopups[i].Active, world::ScorePopups[i].Text), std::tuple(true, std::to_string(i - 1)));
  }
  EXPECT_EQ(std::tuple(world::ScorePopups[1].X, world::ScorePopups[1].Y), std::tuple(100.0f, 200.0f));
  for (int frame = 0; frame < 50; ++frame) world::UpdateScorePopups();
  for (int i = 1; i <= 20; ++i) EXPECT_FALSE(world::ScorePopups[i].Active);
  EXPECT_FLOAT_EQ(world::ScorePopups[1].Y, 100.0f);  // 2 pixels up per frame
}

TEST_F(Scoring, PointsAreShownInTheirShortestForm) {
  for (const auto& [points, text] : {std::pair{5.0f, "5"}, {2.5f, "2.5"}, {0.1f, "0.1"}, {-3.0f, "-3"}, {1500000.0f, "1500000"}})
    EXPECT_EQ(world::PointsText(points), text);
}

}  // namespace
}  // namespace tw::testing
