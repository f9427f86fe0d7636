// The game binary run headless with a scripted keyboard: the keys move the
// creature, and the same seed gives the same game.
#include <gtest/gtest.h>

#include "test_support.h"

namespace tw {
namespace {

bool Same(const test::JsonValue& a, const test::JsonValue& b) {
  if (a.kind != b.kind || a.number != b.number || a.boolean != b.boolean || a.string != b.string ||
      a.object.size() != b.object.size() || a.array.size() != b.array.size())
    return false;
  for (const auto& [key, value] : a.object)
    if (!b.Has(key) || !Same(value, b[key])) return false;
  for (std::size_t i = 0; i < a.array.size(); ++i)
    if (!Same(a.array[i], b.array[i])) return false;
  return true;
}

TEST(HeadlessRun, ScriptedKeysMoveTheCreatureAndTheSeedRepeatsTheGame) {
  // A private application directory holding only the arcade tuning file, so
  // the run writes its options and scores there and not beside the binary.
  test::TempDir app, config;
  test::WriteText(app.File("textures/lvl2.bmp"), test::ReadText(std::string(TW_SOURCE_DIR) + "/data/tuning_arcade.ini"));
  test::WriteText(config.File("keys.txt"), "10 Left down\n40 Left up\n60 Up down\n65 Up up\n100 Right down\n"
                                           "300 Right up\n320 Up down\n325 Up up\n");
  test::JsonValue game[2];
  for (auto& g : game) {
    const auto run = test::RunGame({"--data", app.path, "--headless", "--fast", "--start", "arcade", "--seed", "1",
                                    "--keys", config.File("keys.txt"), "--frames", "400", "--report",
                                    config.File("report.json")},
                                   {"XDG_CONFIG_HOME=" + config.path});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto report = test::ParseJson(test::ReadText(config.File("report.json")));
    ASSERT_TRUE(report && report->Has("game"));
    g = (*report)["game"];
  }
  EXPECT_TRUE(Same(game[0], game[1]));
  // Left for 30 frames then right for 200 from the start column of 224.
  EXPECT_NE(game[0]["player"]["x"].number, 224.0);
  EXPECT_GT(game[0]["player"]["y"].number, 96.0);  // walked off the ledge and fell
  EXPECT_EQ(game[0]["map_height"].number, 1050.0);
}

}  // namespace
}  // namespace tw
