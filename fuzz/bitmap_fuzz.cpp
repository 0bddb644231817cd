// Bitmap files through LoadBitmap.
#include "fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = fuzz::WriteInput("x.bmp", data, size);
  plat::Surface s;
  plat::LoadBitmap(s, path.c_str(), 1, 1);
  return 0;
}
