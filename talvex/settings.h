// talvex's frame settings: caption, pacing, bitmaps and the first state.
#pragma once
#include "talvex/talvex.h"

namespace talvex {

inline constexpr frame::ImageLoad kImages[] = {
    {"data\\boko.bmp", kPlatformSlot}, {"data\\mask.bmp", kMaskSlot},
    {"data\\stick.bmp", kStickSlot},   {"data\\tower.bmp", kTowerSlot},
    {"data\\end.bmp", kEndSlot},       {"data\\endmask.bmp", kEndMaskSlot},
};

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "talvex";
  s.summary = "climb a turning tower by gripping its platforms and pushing off";
  s.caption = "Talvex";
  s.generation = frame::Generation::DCTable;
  s.frameBudget = 50;
  s.fastForwardKey = false;
  s.stretchCopy = false;
  s.cursor = plat::Cursor::Arrow;
  s.firstState = Title;
  s.maskedLayout = frame::MaskedLayout::A;
  s.frameStartAtStartup = true;
  s.images = kImages;
  s.imageCount = 6;
  // A missing bitmap becomes a blank surface as big as the largest picture.
  s.imageW = 640;
  s.imageH = 480;
  s.setup = Setup;
  s.step = Step;
  return s;
}

inline constexpr frame::FrameSettings kSettings = MakeSettings();

}  // namespace talvex
