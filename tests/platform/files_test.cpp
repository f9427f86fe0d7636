#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

namespace tw::platform {
namespace {

TEST(Paths, GamePathsResolveWithoutRegardToCaseOrSlashes) {
  test::TempDir dir;
  test::WriteText(dir.File("Textures/Level_Tiles/tile_ground_green.dds"), "x");
  test::WriteText(dir.File("Textures/lvl1.bmp"), "y");
  test::WriteText(dir.File("Textures/LVL1.bmp"), "z");
  SetAppDir(dir.path);
  EXPECT_EQ(AppPath("\\textures\\level_tiles\\TILE_GROUND_GREEN.DDS"),
            dir.path + "/Textures/Level_Tiles/tile_ground_green.dds");
  // An exact match wins over a case-insensitive one.
  EXPECT_EQ(AppPath("\\Textures\\lvl1.bmp"), dir.path + "/Textures/lvl1.bmp");
  EXPECT_EQ(AppPath("\\Textures\\LVL1.bmp"), dir.path + "/Textures/LVL1.bmp");
  EXPECT_EQ(AppPath("sfx/jump.wav"), dir.path + "/sfx/jump.wav");  // missing: kept as written
  EXPECT_TRUE(FileExists(AppPath("\\TEXTURES\\LEVEL_TILES\\tile_ground_green.dds")));
  EXPECT_FALSE(FileExists(AppPath("\\textures")));  // a folder is not a file
  SetAppDir(dir.path + "/Other/");  // missing folders: the rest as written
  EXPECT_EQ(AppDir(), dir.path + "/Other");
  EXPECT_EQ(AppPath("\\Textures\\options.bmp"), dir.path + "/Other/Textures/options.bmp");
}

TEST(Paths, ApplicationDirectoryDefaultsToTheExecutablesFolder) {
  EXPECT_EQ(AppDir(), ExecutableDir());
  EXPECT_TRUE(std::filesystem::is_directory(AppDir()));
}

TEST(AtomicWrite, ReplacesWholeFilesOrLeavesWhatWasThere) {
  test::TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir.File("a/b/scores.bmp"), "first"));
  ASSERT_TRUE(WriteFileAtomic(dir.File("a/b/scores.bmp"), "second, longer"));
  EXPECT_EQ(ReadFile(dir.File("a/b/scores.bmp")), std::optional<std::string>("second, longer"));
  // Writing over a folder fails at the rename and keeps the folder.
  std::filesystem::create_directories(dir.File("folder/inner"));
  EXPECT_FALSE(WriteFileAtomic(dir.File("folder"), "x"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder/inner")));
  // A parent that is a file cannot hold the new file; the file is untouched.
  ASSERT_TRUE(WriteFileAtomic(dir.File("plain"), "precious"));
  EXPECT_FALSE(WriteFileAtomic(dir.File("plain/child.ini"), "x"));
  EXPECT_EQ(ReadFile(dir.File("plain")), std::optional<std::string>("precious"));
  // No temporaries left behind anywhere.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::recursive_directory_iterator(dir.path)) ++entries;
  EXPECT_EQ(entries, 6);  // a, a/b, a/b/scores.bmp, folder, folder/inner, plain
}

TEST(Reads, OnlyRegularFilesOfASaneSizeAreRead) {
  // Each of these is treated as missing: a FIFO used to hang the start for
  // ever, a link to /dev/zero to read until memory ran out.
  test::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.File("zero"));
  std::filesystem::create_directories(dir.File("folder"));
  test::WriteText(dir.File("big"), "");
  std::filesystem::resize_file(dir.File("big"), static_cast<std::uintmax_t>(kMaxReadBytes) + 1);
  for (const char* name : {"fifo", "zero", "folder", "big", "missing"}) EXPECT_FALSE(ReadFile(dir.File(name))) << name;
  std::filesystem::resize_file(dir.File("big"), static_cast<std::uintmax_t>(kMaxReadBytes));
  EXPECT_EQ(ReadFile(dir.File("big")).value_or("").size(), static_cast<std::size_t>(kMaxReadBytes));
}

TEST(AtomicWrite, APlantedLinkAtTheTemporaryNameIsNeverWrittenThrough) {
  // Another user could guess the temporary's name (the target, ".tmp", the
  // process id and a counter) and plant a link there: the save must take a
  // fresh name and leave the link's target alone.
  test::TempDir dir;
  test::WriteText(dir.File("victim"), "not yours");
  for (int n = 0; n < 50; ++n) {
    std::filesystem::create_symlink(dir.File("victim"),
                                    dir.File("scores.bmp.tmp" + std::to_string(::getpid()) + "_" + std::to_string(n)));
  }
  ASSERT_TRUE(WriteFileAtomic(dir.File("scores.bmp"), "the table"));
  EXPECT_EQ(ReadFile(dir.File("victim")), std::optional<std::string>("not yours"));
  EXPECT_FALSE(std::filesystem::is_symlink(dir.File("scores.bmp")));
  EXPECT_EQ(ReadFile(dir.File("scores.bmp")), std::optional<std::string>("the table"));
}

TEST(AtomicWrite, AFailureSaysWhyAndAFileKeptUntouchedIsNeverReplaced) {
  test::TempDir dir;
  test::WriteText(dir.File("plain"), "precious");
  const WriteResult r = WriteFileAtomic(dir.File("plain/child.ini"), "x");
  EXPECT_FALSE(r);
  EXPECT_EQ(r.error, ENOTDIR);
  EXPECT_EQ(r.Reason(), "Not a directory");
  KeepUntouched(dir.File("plain"));
  const WriteResult kept = WriteFileAtomic(dir.File("plain"), "overwritten");
  EXPECT_TRUE(kept.blocked);
  EXPECT_EQ(ReadFile(dir.File("plain")), std::optional<std::string>("precious"));
}

TEST(AtomicWrite, AReplacedFileKeepsItsPermissionBits) {
  // A table the player made private stays private after the next score.
  test::TempDir dir;
  const ::mode_t mask = ::umask(022);
  for (const ::mode_t mode : {0600, 0640, 0444}) {
    const std::string file = dir.File("table" + std::to_string(mode));
    ASSERT_TRUE(WriteFileAtomic(file, "old"));
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    ASSERT_TRUE(WriteFileAtomic(file, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode) << file;
    EXPECT_EQ(ReadFile(file), std::optional<std::string>("new"));
  }
  struct stat fresh {};
  ASSERT_TRUE(WriteFileAtomic(dir.File("fresh"), "x"));
  ASSERT_EQ(::stat(dir.File("fresh").c_str(), &fresh), 0);
  EXPECT_EQ(fresh.st_mode & 07777, 0644u);
  ::umask(mask);
}

TEST(Startup, OnlyTheTemporariesOfSavedFilesOfDeadRunsAreRemoved) {
  test::TempDir dir;
  const std::string dead = "999999999", alive = std::to_string(::getpid());
  const std::pair<std::string, bool> files[] = {
      {"options.bmp.tmp" + dead + "_4", false},   {"Dot_Black2.BMP.tmp" + dead + "_0", false},
      {"screenshot007.bmp.tmp" + dead + "_1", false}, {"options.bmp.tmp" + alive + "_0", true},
      {"notes.tmp2024_05", true},                 {"budget.tmp" + dead + "_05", true},
      {"options.bmp.tmpx_1", true},               {"xoptions.bmp.tmp" + dead + "_1", true}};
  for (const auto& [name, stays] : files) test::WriteText(dir.File(name), "partial");
  RemoveStaleTemporaries(dir.path, {"options.bmp", "dot_black2.bmp", "screenshot*"});
  for (const auto& [name, stays] : files) EXPECT_EQ(std::filesystem::exists(dir.File(name)), stays) << name;
}

TEST(UserData, AnInstalledCopyIsNeverPortableEvenWhenItCanBeWritten) {
  // Root can write to /usr/share/tumblewell; that does not make it a portable copy.
  test::TempDir dir;
  for (const std::string& data : {dir.File("usr/share/tumblewell"), dir.File("opt/share/tumblewell/"), dir.File("portable")}) {
    std::filesystem::create_directories(data + "/textures");
    SetAppDir(data);
    EXPECT_EQ(AppDirIsPortable(), data == dir.File("portable")) << data;
  }
  ::setenv("XDG_DATA_HOME", dir.File("home/data").c_str(), 1);
  SetAppDir(dir.File("usr/share/tumblewell"));
  EXPECT_EQ(UserFile("\\textures\\options.bmp"), dir.File("home/data/tumblewell/textures/options.bmp"));
}

TEST(Reads, AFileThatIsThereButCannotBeReadIsNotMissing) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.File("folder"));
  const ReadResult missing = ReadFileChecked(dir.File("missing"));
  EXPECT_TRUE(missing.missing);
  EXPECT_FALSE(missing.text);
  const ReadResult folder = ReadFileChecked(dir.File("folder"));
  EXPECT_FALSE(folder.missing);
  EXPECT_FALSE(folder.text);
  EXPECT_EQ(folder.reason, "Is a directory");
  test::WriteText(dir.File("plain"), "x");
  EXPECT_EQ(ReadFileChecked(dir.File("plain")).text, std::optional<std::string>("x"));
}

TEST(UserConfig, NoHomeAndNoXdgFoldersMeanNoPerUserFolderAtAll) {
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("HOME");
  EXPECT_EQ(UserConfigDir(), "");  // never a shared folder such as /tmp
  EXPECT_EQ(UserDataDir(), "");
}

TEST(UserConfig, HonoursXdgConfigHome) {
  ::setenv("XDG_CONFIG_HOME", "/some/where", 1);
  EXPECT_EQ(UserConfigDir(), "/some/where");
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not absolute: ignored
  ::setenv("HOME", "/home/player", 1);
  EXPECT_EQ(UserConfigDir(), "/home/player/.config");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserConfigDir(), "/home/player/.config");
}

}  // namespace
}  // namespace tw::platform
