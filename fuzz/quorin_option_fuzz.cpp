// quorin's option file.
#include "fuzz/fuzz_file.h"
#include "quorin/quorin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::Folder() + "/option.txt";
  fuzz::WriteInput("option.txt", data, size);
  quorin::optionPath = path.c_str();
  quorin::ReadOptions();
  return 0;
}
