// Input scripts.
#include <cstdint>
#include <string>
#include <vector>
#include "platform/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<plat::ScriptEvent> events;
  std::string error;
  plat::ParseScript(std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt", events,
                    error);
  return 0;
}
