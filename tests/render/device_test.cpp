#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "render/device.h"
#include "render/device_hooks.h"

namespace tw::render {
namespace {

// Starts the graphics with display attempts that succeed as `results` says;
// records the attempts and the message boxes.
struct FakeDisplay {
  std::vector<bool> results;
  std::vector<platform::VideoConfig> attempts;
  std::vector<std::string> messages;

  bool Start(bool full_screen) {
    platform::SetVideoBackend(platform::VideoBackend::Headless);
    SetDeviceHooks({[this](const platform::VideoConfig& c) {
                      attempts.push_back(c);
                      return attempts.size() <= results.size() && results[attempts.size() - 1];
                    },
                    [this](const char* text) { messages.emplace_back(text); }});
    Display = DisplaySettings{};
    Display.FullScreen = full_screen;
    return InitGraphics();
  }
};

TEST(InitGraphicsTest, FullScreenFailureFallsBackToAWindowAfterOneMessage) {
  FakeDisplay display{{false, true}, {}, {}};
  EXPECT_TRUE(display.Start(true));
  ASSERT_EQ(display.attempts.size(), 2u);
  EXPECT_TRUE(display.attempts[0].full_screen);
  EXPECT_FALSE(display.attempts[1].full_screen);
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(display.messages[0], "DirectX Error, trying windowed mode!");
  const auto& a = display.attempts[1];
  EXPECT_EQ(std::tuple(a.canvas_width, a.canvas_height, a.window_width, a.window_height), std::tuple(640, 480, 800, 600));

  FakeDisplay neither{{false, false}, {}, {}};
  EXPECT_FALSE(neither.Start(true));
  EXPECT_EQ(std::tuple(neither.attempts.size(), neither.messages.size()), std::tuple(2u, 1u));

  FakeDisplay windowed{{true}, {}, {}};  // a windowed start needs one attempt and no message
  EXPECT_TRUE(windowed.Start(false));
  ASSERT_EQ(windowed.attempts.size(), 1u);
  EXPECT_FALSE(windowed.attempts[0].full_screen);
  EXPECT_TRUE(windowed.messages.empty());
}

}  // namespace
}  // namespace tw::render
