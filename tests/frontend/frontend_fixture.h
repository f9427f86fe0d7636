// Shared set-up for the front-end tests: a private application directory
// and settings folder, the story tuning file, a record of the sounds played,
// and keys set directly in the key table (no keyboard device is open, so a
// read leaves the table as the test set it).
#pragma once

#include <vector>

#include "../world/world_fixture.h"
#include "audio/sound.h"
#include "frontend/end_of_game.h"
#include "frontend/menu.h"
#include "frontend/menu_screens.h"
#include "input/name_entry.h"
#include "replay/replay.h"
#include "test_support.h"

namespace tw::testing {

class FrontendTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    CopyInstalledTuning(dir_);
    config::GameOptions = config::Options{};
    config::GameOptions.StoryReaden = true;
    config::LoadHighScores();  // the built-in story table: 2500 down to 250
    core::SeedRandom(7);
    ListenToSounds();
  }

  // One menu-input frame with `code` down, then one with it up.
  static void Tap(int code) {
    Press(code);
    frontend::MenuInput();
    Release(code);
    frontend::MenuInput();
  }
  static int CountSound(const std::string& name) {
    int n = 0;
    for (const auto& s : PlayedSounds()) n += s.name == name ? 1 : 0;
    return n;
  }

  std::string ReadFile(const std::string& relative) const { return test::ReadText((dir_ / relative).string()); }
  bool Contains(const std::string& relative, const std::string& text) const {
    return ReadFile(relative).find(text) != std::string::npos;
  }
};

}  // namespace tw::testing
