#include "config/saves.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/ini_store.h"
#include "platform/files.h"
#include "test_support.h"

namespace tw::config {
namespace {

namespace fs = std::filesystem;

TEST(Saves, AFailedSaveIsKeptSeenByReadsAndWrittenAtTheNextSave) {
  test::TempDir dir;
  // A file where the folder should be: the save cannot be made.
  test::WriteText(dir.File("textures"), "in the way");
  const std::string file = dir.File("textures/options.bmp");
  EXPECT_FALSE(SaveText(file, "[main]\r\nSound_On=False\r\n", "the options"));
  EXPECT_EQ(UnsavedFileCount(), 1);
  EXPECT_EQ(CurrentSaveNotice().line1, "The options not saved!");
  EXPECT_EQ(CurrentSaveNotice().frames_left, kSaveNoticeFrames);
  // Reads see what the game meant to save, so a later change builds on it.
  EXPECT_EQ(LoadText(file, "the options"), std::optional<std::string>("[main]\r\nSound_On=False\r\n"));
  EXPECT_TRUE(WriteIni("main", "Details_High", "True", file, "the options") == false);
  // The way is cleared: the next save of anything writes the kept text too.
  fs::remove(dir.File("textures"));
  fs::create_directories(dir.File("textures"));
  EXPECT_TRUE(SaveText(dir.File("other.ini"), "x", "the settings"));
  EXPECT_EQ(UnsavedFileCount(), 0);
  EXPECT_EQ(test::ReadText(file), "[main]\r\nSound_On=False\r\nDetails_High=True\r\n");
  EXPECT_TRUE(SaveEverythingAtShutDown());
}

TEST(Saves, WhatCannotBeSavedByTheShutDownIsLost) {
  test::TempDir dir;
  test::WriteText(dir.File("blocker"), "in the way");
  EXPECT_FALSE(SaveText(dir.File("blocker/settings.ini"), "x", "the settings"));
  EXPECT_FALSE(SaveEverythingAtShutDown());
  EXPECT_EQ(UnsavedFileCount(), 1);
}

TEST(Saves, AFileThatCannotBeReadIsNeverSavedOver) {
  test::TempDir dir;
  fs::create_directories(dir.File("scores.bmp/inner"));
  EXPECT_FALSE(LoadText(dir.File("scores.bmp"), "the high scores"));
  EXPECT_TRUE(platform::IsKeptUntouched(dir.File("scores.bmp")));
  EXPECT_FALSE(SaveText(dir.File("scores.bmp"), "[hs]\r\n", "the high scores"));
  EXPECT_EQ(UnsavedFileCount(), 0);  // not a failure to try again: it is left alone
  EXPECT_TRUE(fs::is_directory(dir.File("scores.bmp/inner")));
  EXPECT_FALSE(LoadText(dir.File("missing.bmp"), "the options"));
  EXPECT_FALSE(platform::IsKeptUntouched(dir.File("missing.bmp")));
}

}  // namespace
}  // namespace tw::config
