// pixelart SRC.txt OUT.bmp: pixel art as text to a 24-bit bitmap.
#include <cstdio>

#include "tools/assetkit.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pixelart SRC.txt OUT.bmp\n");
    return 2;
  }
  assets::WriteBmp(argv[2], assets::ReadPixelArt(argv[1]));
  return 0;
}
