// ball's frame settings: caption, pacing, cursor, bitmaps, sounds and the first state.
#pragma once
#include "ball/ball.h"

namespace ball {

inline constexpr frame::ImageLoad kImages[] = {
    {"data\\ball.bmp", kBallSlot},
    {"data\\mask.bmp", kMaskSlot},
    {"data\\back.bmp", kBackImageSlot},
    {"data\\enemy.bmp", kEnemySlot},
};

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "ball";
  s.summary = "launch balls up a scrolling course past ball-hunting enemies";
  s.caption = "Sendrik";
  s.generation = frame::Generation::NamedDC;
  s.frameBudget = 16;
  s.fastForwardKey = false;
  s.stretchCopy = false;
  s.cursor = plat::Cursor::Arrow;
  s.firstState = Title;
  s.rightButton = true;
  s.images = kImages;
  s.imageCount = 4;
  // A missing bitmap becomes a blank surface big enough for every cell read from it.
  s.imageW = 320;
  s.imageH = 180;
  s.setup = OpenSounds;
  s.step = Step;
  return s;
}

inline constexpr frame::FrameSettings kSettings = MakeSettings();

}  // namespace ball
