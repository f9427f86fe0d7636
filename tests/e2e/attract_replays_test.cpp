// The attract replays the build records: each plays back to its recorded end,
// both modes are shown, every game lasts at least 30 seconds and at least two
// reach the bottom.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "test_support.h"

namespace tw {
namespace {

// The value of `key` in the replay's closing [options] section.
std::string OptionOf(const std::string& text, const std::string& key) {
  const auto at = text.rfind("\n" + key + "=");
  if (at == std::string::npos) return "";
  const auto from = at + key.size() + 2;
  return text.substr(from, text.find_first_of("\r\n", from) - from);
}

TEST(AttractReplays, EachPlaysBackToItsRecordedEnd) {
  int wins = 0;
  std::set<std::string> modes;
  for (int i = 1; i <= 10; ++i) {
    const std::string file = std::string(TW_APP_DIR) + "/replay" + std::to_string(i) + ".ini";
    SCOPED_TRACE(file);
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string text = test::ReadText(file);
    const int end = std::stoi("0" + OptionOf(text, "endframe"));
    modes.insert(OptionOf(text, "mode"));
    EXPECT_GE(end, 30 * 50) << "shorter than 30 seconds";

    test::TempDir data, config;
    test::LinkAppData(data.path);
    const test::ReportedRun run = test::RunReported(
        data.path, config.path, {"--headless", "--fast", "--play", file, "--frames", std::to_string(end + 300)});
    ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
    const test::JsonValue r = run.report.value_or(test::JsonValue{});
    EXPECT_TRUE(r["replay"]["game_ended"].boolean);
    EXPECT_EQ(r["replay"]["end_frame"].number, end);
    EXPECT_EQ(r["mode"].string, "menu");
    // The playback ends at the recorded frame, just before the creature's own
    // check would declare the win: a won game ends past the last rows.
    wins += r["result"]["depth_rows"].number > r["game"]["map_height"].number - 4 ? 1 : 0;
  }
  EXPECT_GE(wins, 2);
  EXPECT_EQ(modes, (std::set<std::string>{"arcade", "story"}));
}

}  // namespace
}  // namespace tw
