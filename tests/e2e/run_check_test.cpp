// Checking and sharing runs through the real binary: the attract replays the
// build records, --verify on them and on altered copies, --share and --play-code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "test_support.h"

namespace tw {
namespace {

std::string Shipped(int i) { return std::string(TW_APP_DIR) + "/replay" + std::to_string(i) + ".ini"; }

// A check in a data folder of its own (the build's data linked in, unless given).
test::RunResult Verify(const std::string& file, std::string data = "") {
  test::TempDir own, config;
  if (data.empty()) {
    test::LinkAppData(own.path);
    data = own.path;
  }
  return test::RunGame({"--data", data, "--verify", file}, {"XDG_CONFIG_HOME=" + config.path, "XDG_DATA_HOME=" + config.path});
}

int EndFrame(const std::string& text) {
  std::smatch m;
  return std::regex_search(text, m, std::regex("\nendframe=([0-9]+)")) ? std::stoi(m[1]) : -1;
}

// The frames of the file's trail, in order.
std::vector<int> TrailFrames(const std::string& text) {
  std::vector<int> frames;
  const std::string trail = text.substr(text.find("[trail]"));
  const std::regex entry("\nf([0-9]+)=");
  for (auto it = std::sregex_iterator(trail.begin(), trail.end(), entry); it != std::sregex_iterator(); ++it) {
    frames.push_back(std::stoi((*it)[1]));
  }
  std::sort(frames.begin(), frames.end());
  return frames;
}

// The attract replays the build records: each verifies, plays back to its
// recorded end and has a short code (the first two, played from their codes,
// end as their files do); both modes are shown, every game lasts at least 30
// seconds and at least two reach the bottom.
TEST(RunCheck, EveryShippedReplayVerifiesAndPlaysToTheSameEndFromItsCode) {
  int wins = 0;
  std::set<std::string> modes;
  for (int i = 1; i <= 10; ++i) {
    SCOPED_TRACE(Shipped(i));
    const std::string text = test::ReadText(Shipped(i));
    const int end = EndFrame(text);
    EXPECT_GE(end, 30 * 50) << "shorter than 30 seconds";
    std::smatch mode;
    if (std::regex_search(text, mode, std::regex("\nmode=([a-z]+)"))) modes.insert(mode[1]);
    const test::RunResult r = Verify(Shipped(i));
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("verified: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(", end frame " + std::to_string(end) + ", score "), std::string::npos) << r.out;
    const test::RunResult share = test::RunGame({"--share", Shipped(i)});
    ASSERT_EQ(share.exit_code, 0) << share.err;
    EXPECT_LE(share.out.size(), 4001u);  // the code and its newline
    std::vector<test::JsonValue> ends;
    for (const std::vector<std::string>& how :
         {std::vector<std::string>{"--play", Shipped(i)}, {"--play-code", share.out.substr(0, share.out.find('\n'))}}) {
      if (i > 2 && how[0] == "--play-code") continue;
      test::TempDir data, config;
      test::LinkAppData(data.path);
      std::vector<std::string> args = how;
      args.insert(args.end(), {"--headless", "--fast", "--frames", std::to_string(end + 300)});
      const test::ReportedRun run = test::RunReported(data.path, config.path, args);
      ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
      ends.push_back(run.report.value_or(test::JsonValue{}));
      EXPECT_TRUE(ends.back()["replay"]["game_ended"].boolean);
      EXPECT_EQ(ends.back()["replay"]["end_frame"].number, end);
      EXPECT_EQ(ends.back()["mode"].string, "menu");
    }
    // The playback ends at the recorded frame, just before the creature's own
    // check would declare the win: a won game ends past the last rows.
    wins += ends[0]["result"]["depth_rows"].number > ends[0]["game"]["map_height"].number - 4 ? 1 : 0;
    if (ends.size() < 2) continue;
    for (const char* key : {"end_frame", "end_score"}) EXPECT_EQ(ends[0]["replay"][key].string, ends[1]["replay"][key].string) << key;
    for (const char* key : {"depth_rows", "score", "seconds", "cause"}) EXPECT_EQ(ends[0]["result"][key].string, ends[1]["result"][key].string) << key;
  }
  EXPECT_GE(wins, 2);
  EXPECT_EQ(modes, (std::set<std::string>{"arcade", "story"}));
  const test::RunResult bad = test::RunGame({"--headless", "--play-code", "not-a-code"});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.err.find("not a run code"), std::string::npos) << bad.err;
}

TEST(RunCheck, AnAlteredCopyFailsNamingTheFrameAndAnotherTuningIsSaidSo) {
  const std::string text = test::ReadText(Shipped(1));
  const std::vector<int> trail = TrailFrames(text);
  ASSERT_GE(trail.size(), 4u);
  test::TempDir dir;
  const auto first_trail_from = [&](int frame) { return *std::lower_bound(trail.begin(), trail.end(), frame); };
  struct Case {
    std::string name, text;
    int exit_code;
    std::string says;
  };
  std::vector<Case> cases;
  // A walking key's change one frame later: the state differs from the next
  // step on, named at the first trail entry after it. (A change that cannot
  // matter, such as walking against a wall, verifies: the first that does is
  // taken.)
  const std::regex walk("\n(keyleft|keyright)_([0-9]+)=(True|False)");
  bool moved_fails = false;
  int tried = 0;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), walk); it != std::sregex_iterator() && tried < 8;
       ++it, ++tried) {
    const std::smatch& m = *it;
    const int moved = std::stoi(m[2]);
    std::string later = text;
    later.replace(static_cast<std::size_t>(m.position(0)), static_cast<std::size_t>(m.length(0)),
                  "\n" + m[1].str() + "_" + std::to_string(moved + 1) + "=" + m[3].str());
    test::WriteText(dir.File("moved.ini"), later);
    const test::RunResult r = Verify(dir.File("moved.ini"));
    if (r.exit_code == 0) continue;
    EXPECT_EQ(r.exit_code, 4) << r.out << r.err;
    EXPECT_NE(r.out.find("first differs at frame " + std::to_string(first_trail_from(moved + 1)) + " "), std::string::npos)
        << m.str() << ": " << r.out;
    moved_fails = true;
    break;
  }
  EXPECT_TRUE(moved_fails) << "no walking key moved by a frame changed the game in " << tried << " tries";
  // One hash changed: that frame.
  const std::string key = "\nf" + std::to_string(trail[2]) + "=";
  std::string bad_hash = text;
  const std::size_t at = bad_hash.find(key) + key.size();
  bad_hash[at] = bad_hash[at] == '0' ? '1' : '0';
  cases.push_back({"hash", bad_hash, 4, "first differs at frame " + std::to_string(trail[2]) + " "});
  // No trail and no tuning hash: played through, said so.
  std::string bare = text.substr(0, text.find("[trail]"));
  bare = std::regex_replace(bare, std::regex("\r\n(tuning|format)=[^\r]*"), "");
  cases.push_back({"bare", bare, 6, "no state trail, played through"});
  for (const Case& c : cases) {
    test::WriteText(dir.File(c.name + ".ini"), c.text);
    const test::RunResult r = Verify(dir.File(c.name + ".ini"));
    EXPECT_EQ(r.exit_code, c.exit_code) << c.name << ": " << r.out << r.err;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.name << ": " << r.out;
  }
  // The same file against a data folder whose tuning differs by one line.
  test::TempDir data;
  test::LinkAppData(data.path);
  const bool story = text.find("\nmode=story") != std::string::npos;
  const std::string tuning = data.File(story ? "textures/lvl1.bmp" : "textures/lvl2.bmp");
  const std::string changed = test::ReadText(tuning) + "\r\n; changed\r\n";
  std::filesystem::remove(tuning);
  test::WriteText(tuning, changed);
  const test::RunResult other = Verify(Shipped(1), data.path);
  EXPECT_EQ(other.exit_code, 5) << other.out << other.err;
  EXPECT_NE(other.out.find("played with another tuning"), std::string::npos) << other.out;
}

}  // namespace
}  // namespace tw
