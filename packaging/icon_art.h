// The programs' icons, drawn by code at any size.
#pragma once
#include <string>
#include "platform/surface.h"

namespace kobako {

// Draws the icon of program NAME ("kobako" for the launcher) over all of s (square).
void DrawIcon(plat::Surface& s, const std::string& name);

}  // namespace kobako
