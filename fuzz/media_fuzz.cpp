// Media command strings.
#include <cstdint>
#include <cstring>
#include <string>
#include "platform/common/internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  plat::detail::MediaCommand c;
  if (!plat::detail::ParseMediaCommand(text.c_str(), c) &&
      (c.path[0] != 0 || c.alias[0] != 0))
    __builtin_trap();  // a failed command leaves nothing behind
  if (std::memchr(c.path, 0, sizeof c.path) == nullptr ||
      std::memchr(c.alias, 0, sizeof c.alias) == nullptr)
    __builtin_trap();
  return 0;
}
