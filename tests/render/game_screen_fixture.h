// Shared set-up for the game-screen tests: the world fixture's private
// application directory and tuning, plus (for pixel tests) the offscreen
// canvas with every picture of the generated data loaded.
#pragma once

#include <cstdlib>
#include <vector>

#include "../world/world_fixture.h"
#include "frontend/menu.h"
#include "frontend/menu_screens.h"
#include "platform/video.h"
#include "render/bitmap_font.h"
#include "render/catalogue.h"
#include "render/debug_overlay.h"
#include "render/draw.h"
#include "render/game_screen.h"

namespace tw::testing {

class GameScreenTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    frontend::MenuFade = 0;
    core::InGame = true;
    core::GameOver = false;
  }
  void TearDown() override {
    platform::CloseDisplay();
    WorldTest::TearDown();
  }

  // The offscreen canvas and the generated pictures; the tuning stays in the
  // test's own folder.
  void OpenCanvas() {
    platform::SetVideoBackend(platform::VideoBackend::Offscreen);
    ASSERT_TRUE(platform::OpenDisplay(platform::VideoConfig{}));
    platform::SetAppDir(TW_APP_DIR);
    render::LoadFontDescription();
    render::LoadAllTextures();
    platform::SetAppDir(dir_.string());
    ASSERT_NE(render::TileTextures[1], 0);
  }

  // A hand-built scene on an empty shaft: no drills or water in the way.
  void Scene(bool story) {
    EmptyShaft(story);
    core::ScrollY = 0;
    core::CurrentLevel = 0;
    world::DrillY = -40;
    world::WaterY = 470;
    world::Bombs = 0;
    PlaceCreature(12, 1);
  }

  static void Frames(int n) {
    for (int i = 0; i < n; ++i) render::RenderGame();
  }

  void Read() {
    int w = 0, h = 0;
    ASSERT_TRUE(platform::ReadCanvas(pixels_, w, h));
    ASSERT_EQ(w, 640);
  }
  std::uint32_t Pixel(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x)] | 0xFF000000u;
  }
  static int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFFu); }
  // Sum of the channel differences.
  static int Distance(std::uint32_t a, std::uint32_t b) {
    int d = 0;
    for (int s : {0, 8, 16}) d += std::abs(Channel(a, s) - Channel(b, s));
    return d;
  }

  std::vector<std::uint32_t> pixels_;
};

}  // namespace tw::testing
