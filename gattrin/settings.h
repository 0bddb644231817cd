// gattrin's frame settings: caption, pacing, cursor, sounds and the first state. The two
// pictures the old program loaded were never drawn, so none is loaded.
#pragma once
#include "gattrin/gattrin.h"

namespace gattrin {

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "gattrin";
  s.summary = "hold the gate: move the bars between its four doors with the arrow keys";
  s.caption = "Gattrin";
  s.generation = frame::Generation::NamedDC;
  s.frameBudget = 16;
  s.fastForwardKey = false;
  s.stretchCopy = false;
  s.cursor = plat::Cursor::Arrow;
  s.firstState = EnterTitle;
  s.setup = OpenSounds;
  s.step = Step;
  return s;
}

inline constexpr frame::FrameSettings kSettings = MakeSettings();

}  // namespace gattrin
