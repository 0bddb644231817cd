// cp932text SRC.txt OUT.txt: a UTF-8 text to code page 932 with CR LF line ends.
#include <cstdio>

#include "tools/assetkit.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cp932text SRC.txt OUT.txt\n");
    return 2;
  }
  assets::WriteFile(argv[2], assets::Utf8ToCp932(assets::ReadFile(argv[1]), argv[1]));
  return 0;
}
