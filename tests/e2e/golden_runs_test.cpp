// Golden runs: fixed inputs (seeds, modes, keyboard scripts, recorded games)
// played by the real binary with pinned copies of the tuning files, and the
// world's fingerprint every 50 game frames compared with the one recorded in
// tests/e2e/golden/expected. Any change to how the world evolves moves a
// fingerprint, and the failure names the first game frame that differs.
//
// To record them anew (only when a rule is meant to change, and say which in
// the commit): TW_GOLDEN_RECORD=1 ctest -R Golden
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace tw {
namespace {

const std::string kGolden = std::string(TW_SOURCE_DIR) + "/tests/e2e/golden/";

struct GoldenRun {
  const char* name;
  std::vector<std::string> args;  // beside --headless --fast; "@" stands for the golden folder
};

const GoldenRun kRuns[] = {
    // The debug window's test keys, bombs every few frames, walking and
    // jumping: explosions, debris, falling tiles and splashes never stop.
    {"busy_story", {"--seed", "11", "--start", "story", "--keys", "@busy.keys", "--frames", "3100"}},
    {"busy_arcade", {"--seed", "12", "--start", "arcade", "--keys", "@busy.keys", "--frames", "3100"}},
    // Walking both ways, jumps, a bomb, the mouse buttons' keys left alone, a
    // long pause (the rules that run while paused), then giving up and a name.
    {"pause_give_up", {"--seed", "13", "--start", "story", "--keys", "@pause_give_up.keys", "--frames", "1000"}},
    // Games of the autoplayer as recorded: a won story and an arcade game.
    // Every run stops before the idle menu would start an attract replay
    // (those are the build's own recordings, which change with the tuning).
    {"replay_story", {"--play", "@replay_story.ini", "--frames", "13034"}},
    {"replay_arcade", {"--play", "@replay_arcade.ini", "--frames", "12071"}},
};

void PrintTo(const GoldenRun& run, std::ostream* os) { *os << run.name; }

// What a run ends in, one item a line: the end state, then the trail.
std::string Fingerprints(const test::JsonValue& r) {
  std::ostringstream out;
  const test::JsonValue& g = r["game"];
  out << "frames " << r["frames"].string << "\n"
      << "score " << g["score"].string << "\n"
      << "level " << g["level"].string << "\n"
      << "x " << g["player"]["x"].string << "\n"
      << "y " << g["player"]["y"].string << "\n"
      << "end " << g["state_hash"].string << "\n";
  const test::JsonValue& trail = r["trail"];
  for (std::size_t i = 0; i < trail.object.size(); ++i) out << "trail " << (i + 1) * 50 << " " << trail[i].string << "\n";
  return out.str();
}

// The first line on which two fingerprint texts differ, for the message.
std::string FirstDifference(const std::string& want, const std::string& got) {
  std::istringstream a(want), b(got);
  std::string la, lb;
  while (true) {
    const bool ha = static_cast<bool>(std::getline(a, la)), hb = static_cast<bool>(std::getline(b, lb));
    if (!ha && !hb) return "none";
    if (la != lb || ha != hb) return "recorded \"" + (ha ? la : "(end)") + "\", now \"" + (hb ? lb : "(end)") + "\"";
  }
}

class Golden : public testing::TestWithParam<GoldenRun> {};

TEST_P(Golden, EndsAsRecorded) {
  const GoldenRun& run = GetParam();
  test::TempDir data, config;
  test::LinkAppData(data.path);
  // The pinned tuning, so that a retuning of the shipped files moves nothing here.
  for (const auto& [from, to] : {std::pair{"tuning_story.ini", "lvl1.bmp"}, std::pair{"tuning_arcade.ini", "lvl2.bmp"}}) {
    std::filesystem::remove(data.path + "/textures/" + to);
    std::filesystem::copy_file(kGolden + from, data.path + "/textures/" + to);
  }
  std::vector<std::string> args = {"--headless", "--fast"};
  for (const std::string& a : run.args) args.push_back(a.front() == '@' ? kGolden + a.substr(1) : a);

  const test::ReportedRun result = test::RunReported(data.path, config.path, args);
  ASSERT_EQ(result.result.exit_code, 0) << result.result.err;
  ASSERT_TRUE(result.report.has_value());
  const std::string got = Fingerprints(*result.report);
  ASSERT_GE(result.report->operator[]("trail").object.size(), 10u) << "the run is too short to say much";

  const std::string expected_file = kGolden + "expected/" + run.name + ".txt";
  if (std::getenv("TW_GOLDEN_RECORD")) {
    test::WriteText(expected_file, got);
    GTEST_SKIP() << "recorded " << expected_file;
  }
  ASSERT_TRUE(std::filesystem::exists(expected_file)) << "no recording; see the top of this file";
  const std::string want = test::ReadText(expected_file);
  EXPECT_EQ(want, got) << "first difference: " << FirstDifference(want, got);
}

INSTANTIATE_TEST_SUITE_P(Runs, Golden, testing::ValuesIn(kRuns),
                         [](const testing::TestParamInfo<GoldenRun>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tw
