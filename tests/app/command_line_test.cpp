#include "app/command_line.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tw::app {
namespace {

std::optional<CommandLine> Parse(std::vector<std::string> args, std::string* err = nullptr) {
  std::string error;
  auto cl = ParseCommandLine(args, error);
  if (err != nullptr) *err = error;
  return cl;
}

TEST(CommandLineTest, EveryOptionIsRead) {
  auto cl = Parse({"--data", "/tmp/x", "--headless", "--fast", "--frames", "50", "--seed", "3", "--keys",
                   "k.txt", "--report", "r.json", "--start", "arcade", "--integer-scale"});
  ASSERT_TRUE(cl);
  EXPECT_TRUE(cl->integer_scale);
  EXPECT_EQ(*cl->data_dir, "/tmp/x");
  EXPECT_EQ(std::tuple(cl->headless, cl->fast, *cl->frames, *cl->seed, *cl->keys_file, *cl->report_file, cl->start),
            std::tuple(true, true, 50, 3u, "k.txt", "r.json", StartMode::Arcade));
  EXPECT_EQ(Parse({"--start", "story"})->start, StartMode::Story);
  // A check plays the file headless and as fast as it can.
  const auto verify = Parse({"--verify", "/r/replay1.ini"});
  ASSERT_TRUE(verify);
  EXPECT_EQ(std::tuple(verify->verify, verify->headless, verify->fast, *verify->play_file),
            std::tuple(true, true, true, "/r/replay1.ini"));
  EXPECT_EQ(*Parse({"--share", "/r/x.ini"})->share_file, "/r/x.ini");
  EXPECT_EQ(*Parse({"--play-code", "AbC-_"})->play_code, "AbC-_");
}

TEST(CommandLineTest, BadArgumentsGiveOneLineMessages) {
  std::string err;
  const std::vector<std::vector<std::string>> bad{
      {"--frames"}, {"--frames", "-1"}, {"--frames", "ten"}, {"--seed", "1.5"}, {"--start", "tutorial"},
      {"--bogus"},  {"--headless", "--offscreen"},          {"--data", ""},
      {"--verify", "a.ini", "--play", "b.ini"}, {"--share", "a.ini", "--play-code", "x"},
      {"--record", "--verify", "a.ini"}, {"--verify"}};
  for (const auto& args : bad) {
    EXPECT_FALSE(Parse(args, &err)) << args[0];
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(err.find('\n'), std::string::npos);
  }
}

TEST(CommandLineTest, HelpNamesEveryOption) {
  const std::string help = HelpText();
  for (const char* opt : {"--data", "--headless", "--offscreen", "--fast", "--frames", "--seed", "--keys",
                          "--report", "--start", "--version", "--help", "--integer-scale", "XDG_DATA_HOME",
                          "XDG_PICTURES_DIR", "--verify", "--share", "--play-code"}) {
    EXPECT_NE(help.find(opt), std::string::npos) << opt;
  }
}

}  // namespace
}  // namespace tw::app
