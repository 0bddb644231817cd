// Where a program's data lives: relative data paths are taken from one folder, the
// executable's own by default, so that "data\\back.bmp" opens whatever the working
// directory. An installed layout (a program in bin/, its data elsewhere) only needs
// another folder here.
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include "platform/common/internal.h"
#include "platform/surface.h"

namespace plat {
namespace {

char dataFolder[1024] = "";  // "" or a folder ending in '/'

}  // namespace

void SetDataFolder(const char* folder) {
  dataFolder[0] = 0;
  if (folder == nullptr || folder[0] == 0) return;
  const size_t n = std::strlen(folder);
  if (n + 2 > sizeof dataFolder) return;  // too long to use: keep the working directory
  std::memcpy(dataFolder, folder, n + 1);
  if (folder[n - 1] != '/') std::memcpy(dataFolder + n, "/", 2);
}

void DataPath(const char* path, char* out, int cap) {
  if (out == nullptr || cap <= 0) return;
  char native[1024];
  NativePath(path, native, sizeof native);
  if (native[0] == '/' || dataFolder[0] == 0)
    std::snprintf(out, static_cast<size_t>(cap), "%s", native);
  else
    std::snprintf(out, static_cast<size_t>(cap), "%s%s", dataFolder, native);
}

namespace detail {

bool ExecutableFolder(char* out, int cap) {
  if (out == nullptr || cap < 2) return false;
  const ssize_t n = readlink("/proc/self/exe", out, static_cast<size_t>(cap) - 1);
  if (n <= 0) return false;
  out[n] = 0;
  char* slash = std::strrchr(out, '/');
  if (slash == nullptr) return false;
  slash[1] = 0;
  return true;
}

}  // namespace detail
}  // namespace plat
