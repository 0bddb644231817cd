// Where boundary's media commands go.
#pragma once
#include "platform/system.h"

namespace boundary {
// plat::SoundCommand by default; tests put a recorder here.
extern void (*mediaSink)(const char* command);
}  // namespace boundary
