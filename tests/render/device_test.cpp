#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/device.h"
#include "render/device_hooks.h"

namespace tw::render {
namespace {

struct FakeDisplay {
  std::vector<bool> results;  // what each attempt returns
  std::vector<platform::VideoConfig> attempts;
  std::vector<std::string> messages;

  void Install() {
    platform::SetVideoBackend(platform::VideoBackend::Headless);
    SetDeviceHooks({[this](const platform::VideoConfig& c) {
                      attempts.push_back(c);
                      return attempts.size() <= results.size() && results[attempts.size() - 1];
                    },
                    [this](const char* text) { messages.emplace_back(text); }});
  }
};

TEST(InitGraphicsTest, FullScreenFailureFallsBackToAWindowAfterOneMessage) {
  FakeDisplay display;
  display.results = {false, true};
  display.Install();
  Display = DisplaySettings{};
  Display.FullScreen = true;
  EXPECT_TRUE(InitGraphics());
  ASSERT_EQ(display.attempts.size(), 2u);
  EXPECT_TRUE(display.attempts[0].full_screen);
  EXPECT_FALSE(display.attempts[1].full_screen);
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(display.messages[0], "DirectX Error, trying windowed mode!");
  EXPECT_EQ(display.attempts[1].canvas_width, 640);
  EXPECT_EQ(display.attempts[1].canvas_height, 480);
  EXPECT_EQ(display.attempts[1].window_width, 800);
  EXPECT_EQ(display.attempts[1].window_height, 600);
}

TEST(InitGraphicsTest, BothAttemptsFailingMeansNoGame) {
  FakeDisplay display;
  display.results = {false, false};
  display.Install();
  Display = DisplaySettings{};
  Display.FullScreen = true;
  EXPECT_FALSE(InitGraphics());
  EXPECT_EQ(display.attempts.size(), 2u);
  EXPECT_EQ(display.messages.size(), 1u);
}

TEST(InitGraphicsTest, WindowedStartNeedsOneAttemptAndSetsTheAngleUnits) {
  FakeDisplay display;
  display.results = {true};
  display.Install();
  Display = DisplaySettings{};
  EXPECT_TRUE(InitGraphics());
  ASSERT_EQ(display.attempts.size(), 1u);
  EXPECT_FALSE(display.attempts[0].full_screen);
  EXPECT_TRUE(display.messages.empty());
  EXPECT_FLOAT_EQ(Pi, 3.14159265f);
  EXPECT_FLOAT_EQ(DegToRad * 180.0f, Pi);
}

}  // namespace
}  // namespace tw::render
