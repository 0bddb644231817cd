// The command line: the input is split at line ends into arguments. Arguments that
// would read a file (--input) are left out: the script reader has a harness of its own.
#include <cstdint>
#include <string>
#include <vector>
#include "platform/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args = {"fuzz"};
  std::string arg;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == '\n') {
      if (arg.rfind("--i", 0) == 0 || (args.size() > 1 && args.back().rfind("--i", 0) == 0))
        return 0;
      args.push_back(arg);
      arg.clear();
    } else {
      arg += static_cast<char>(data[i]);
    }
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  plat::Options opts;
  plat::ParseCommandLine(static_cast<int>(args.size()), argv.data(), {"fuzz", "fuzzing"}, opts);
  return 0;
}
