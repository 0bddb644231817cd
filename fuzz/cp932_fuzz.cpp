// Code-page-932 text to UTF-8, into a tight and a roomy buffer.
#include <cstdint>
#include <cstring>
#include <string>
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  char small[7];
  char large[4096];
  plat::Cp932ToUtf8(text.c_str(), small, sizeof small);
  plat::Cp932ToUtf8(text.c_str(), large, sizeof large);
  if (std::memchr(small, 0, sizeof small) == nullptr) __builtin_trap();
  return 0;
}
