// The game binary run headless with a scripted keyboard: the keys move the
// creature, and the same seed gives the same game.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The text of the report's "game" object (it holds one nested object).
std::string GameObject(const std::string& report) {
  const auto start = report.find("\"game\"");
  if (start == std::string::npos) return "";
  const auto end = report.find('}', report.find('}', start) + 1);
  return report.substr(start, end - start + 1);
}

double Field(const std::string& text, const std::string& key) {
  const auto at = text.find("\"" + key + "\"");
  if (at == std::string::npos) return -1e9;
  return std::strtod(text.c_str() + text.find(':', at) + 1, nullptr);
}

TEST(HeadlessRun, ScriptedKeysMoveTheCreatureAndTheSeedRepeatsTheGame) {
  const fs::path dir = fs::temp_directory_path() / ("tw_headless_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "config");
  // A private application directory holding only the arcade tuning file, so
  // the run writes its options and scores there and not beside the binary.
  fs::create_directories(dir / "app" / "textures");
  fs::copy_file(fs::path(TW_SOURCE_DIR) / "data" / "tuning_arcade.ini", dir / "app" / "textures" / "lvl2.bmp");
  std::ofstream(dir / "keys.txt") << "10 Left down\n40 Left up\n60 Up down\n65 Up up\n100 Right down\n"
                                     "300 Right up\n320 Up down\n325 Up up\n";
  std::string game[2];
  for (int run = 0; run < 2; ++run) {
    const fs::path report = dir / ("report" + std::to_string(run) + ".json");
    const std::string cmd = "XDG_CONFIG_HOME='" + (dir / "config").string() + "' '" + TW_BINARY +
                            "' --data '" + (dir / "app").string() + "' --headless --fast --start arcade --seed 1 --keys '" + (dir / "keys.txt").string() +
                            "' --frames 400 --report '" + report.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    game[run] = GameObject(ReadAll(report));
    ASSERT_FALSE(game[run].empty());
  }
  EXPECT_EQ(game[0], game[1]);
  // Left for 30 frames then right for 200 from the start column of 224.
  EXPECT_NE(Field(game[0], "x"), 224.0);
  EXPECT_GT(Field(game[0], "y"), 96.0);  // walked off the ledge and fell
  EXPECT_EQ(Field(game[0], "map_height"), 1050.0);
  fs::remove_all(dir);
}

}  // namespace
