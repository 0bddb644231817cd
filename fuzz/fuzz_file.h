// Helpers of the harnesses whose reader takes a file: the input is written to a file of
// this process's own temporary folder, which is also the data folder.
#pragma once
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "platform/surface.h"

namespace fuzz {

// The folder, made at the first call and set as the data folder.
inline const std::string& Folder() {
  static const std::string folder = [] {
    const char* base = std::getenv("TMPDIR");
    std::string f = std::string(base && *base ? base : "/tmp") + "/kobako-fuzz-" +
                    std::to_string(getpid());
    std::system(("mkdir -p '" + f + "/data'").c_str());
    plat::SetDataFolder(f.c_str());
    return f;
  }();
  return folder;
}

// Writes the input to FOLDER/name and returns the full path.
inline std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
  std::string path = Folder() + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}

}  // namespace fuzz
