#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tw::app {
namespace {

std::optional<CommandLine> Parse(std::vector<std::string> args, std::string* err = nullptr) {
  std::string error;
  auto cl = ParseCommandLine(args, error);
  if (err != nullptr) *err = error;
  return cl;
}

TEST(CommandLineTest, NoArgumentsMeansAnOrdinaryStart) {
  auto cl = Parse({});
  ASSERT_TRUE(cl);
  EXPECT_FALSE(cl->headless);
  EXPECT_FALSE(cl->offscreen);
  EXPECT_FALSE(cl->fast);
  EXPECT_FALSE(cl->frames);
  EXPECT_FALSE(cl->seed);
  EXPECT_EQ(cl->start, StartMode::None);
}

TEST(CommandLineTest, EveryOptionIsRead) {
  auto cl = Parse({"--data", "/tmp/x", "--headless", "--fast", "--frames", "50", "--seed", "3", "--keys",
                   "k.txt", "--report", "r.json", "--start", "arcade", "--integer-scale"});
  ASSERT_TRUE(cl);
  EXPECT_TRUE(cl->integer_scale);
  EXPECT_EQ(*cl->data_dir, "/tmp/x");
  EXPECT_TRUE(cl->headless);
  EXPECT_TRUE(cl->fast);
  EXPECT_EQ(*cl->frames, 50);
  EXPECT_EQ(*cl->seed, 3u);
  EXPECT_EQ(*cl->keys_file, "k.txt");
  EXPECT_EQ(*cl->report_file, "r.json");
  EXPECT_EQ(cl->start, StartMode::Arcade);
  EXPECT_EQ(Parse({"--start", "story"})->start, StartMode::Story);
}

TEST(CommandLineTest, BadArgumentsGiveOneLineMessages) {
  std::string err;
  const std::vector<std::vector<std::string>> bad{
      {"--frames"}, {"--frames", "-1"}, {"--frames", "ten"}, {"--seed", "1.5"}, {"--start", "tutorial"},
      {"--bogus"},  {"--headless", "--offscreen"},          {"--data", ""}};
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
                          "XDG_PICTURES_DIR"}) {
    EXPECT_NE(help.find(opt), std::string::npos) << opt;
  }
}

}  // namespace
}  // namespace tw::app
