// The launcher's layout and its search for programs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include "packaging/launcher.h"
#include "platform/keys.h"

namespace {

TEST(Launcher, TilesUnderThePointerAndArrowKeys) {
  using namespace kobako;
  EXPECT_EQ(TileAt(8, kLeft, kTop), 0);
  EXPECT_EQ(TileAt(8, kLeft + kTileW - 1, kTop + kTileH - 1), 0);
  EXPECT_EQ(TileAt(8, kLeft + kTileW, kTop), -1);  // the gap between tiles
  EXPECT_EQ(TileAt(8, kLeft + kTileW + kGap, kTop), 1);
  EXPECT_EQ(TileAt(8, kLeft, kTop + kTileH + kGap), 4);
  EXPECT_EQ(TileAt(3, kLeft, kTop + kTileH + kGap), -1);  // no fifth tile
  EXPECT_EQ(TileAt(8, kLeft - 1, kTop), -1);
  EXPECT_EQ(TileAt(8, kLeft + 4 * (kTileW + kGap), kTop), -1);  // right of the last column
  EXPECT_EQ(MoveSelection(8, 0, plat::VK_LEFT), 0);
  EXPECT_EQ(MoveSelection(8, 0, plat::VK_RIGHT), 1);
  EXPECT_EQ(MoveSelection(8, 1, plat::VK_DOWN), 5);
  EXPECT_EQ(MoveSelection(6, 3, plat::VK_DOWN), 3);  // nothing below
  EXPECT_EQ(MoveSelection(8, 5, plat::VK_UP), 1);
  EXPECT_EQ(MoveSelection(0, 0, plat::VK_RIGHT), -1);
}

void Touch(const std::string& path, bool executable) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("#!/bin/sh\nexit 3\n", f);
  std::fclose(f);
  chmod(path.c_str(), executable ? 0755 : 0644);
}

TEST(Launcher, ListsOnlyProgramsInstalledOrBuiltBesideIt) {
  char name[] = "/tmp/kobako_launcher_XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  const std::string root = std::string(name) + "/";
  mkdir((root + "bin").c_str(), 0755);
  mkdir((root + "volley").c_str(), 0755);
  mkdir((root + "zombie").c_str(), 0755);
  Touch(root + "bin/kobako-ball", true);      // installed beside the launcher
  Touch(root + "volley/volley", true);        // built in its folder
  Touch(root + "zombie/zombie", false);       // not runnable
  const std::vector<kobako::Tile> tiles = kobako::FindPrograms(root + "bin/");
  ASSERT_EQ(tiles.size(), 2u);
  EXPECT_EQ(tiles[0].name, "ball");
  EXPECT_EQ(tiles[0].path, root + "bin/kobako-ball");
  EXPECT_EQ(tiles[1].name, "volley");
  EXPECT_EQ(tiles[1].path, root + "bin/../volley/volley");
  EXPECT_EQ(tiles[0].picture.width, 128);
  // The launcher waits for the program and gets its status; a missing one is -1.
  EXPECT_EQ(kobako::RunProgram(tiles[0].path, {}), 3);
  EXPECT_EQ(kobako::RunProgram(root + "nothing", {}), -1);
  std::system(("rm -rf " + root).c_str());
}

}  // namespace
