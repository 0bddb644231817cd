// boundary's frame settings: the DC-table generation, 16 ms frames, Y fast-forward, the
// stretched final copy, a cross-hair cursor and masked text in layout B. It loads no
// bitmap and creates no extra surface: nothing of the program reads them.
#pragma once
#include "boundary/boundary.h"

namespace boundary {

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "boundary";
  s.summary = "catch the dust that swings through the line and burst it in chains";
  s.caption = "─";
  s.generation = frame::Generation::DCTable;
  s.frameBudget = 16;
  s.fastForwardKey = true;
  s.stretchCopy = true;
  s.cursor = plat::Cursor::Cross;
  s.firstState = Title;
  s.maskedLayout = frame::MaskedLayout::B;
  s.frameStartAtStartup = false;
  s.setup = Setup;
  s.step = Step;
  return s;
}

inline constexpr frame::FrameSettings kSettings = MakeSettings();

}  // namespace boundary
