// Draws the menu icons of the programs: `kobako_icons OUTDIR NAME...` writes
// OUTDIR/SIZE/NAME.png for each icon size, each drawn at its own size (not scaled down)
// so that small icons stay sharp.
#include <sys/stat.h>
#include <cstdio>
#include <string>
#include "packaging/icon_art.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: kobako_icons OUTDIR NAME...\n");
    return 2;
  }
  static const int sizes[] = {32, 48, 64, 128, 256};
  for (int size : sizes) {
    const std::string folder = std::string(argv[1]) + "/" + std::to_string(size);
    mkdir(argv[1], 0755);
    mkdir(folder.c_str(), 0755);
    for (int i = 2; i < argc; ++i) {
      plat::Surface s;
      s.Create(size, size);
      kobako::DrawIcon(s, argv[i]);
      const std::string path = folder + "/" + argv[i] + ".png";
      if (!plat::WritePng(s, path.c_str())) {
        std::fprintf(stderr, "kobako_icons: cannot write %s\n", path.c_str());
        return 1;
      }
    }
  }
  return 0;
}
