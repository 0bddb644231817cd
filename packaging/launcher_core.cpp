// The launcher's pieces: finding the programs, the tile layout and picture, starting one.
#include "packaging/launcher.h"
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "packaging/icon_art.h"
#include "platform/keys.h"
#include "platform/text.h"

namespace kobako {
namespace {

struct Known {
  const char* name;
  const char* title;
};
const Known kPrograms[] = {
#include "launcher_programs.inc"
};

constexpr int kPicture = 128;

bool Runnable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

}  // namespace

std::vector<Tile> FindPrograms(const std::string& folder) {
  std::vector<Tile> tiles;
  for (const Known& known : kPrograms) {
    std::string path = folder + "kobako-" + known.name;
    if (!Runnable(path)) path = folder + "../" + known.name + "/" + known.name;
    if (!Runnable(path)) continue;
    Tile tile{known.name, known.title, path, {}};
    tile.picture.Create(kPicture, kPicture);
    DrawIcon(tile.picture, known.name);
    tiles.push_back(std::move(tile));
  }
  return tiles;
}

int TileAt(int count, int x, int y) {
  if (x < kLeft || y < kTop) return -1;
  const int column = (x - kLeft) / (kTileW + kGap), row = (y - kTop) / (kTileH + kGap);
  if (column >= kColumns || (x - kLeft) % (kTileW + kGap) >= kTileW ||
      (y - kTop) % (kTileH + kGap) >= kTileH)
    return -1;
  const int index = row * kColumns + column;
  return index < count ? index : -1;
}

int MoveSelection(int count, int selected, int vk) {
  if (count <= 0) return -1;
  int next = selected;
  if (vk == plat::VK_LEFT) next -= 1;
  else if (vk == plat::VK_RIGHT) next += 1;
  else if (vk == plat::VK_UP) next -= kColumns;
  else if (vk == plat::VK_DOWN) next += kColumns;
  return next >= 0 && next < count ? next : selected;
}

void DrawLauncher(plat::Surface& out, const std::vector<Tile>& tiles, int selected) {
  plat::FillRect(out, 0, 0, out.width, out.height, 0x00203040);
  const plat::Font* big = plat::SmoothFont(28);
  const plat::Font* small = plat::SmoothFont(18);
  plat::DrawSmoothText(out, kLeft, 14, out.width, 50, "kobako", 0xFFFFF0D0, big);
  if (tiles.empty())
    plat::DrawSmoothText(out, kLeft, kTop, out.width, kTop + 40,
                         "No game is installed beside the launcher.", 0xFFFFFFFF, small);
  for (size_t i = 0; i < tiles.size(); ++i) {
    const int x = kLeft + static_cast<int>(i) % kColumns * (kTileW + kGap);
    const int y = kTop + static_cast<int>(i) / kColumns * (kTileH + kGap);
    const bool chosen = static_cast<int>(i) == selected;
    plat::FillRect(out, x, y, x + kTileW, y + kTileH, chosen ? 0x0040D0F0 : 0x00504030);
    plat::FillRect(out, x + 3, y + 3, x + kTileW - 3, y + kTileH - 3, 0x00302418);
    const int px = x + (kTileW - kPicture) / 2, py = y + 10;
    plat::Blit(out, px, py, kPicture, kPicture, tiles[i].picture, 0, 0, plat::Rop::Copy);
    plat::DrawSmoothText(out, x + 10, y + kPicture + 16, x + kTileW - 4, y + kTileH - 4,
                         tiles[i].title.c_str(), chosen ? 0xFFFFFFFF : 0xFFC0C0C0, small);
  }
  plat::DrawSmoothText(out, kLeft, 450, out.width, 476,
                       "Arrows choose, Enter or a click starts, Escape quits", 0xFFA0B0C0, small);
}

int RunProgram(const std::string& path, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    std::fprintf(stderr, "kobako: cannot start '%s': %s\n", path.c_str(), std::strerror(errno));
    return -1;
  }
  if (pid == 0) {
    execv(path.c_str(), argv.data());
    std::fprintf(stderr, "kobako: cannot start '%s': %s\n", path.c_str(), std::strerror(errno));
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace kobako
