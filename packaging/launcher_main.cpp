// kobako: shows the collection's programs as tiles; a click or Enter starts one, and the
// launcher waits for it and comes back. Headless, a started game runs headless for a
// few frames, so that scripted runs can start games too.
#include <cstdio>
#include "packaging/launcher.h"
#include "platform/common/internal.h"
#include "platform/keys.h"
#include "platform/options.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  plat::Options opts;
  const plat::ProgramInfo info{"kobako", "shows the games of the collection; click one to play"};
  const int parsed = plat::ParseCommandLine(argc, argv, info, opts);
  if (parsed >= 0) return parsed;
  char folder[1024];
  const std::string own = plat::detail::ExecutableFolder(folder, sizeof folder) ? folder : "./";
  std::vector<kobako::Tile> tiles = kobako::FindPrograms(own);
  plat::WindowConfig config;
  config.caption = "kobako";
  config.vsync = true;
  config.presentTicksClock = true;
  if (!plat::OpenSystem(opts, config)) return 1;
  plat::Surface picture;
  picture.Create(plat::kScreenW, plat::kScreenH);
  int selected = tiles.empty() ? -1 : 0;
  int status = 0;
  bool running = true;
  while (running) {
    int start = -1;
    plat::Event e;
    while (plat::PollEvent(e)) {
      if (e.type == plat::EventType::Quit) {
        status = e.code;
        running = false;
      } else if (e.type == plat::EventType::MouseMove) {
        const int at = kobako::TileAt(static_cast<int>(tiles.size()), e.x, e.y);
        if (at >= 0) selected = at;
      } else if (e.type == plat::EventType::LButtonDown) {
        start = kobako::TileAt(static_cast<int>(tiles.size()), e.x, e.y);
      } else if (e.type == plat::EventType::KeyDown) {
        if (e.vk == plat::VK_ESCAPE) running = false;
        else if (e.vk == plat::VK_RETURN || e.vk == plat::VK_SPACE) start = selected;
        else selected = kobako::MoveSelection(static_cast<int>(tiles.size()), selected, e.vk);
      }
    }
    if (running && start >= 0) {
      selected = start;
      std::vector<std::string> args;
      if (opts.headless) args = {"--headless", "--frames", "60"};
      if (opts.mute) args.push_back("--mute");
      if (!opts.headless) plat::CloseSystem();
      const int rc = kobako::RunProgram(tiles[start].path, args);
      std::printf("kobako: %s ended with status %d\n", tiles[start].name.c_str(), rc);
      std::fflush(stdout);
      if (!opts.headless && !plat::OpenSystem(opts, config)) return 1;
    }
    kobako::DrawLauncher(picture, tiles, selected);
    plat::Present(picture);
    if (!opts.headless) plat::SleepMs(16);
  }
  plat::CloseSystem();
  return plat::ExitStatus(status);
}
