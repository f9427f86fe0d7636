// Shared set-up for the game-screen tests: the world fixture's private
// application directory and tuning, plus (for pixel tests) the offscreen
// canvas with every picture of the generated data loaded.
#pragma once

#include <cstdlib>
#include <optional>

#include "../world/world_fixture.h"
#include "frontend/menu.h"
#include "frontend/menu_screens.h"
#include "platform/video.h"
#include "render/bitmap_font.h"
#include "render/catalogue.h"
#include "render/debug_overlay.h"
#include "render/draw.h"
#include "render/game_screen.h"
#include "world/frame.h"
#include "world/looks.h"
#include "offscreen_canvas.h"

namespace tw::testing {

class GameScreenTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    frontend::MenuFade = 0;
    core::InGame = true;
    core::GameOver = false;
  }
  // A new game as the menu starts it: the screen's looks start afresh.
  void AfterNewGame() override { world::ResetLooks(); }
  void TearDown() override {
    platform::CloseDisplay();
    WorldTest::TearDown();
  }

  // The offscreen canvas and the generated pictures; the tuning stays in the
  // test's own folder.
  void OpenCanvas() {
    ASSERT_TRUE(test::OpenOffscreenCanvas());
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

  // A frame without a world step (as while paused): the frame's rules, then
  // the drawing with the menu's fade laid over it.
  static bool Frame() {
    const bool handed_back = world::RunFrameRules();
    render::RenderGame(frontend::LiftMenuFade());
    return handed_back;
  }
  static void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }

  void Read() { shot_.emplace(); }
  std::uint32_t Pixel(int x, int y) const { return (*shot_)(x, y); }
  // Sum of the channel differences.
  static int Distance(std::uint32_t a, std::uint32_t b) {
    int d = 0;
    for (int s : {0, 8, 16}) d += std::abs(test::Channel(a, s) - test::Channel(b, s));
    return d;
  }

  std::optional<test::CanvasShot> shot_;
};

}  // namespace tw::testing
