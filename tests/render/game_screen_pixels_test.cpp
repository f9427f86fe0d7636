// The game screen on the offscreen canvas: reference pixels at chosen points.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game_screen_fixture.h"
#include "render/screenshot.h"

namespace tw::testing {
namespace {

// Each case starts on the canvas with an arcade scene.
class GameScreenPixels : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    OpenCanvas();
    Scene(false);
  }
};
using test::Channel;

// Canvas point of the middle of a cell (ScrollY 0).
int CellX(int col) { return 80 + col * 32 + 16; }
int CellY(int row) { return row * 32 + 16; }

TEST_F(GameScreenPixels, UntouchedTilesAreGreyInStoryAndColouredOnceTouched) {
  Scene(true);
  Set(3, 6, 1);   // green, normal
  Set(5, 6, 40);  // red, mud
  world::TileGrid.Touched[3][6] = false;
  world::TileGrid.Touched[5][6] = false;
  Frame();
  // The references: the grey and coloured pictures drawn plainly in row 9.
  render::DrawSprite(render::TileTextures[56], 80 + 3 * 32, 9 * 32, 32, 32, 0, 100, 0, 0);
  render::DrawSprite(render::TileTextures[57], 80 + 5 * 32, 9 * 32, 32, 32, 0, 100, 0, 0);
  render::DrawSprite(render::TileTextures[1], 80 + 7 * 32, 9 * 32, 32, 32, 0, 100, 0, 0);
  Read();
  EXPECT_EQ(Pixel(CellX(3), CellY(6)), Pixel(CellX(3), CellY(9)));
  EXPECT_EQ(Pixel(CellX(5), CellY(6)), Pixel(CellX(5), CellY(9)));
  EXPECT_NE(Pixel(CellX(3), CellY(6)), Pixel(CellX(7), CellY(9)));

  world::TileGrid.Touched[3][6] = true;
  Frame();
  render::DrawSprite(render::TileTextures[1], 80 + 7 * 32, 9 * 32, 32, 32, 0, 100, 0, 0);
  Read();
  EXPECT_EQ(Pixel(CellX(3), CellY(6)), Pixel(CellX(7), CellY(9)));
}

TEST_F(GameScreenPixels, GlassIsDrawnAtOneFifthOpacity) {
  Set(4, 7, 5);
  Frame();
  render::DrawSprite(render::TileTextures[5], 80 + 8 * 32, 7 * 32, 32, 32, 0, 100, 0, 0);
  Read();
  const std::uint32_t sky = Pixel(CellX(6), CellY(7));
  int faint = 0, full = 0;
  for (int dy = -12; dy <= 12; dy += 4) {
    for (int dx = -12; dx <= 12; dx += 4) {
      faint += Distance(Pixel(CellX(4) + dx, CellY(7) + dy), sky);
      full += Distance(Pixel(CellX(8) + dx, CellY(7) + dy), sky);
    }
  }
  ASSERT_GT(full, 1000);
  const double ratio = static_cast<double>(faint) / full;
  EXPECT_GT(ratio, 0.15);
  EXPECT_LT(ratio, 0.25);
}

TEST_F(GameScreenPixels, PauseDarkensTheScreenAndFadesBack) {
  Set(2, 4, 1);
  Frame();
  Read();
  const std::uint32_t sky = Pixel(40, 150);
  const std::uint32_t tile = Pixel(CellX(2), CellY(4));
  core::Paused = true;
  Frames(20);  // 5 per frame up to 100
  Read();
  EXPECT_EQ(world::Looks.PauseFade, 100);
  // Black at 60 % over everything: 40 % of the colour is left.
  for (int s : {0, 8, 16}) {
    EXPECT_NEAR(Channel(Pixel(40, 150), s), Channel(sky, s) * 0.4, 3) << s;
    EXPECT_NEAR(Channel(Pixel(CellX(2), CellY(4)), s), Channel(tile, s) * 0.4, 3) << s;
  }
  core::Paused = false;
  Frames(19);
  Read();
  EXPECT_EQ(world::Looks.PauseFade, 5);
  EXPECT_EQ(Pixel(40, 150), sky);  // alpha 5 - 40 is nothing
}

TEST_F(GameScreenPixels, DebugWindowShowsOnceItsTextHasBeenBuilt) {
  Frame();
  Read();
  const std::uint32_t sky = Pixel(60, 120), corner = Pixel(600, 470);
  core::DebugWindowVisible = true;
  Frame();  // switched on while paused: not placed yet
  Read();
  EXPECT_EQ(Pixel(60, 120), sky);
  EXPECT_EQ(Pixel(600, 470), corner);
  render::UpdateDebugText();
  Frame();
  Read();
  EXPECT_EQ(Pixel(60, 120), sky);
  EXPECT_GT(Distance(Pixel(600, 470), corner), 30);  // the dark window in the lower right
}

TEST_F(GameScreenPixels, ScreenshotsTakeTheFirstFreeNumber) {
  Frame();
  std::ofstream(dir_ / "screenshot001.bmp") << "x";
  std::ofstream(dir_ / "screenshot003.bmp") << "x";
  render::TakeScreenshot();
  const auto shot = dir_ / "screenshot002.bmp";
  ASSERT_TRUE(std::filesystem::exists(shot));
  // A Windows bitmap of the canvas size, 24 bits per pixel.
  std::ifstream in(shot, std::ios::binary);
  std::vector<unsigned char> head(54);
  in.read(reinterpret_cast<char*>(head.data()), 54);
  EXPECT_EQ(std::tuple(head[0], head[18] | (head[19] << 8), head[22] | (head[23] << 8), std::filesystem::file_size(shot)),
            std::tuple('B', 640, 480, 54u + 640u * 3u * 480u));
  render::TakeScreenshot();
  EXPECT_TRUE(std::filesystem::exists(dir_ / "screenshot004.bmp"));
  std::filesystem::remove(dir_ / "screenshot001.bmp");
  EXPECT_EQ(render::NextScreenshotPath(), (dir_ / "screenshot001.bmp").string());
}

}  // namespace
}  // namespace tw::testing
