// Where an installed program finds its data and keeps the player's files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include "platform/common/internal.h"

namespace {

std::string TempFolder() {
  char name[] = "/tmp/kobako_folders_XXXXXX";
  const char* made = mkdtemp(name);
  return made ? std::string(made) + "/" : std::string();
}

TEST(InstalledDataFolder, OnlyAnInstalledNameInBinWithItsShareFolder) {
  const std::string root = TempFolder();
  ASSERT_FALSE(root.empty());
  mkdir((root + "bin").c_str(), 0755);
  mkdir((root + "share").c_str(), 0755);
  mkdir((root + "share/kobako").c_str(), 0755);
  mkdir((root + "share/kobako/ball").c_str(), 0755);
  EXPECT_EQ(plat::detail::InstalledDataFolder(root + "bin/", "kobako-ball"),
            root + "share/kobako/ball/");
  // A build folder, another name, or a game whose data is missing: not installed.
  EXPECT_EQ(plat::detail::InstalledDataFolder(root + "bin/", "ball"), "");
  EXPECT_EQ(plat::detail::InstalledDataFolder(root + "bin/", "kobako-"), "");
  EXPECT_EQ(plat::detail::InstalledDataFolder(root + "bin/", "kobako-volley"), "");
  EXPECT_EQ(plat::detail::InstalledDataFolder(root + "share/", "kobako-ball"), "");
  EXPECT_EQ(plat::detail::InstalledDataFolder("/", "kobako-ball"), "");
  std::system(("rm -rf " + root).c_str());
}

TEST(PlayerFolder, XdgDataHomeThenHome) {
  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string keepXdg = oldXdg ? oldXdg : "", keepHome = oldHome ? oldHome : "";
  setenv("XDG_DATA_HOME", "/x/data", 1);
  EXPECT_EQ(plat::detail::PlayerFolder("quorin"), "/x/data/kobako/quorin/");
  setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", "/home/p", 1);
  EXPECT_EQ(plat::detail::PlayerFolder("quorin"), "/home/p/.local/share/kobako/quorin/");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(plat::detail::PlayerFolder("ball"), "/home/p/.local/share/kobako/ball/");
  unsetenv("HOME");
  EXPECT_EQ(plat::detail::PlayerFolder("ball"), "");
  if (oldXdg) setenv("XDG_DATA_HOME", keepXdg.c_str(), 1);
  if (oldHome) setenv("HOME", keepHome.c_str(), 1);
}

}  // namespace
