// The launcher `kobako`: the collection's programs as tiles in one window.
#pragma once
#include <string>
#include <vector>
#include "platform/surface.h"

namespace kobako {

struct Tile {
  std::string name;   // "ball"
  std::string title;  // "Sendrik"
  std::string path;   // the program to start
  plat::Surface picture;
};

// The programs found from the launcher's folder (ending in '/'): an installed
// kobako-NAME beside it, else a built ../NAME/NAME. Programs found neither way are left out.
std::vector<Tile> FindPrograms(const std::string& folder);

// Tile layout: four columns, two rows of tiles in the 640x480 picture.
constexpr int kColumns = 4;
constexpr int kTileW = 150, kTileH = 190, kGap = 8, kLeft = 10, kTop = 60;
// The tile under (x, y), or -1.
int TileAt(int count, int x, int y);
// The selection after an arrow key (vk) from selected, staying inside 0..count-1.
int MoveSelection(int count, int selected, int vk);

// Draws the launcher's picture (640x480).
void DrawLauncher(plat::Surface& out, const std::vector<Tile>& tiles, int selected);

// Starts the program with args and waits for it; its exit status, or -1 when it could
// not be started (with a message on stderr).
int RunProgram(const std::string& path, const std::vector<std::string>& args);

}  // namespace kobako
