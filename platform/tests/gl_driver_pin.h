// Each window's renderer loads the GL driver (Mesa's, under Xvfb) and unloads it again
// when the window closes; what the driver keeps for the process's life then shows up in
// the leak report from an unknown module, which no suppression can name. A test program
// that opens real windows includes this: the driver is loaded once and never unloaded, so
// its frames keep their names and tools/lsan.supp covers them.
#pragma once
#include <dlfcn.h>
#include <cstdlib>
#include <string>

namespace gl_driver_pin {

inline const bool pinned = [] {
  const char* dirs[] = {std::getenv("LIBGL_DRIVERS_PATH"), "/usr/lib/x86_64-linux-gnu/dri",
                        "/usr/lib/aarch64-linux-gnu/dri", "/usr/lib64/dri", "/usr/lib/dri"};
  for (const char* dir : dirs) {
    if (!dir) continue;
    const std::string path = std::string(dir) + "/swrast_dri.so";
    if (dlopen(path.c_str(), RTLD_NOW | RTLD_NODELETE)) return true;
  }
  return false;
}();

}  // namespace gl_driver_pin
