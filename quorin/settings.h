// quorin's frame settings: caption, pacing, the two pictures and the first state.
#pragma once
#include "quorin/quorin.h"

namespace quorin {

inline constexpr frame::ImageLoad kImages[] = {
    {"data\\d2.bmp", kSheetSlot},
    {"data\\title.bmp", kTitleSlot},
};

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "quorin";
  s.summary = "steer a falling camera down onto low ground; high ground costs life";
  s.caption = "Quorin";
  s.generation = frame::Generation::DCTable;
  s.frameBudget = 33;
  s.fastForwardKey = true;
  s.stretchCopy = false;
  s.cursor = plat::Cursor::Arrow;
  s.firstState = Title;
  // No masked text, so no scratch surface; the old 1280x960 slot 3 was never read, so it
  // is not created.
  s.frameStartAtStartup = false;
  s.images = kImages;
  s.imageCount = 2;
  // A missing picture becomes a blank surface big enough for every cell read from it.
  s.imageW = 1280;
  s.imageH = 960;
  s.readSettings = ReadSettings;
  s.setup = Setup;
  s.step = Step;
  return s;
}

inline constexpr frame::FrameSettings kSettings = MakeSettings();

}  // namespace quorin
