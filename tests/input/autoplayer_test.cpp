// The autoplayers play whole games through the keyboard's intents. The human
// one keeps a person's limits: never both directions at once, at least
// kHumanPressGap frames between any two new presses (a bomb counted when it
// goes off), every walk key held at least kHumanHoldFrames, and decisions
// taken from what the screen showed kHumanReactionFrames ago, never from what
// lies below it.
#include "../world/world_fixture.h"

#include "app/game_frame.h"
#include "input/autoplayer.h"
#include "world/level_scroll.h"

namespace tw::testing {
namespace {

using Autoplayer = WorldTest;

// What the hands did in one frame, as the world sees it.
struct Hands {
  bool left = false, right = false, jump = false, bomb = false;
  bool operator==(const Hands&) const = default;
};

// The game both tests play: one the players get well into with the shipped
// tuning (a retuning may need another).
constexpr int kSeed = 3;

// Plays up to `frames` frames of a game from `seed`; `meddle` (if given)
// changes the world before the frame it is called with. Returns the hands of every frame.
std::vector<Hands> Play(input::AutoplayStyle style, bool story, int seed, int frames,
                        const std::function<void(int)>& meddle = {}) {
  config::GameOptions.GameMode_Story = story;
  core::SeedRandom(static_cast<std::uint64_t>(seed));
  world::StartNewGame();
  input::SetAutoplayStyle(style);
  input::ResetAutoplayer();
  static std::vector<Hands> hands;
  hands.clear();
  app::Autoplaying = true;
  app::OnIntents = [] {
    const auto& c = core::Controls;
    hands.push_back({c.MoveLeft, c.MoveRight, c.JumpRequest, c.BombRequest});
  };
  for (int frame = 0; frame < frames && !core::GameOver; ++frame) {
    if (meddle) meddle(frame);
    app::GameFrame();
  }
  app::OnIntents = nullptr;
  app::Autoplaying = false;
  return hands;
}

TEST_F(Autoplayer, BothPlayersKeepTheirLimitsAndGetSomewhere) {
  CopyInstalledTuning(dir_);
  for (auto style : {input::AutoplayStyle::Human, input::AutoplayStyle::Sharp}) {
    for (bool story : {true, false}) {
      const bool human = style == input::AutoplayStyle::Human;
      SCOPED_TRACE(std::string(human ? "human " : "sharp ") + (story ? "story" : "arcade"));
      const std::vector<Hands> hands = Play(style, story, kSeed, 6000);
      int lastPress = -1000, lastJump = -1000, jumps = 0, presses = 0, bombs = 0;
      int walkSince = 0;  // frame the walk key now held went down
      for (int f = 0; f < static_cast<int>(hands.size()); ++f) {
        const Hands& h = hands[static_cast<std::size_t>(f)];
        const Hands before = f > 0 ? hands[static_cast<std::size_t>(f - 1)] : Hands{};
        ASSERT_FALSE(h.left && h.right) << "frame " << f;
        // A walk key going down is a press; held on, it is not. A bomb asked
        // for goes off when the next frame reads the controls.
        const bool bombNow = f > 0 && before.bomb;
        const bool walkDown = (h.left && !before.left) || (h.right && !before.right);
        const bool walkUp = (before.left && !h.left) || (before.right && !h.right);
        if (human && walkUp) {
          EXPECT_GE(f - walkSince, input::kHumanHoldFrames) << "frame " << f;
        }
        if (walkDown) walkSince = f;
        bombs += bombNow ? 1 : 0;
        const bool press = h.jump || bombNow || walkDown;
        if (h.jump) {
          EXPECT_GE(f - lastJump, input::kAutoplayPressGap) << "frame " << f;
          lastJump = f;
          ++jumps;
        }
        if (press) {
          if (human) {
            EXPECT_GE(f - lastPress, input::kHumanPressGap) << "frame " << f;
          }
          lastPress = f;
          ++presses;
        }
      }
      // Nothing is decided before the first screen has been seen long enough.
      for (int f = 0; human && f <= input::kHumanReactionFrames; ++f) {
        EXPECT_EQ(hands[static_cast<std::size_t>(f)], Hands{}) << "frame " << f;
      }
      const input::AutoplayCounts counts = input::AutoplayPressCounts();
      EXPECT_GE(counts.presses, presses);  // a press the world undid at once still counts
      EXPECT_EQ(counts.left + counts.right + counts.up + counts.bomb, counts.presses);
      EXPECT_EQ(counts.bomb, bombs);
      if (human) {
        EXPECT_GE(counts.shortestGap, input::kHumanPressGap);
        EXPECT_GE(counts.shortestHold, input::kHumanHoldFrames);
      }
      EXPECT_GT(jumps, 5);
      // Lasting 20 seconds means it found its way down past the drills.
      EXPECT_GT(hands.size(), 1000u);
      EXPECT_GT(world::Player.Y, 40 * 32);
    }
  }
}

// Two games from one seed, the second one changed at frame kAt: the human
// player's hands stay the same for the reaction time (and, for a change
// below the screen, until it scrolls into view), while the sharp player
// notices the change below the screen at once.
TEST_F(Autoplayer, DecidesFromTheScreenOfAMomentAgo) {
  CopyInstalledTuning(dir_);
  constexpr int kAt = 3000;  // a minute in, past the slow first levels: a way down to plan
  struct Case {
    const char* name;
    input::AutoplayStyle style;
    std::function<void()> change;
    int sameFor;  // frames from kAt with the same hands
    bool differsLater;
  };
  // Every row from two below the screen's bottom edge down to forty rows
  // further emptied (rows on screen are left alone).
  const auto clearedBelow = [] {
    const int first = static_cast<int>(std::floor(-core::ScrollY / 32.0f)) + 17;
    for (int r = first; r < first + 40; ++r) {
      for (int c = 1; c <= 13; ++c) world::TileAt(static_cast<Single>(c), static_cast<Single>(r), world::kEmpty);
    }
  };
  // The creature carried four columns over and its bombs taken away.
  const auto moved = [] {
    world::Player.X = world::Player.X > 7 * 32 ? world::Player.X - 128 : world::Player.X + 128;
    world::Bombs = 0;
  };
  const Case cases[] = {
      {"moved, human", input::AutoplayStyle::Human, moved, input::kHumanReactionFrames, true},
      {"cleared below, human", input::AutoplayStyle::Human, clearedBelow, 40, false},
      {"cleared below, sharp", input::AutoplayStyle::Sharp, clearedBelow, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Hands> plain = Play(c.style, true, kSeed, kAt + 400);
    const std::vector<Hands> changed = Play(c.style, true, kSeed, kAt + 400, [&](int f) {
      if (f == kAt) c.change();
    });
    ASSERT_GT(plain.size(), static_cast<std::size_t>(kAt + 60));
    ASSERT_GT(changed.size(), static_cast<std::size_t>(kAt + 60));
    for (int f = 0; f < kAt + c.sameFor; ++f) {
      ASSERT_EQ(plain[static_cast<std::size_t>(f)], changed[static_cast<std::size_t>(f)]) << "frame " << f;
    }
    if (c.differsLater) {
      const std::size_t n = std::min(plain.size(), changed.size());
      bool differs = plain.size() != changed.size();
      for (std::size_t f = static_cast<std::size_t>(kAt); f < n; ++f) differs = differs || !(plain[f] == changed[f]);
      EXPECT_TRUE(differs);
    }
  }
}

}  // namespace
}  // namespace tw::testing
