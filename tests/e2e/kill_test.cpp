// Kills at random moments while the game saves: options, a high-score table
// and the settings store are rewritten in a loop by a child process (with the
// game's own save functions) and the real binary is killed during its first
// start. Every file must then hold the old or the new content, never a torn
// or partial one, and the next start must leave no temporary file behind.
// TW_KILL_ROUNDS sets the number of kills of each kind (make kill-test: 300).
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "config/options.h"
#include "config/settings_store.h"
#include "platform/files.h"
#include "test_support.h"

extern char** environ;

namespace tw {
namespace {

namespace fs = std::filesystem;

int Rounds() {
  const char* v = std::getenv("TW_KILL_ROUNDS");
  return v != nullptr && std::atoi(v) > 0 ? std::atoi(v) : 20;
}

void KillAfter(pid_t pid, std::chrono::microseconds delay) {
  std::this_thread::sleep_for(delay);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

// One of two recognisable states of everything the game saves, written
// through the game's own functions.
void SaveState(int which) {
  config::GameOptions.Sound_On = which == 0;
  config::GameOptions.Details_High = which != 0;
  config::GameOptions.ArcadeLocked = which == 0;
  config::SaveOptions();
  for (int i = 0; i < 10; ++i) {
    config::HighScores[static_cast<std::size_t>(i)] = {(which == 0 ? "OLD" : "NEW") + std::to_string(i),
                                                        (10 - i) * (which == 0 ? 100 : 333), {}};
  }
  config::ClearPendingEntry();
  config::SaveHighScores();
  config::SaveSetting("tumblewell", "Stats", "Number_Of_Played_Games", which == 0 ? "7" : "12345");
}

std::vector<std::string> TemporariesIn(const std::vector<std::string>& dirs) {
  std::vector<std::string> found;
  for (const auto& d : dirs) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(d, ec))
      if (e.path().filename().string().find(".tmp") != std::string::npos) found.push_back(e.path().string());
  }
  return found;
}

pid_t SpawnGame(const std::vector<std::string>& args, const std::string& config_dir) {
  std::vector<std::string> argv_s{TW_BINARY};
  argv_s.insert(argv_s.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_s) argv.push_back(a.data());
  argv.push_back(nullptr);
  ::setenv("XDG_CONFIG_HOME", config_dir.c_str(), 1);
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

TEST(KillTest, SavesKilledAtRandomMomentsLeaveOldOrNewFilesAndNoTemporaries) {
  test::TempDir data, config;
  test::LinkAppData(data.path);
  ::setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
  platform::SetAppDir(data.path);
  config::GameOptions = config::Options{};
  const std::array<std::string, 3> files{config::OptionsFile(), config::HighScoreFile(),
                                         config::SettingsFile("tumblewell")};
  std::array<std::array<std::string, 2>, 3> contents;
  for (int which : {1, 0}) {
    SaveState(which);
    for (std::size_t f = 0; f < files.size(); ++f) contents[f][which] = test::ReadText(files[f]);
  }
  ASSERT_NE(contents[0][0], contents[0][1]);

  std::mt19937 rng(std::random_device{}());
  const int rounds = Rounds();
  int checked = 0;
  for (int r = 0; r < rounds; ++r) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int i = 1;; ++i) SaveState(i % 2);
    }
    KillAfter(pid, std::chrono::microseconds(std::uniform_int_distribution<int>(200, 30000)(rng)));
    for (std::size_t f = 0; f < files.size(); ++f, ++checked) {
      const std::string now = test::ReadText(files[f]);
      ASSERT_TRUE(now == contents[f][0] || now == contents[f][1]) << files[f] << " after kill " << r << ":\n" << now;
    }
  }

  // The first start, killed at any moment: no options file, or a whole one.
  int first_starts = 0;
  for (int r = 0; r < rounds; ++r) {
    test::TempDir fresh, fresh_config;
    test::LinkAppData(fresh.path);
    const pid_t pid = SpawnGame({"--data", fresh.path, "--headless", "--fast", "--frames", "100000"}, fresh_config.path);
    ASSERT_GT(pid, 0);
    KillAfter(pid, std::chrono::microseconds(std::uniform_int_distribution<int>(0, 400000)(rng)));
    const std::string options = fresh.File("textures/options.bmp");
    if (!fs::exists(options)) continue;
    ++first_starts;
    const std::string text = test::ReadText(options);
    for (const char* key : {"Details_High=", "GameMode_Story=", "Sound_On=", "FULL_SCREEN=", "ArcadeLocked=", "StoryReaden="})
      EXPECT_NE(text.find(key), std::string::npos) << "first start killed after writing part of the options: " << text;
  }

  EXPECT_GT(first_starts, 0) << "no first start got as far as its options file";

  // The next start clears what the killed saves left behind.
  const std::vector<std::string> dirs{data.path, data.File("textures"), config.File("tumblewell")};
  const pid_t pid = SpawnGame({"--data", data.path, "--headless", "--fast", "--frames", "1"}, config.path);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const auto left = TemporariesIn(dirs);
  EXPECT_TRUE(left.empty()) << left.size() << " temporaries left, e.g. " << left.front();
  std::printf("%d kills during saves, %d files checked; %d kills during first start (%d had begun writing options)\n",
              rounds, checked, rounds, first_starts);
}

}  // namespace
}  // namespace tw
