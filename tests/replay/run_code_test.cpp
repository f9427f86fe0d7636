// Run codes: what a code keeps of a replay, what it refuses, and damage.
#include "replay/run_code.h"

#include <gtest/gtest.h>

#include "config/ini_store.h"

namespace tw::replay {
namespace {

// A recording as the game writes one (map and bonuses shortened).
const char* const kReplay =
    "[Map]\r\nmapsizey=304\r\nY3_X4=7\r\n[Bonus]\r\n1_type=pie\r\n1_x=40\r\n"
    "[ingame]\r\nkeyleft_12=True\r\nkeyup_15=True\r\nkeyleft_40=False\r\nkeyup_23=False\r\n"
    "keyright_40=True\r\nkeydown_41=True\r\nkeydown_44=False\r\nkeyright_300=False\r\nkeyup_300=True\r\n"
    "keyup_302=False\r\n"
    "[options]\r\nseed=4000000001\r\nmode=arcade\r\nformat=2\r\ntuning=00ff00ff00ff00ff\r\npause_100=25\r\n"
    "pause_7000=3\r\nendframe=7321\r\nlastframe=7340\r\nlastscreeny=40\r\n"
    "[trail]\r\nf50=0123456789abcdef\r\nf7300=fedcba9876543210\r\nf7320=00000000000000aa\r\n";

TEST(RunCode, KeepsWhatPlaybackActsOnAndNoMap) {
  std::string error;
  const auto code = EncodeRunCode(kReplay, error);
  ASSERT_TRUE(code) << error;
  EXPECT_EQ(code->find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
            std::string::npos);
  const auto text = DecodeRunCode(*code, error);
  ASSERT_TRUE(text) << error;
  const config::IniIndex back = config::IndexIniText(*text);
  const auto at = [&](const char* section, const char* key) {
    return std::string(config::LookupIniIndex(back, section, key).value_or("(none)"));
  };
  const std::pair<const char*, const char*> options[] = {
      {"seed", "4000000001"}, {"mode", "arcade"},     {"format", "2"},       {"tuning", "00ff00ff00ff00ff"},
      {"pause_100", "25"},    {"pause_7000", "3"},     {"endframe", "7321"},  {"lastframe", "7340"}};
  for (const auto& [key, value] : options) EXPECT_EQ(at("options", key), value) << key;
  // Jumps and bombs act when pressed; walking keys keep both changes.
  const std::pair<const char*, const char*> keys[] = {
      {"keyleft_12", "True"},  {"keyleft_40", "False"},  {"keyright_40", "True"}, {"keyright_300", "False"},
      {"keyup_15", "True"},    {"keyup_300", "True"},    {"keydown_41", "True"},  {"keyup_23", "(none)"}};
  for (const auto& [key, value] : keys) EXPECT_EQ(at("ingame", key), value) << key;
  // Only the trail's closing hash; no map or bonuses (the seed rebuilds them).
  EXPECT_EQ(at("trail", "f7320"), "00000000000000aa");
  EXPECT_EQ(at("trail", "f50"), "(none)");
  EXPECT_EQ(config::IniIndexSection(back, "Map"), nullptr);
  EXPECT_EQ(config::IniIndexSection(back, "Bonus"), nullptr);
  // The text a code gives makes the same code again.
  EXPECT_EQ(EncodeRunCode(*text, error), code);
}

TEST(RunCode, RefusesWhatItCannotCarryAndAnyDamage) {
  std::string error;
  for (const char* bad : {"[options]\r\nmode=story\r\n", "[options]\r\nseed=5\r\n", "[options]\r\nseed=-5\r\nmode=story\r\n"}) {
    EXPECT_FALSE(EncodeRunCode(bad, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
  const auto code = EncodeRunCode(kReplay, error);
  ASSERT_TRUE(code);
  // Every single-character change, every cut and anything appended is refused.
  for (std::size_t i = 0; i < code->size(); ++i) {
    std::string changed = *code;
    changed[i] = changed[i] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(DecodeRunCode(changed, error)) << i;
    EXPECT_FALSE(DecodeRunCode(code->substr(0, i), error)) << i;
  }
  for (const std::string& bad : {*code + "A", *code + "=", std::string("*") + *code, std::string()}) {
    EXPECT_FALSE(DecodeRunCode(bad, error)) << bad;
    EXPECT_NE(error.find("not a run code"), std::string::npos);
  }
}

}  // namespace
}  // namespace tw::replay
