// The options file and a high-score table, both arbitrary bytes: loading
// never fails, saved options load back as they were, and the table that
// loading writes back loads unchanged.
// Input: options bytes \0 high-score bytes.
#include "config/options.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw::config;
  const auto dir = tw::fuzz::PrivateAppDir() / "textures";
  const auto parts = tw::fuzz::Split(tw::fuzz::AsText(data, size), std::string_view("\0", 1), 2);
  tw::fuzz::PutFile(dir / "options.bmp", parts[0]);
  std::filesystem::remove(dir / "dot_black2.bmp");
  std::filesystem::remove(dir / "dot_white2.bmp");
  LoadOptions();
  const Options loaded = GameOptions;
  SaveOptions();
  LoadOptions();
  TW_FUZZ_CHECK(GameOptions.Details_High == loaded.Details_High && GameOptions.GameMode_Story == loaded.GameMode_Story &&
                GameOptions.Sound_On == loaded.Sound_On && GameOptions.FULL_SCREEN == loaded.FULL_SCREEN &&
                GameOptions.ArcadeLocked == loaded.ArcadeLocked && GameOptions.StoryReaden == loaded.StoryReaden);
  if (parts.size() > 1) tw::fuzz::PutFile(dir / std::filesystem::path(HighScoreFile()).filename(), parts[1]);
  for (auto& e : HighScores) e = HighScoreEntry{};
  ClearPendingEntry();
  LoadHighScores();  // also saves the table as loaded
  const auto first = HighScores;
  for (auto& e : HighScores) e = HighScoreEntry{};
  ClearPendingEntry();
  LoadHighScores();
  for (int i = 0; i < kPendingEntry; ++i) {
    TW_FUZZ_CHECK(HighScores[i].Name == first[i].Name);
    TW_FUZZ_CHECK(HighScores[i].Score == first[i].Score);
  }
  return 0;
}
