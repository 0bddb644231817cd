// The frame demonstration: a title screen and three pages that use every helper of the
// frame, runnable on either generation.
#pragma once
#include "frame/frame.h"

namespace framedemo {

enum State { Quit = 0, Title = 1, Shapes = 2, Text = 3, Input = 4 };

// The settings of the named-DC build (false) or the DC-table build (true); also points
// the demo at that build's image slots.
const frame::FrameSettings& Settings(bool table);

}  // namespace framedemo
