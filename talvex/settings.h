// talvex's frame settings: caption, pacing, bitmaps and the first state.
#pragma once
#include "talvex/talvex.h"

namespace talvex {

inline constexpr frame::ImageLoad kImages[] = {
    {"data\\boko.bmp", kPlatformSlot}, {"data\\mask.bmp", kMaskSlot},
    {"data\\stick.bmp", kStickSlot},   {"data\\tower.bmp", kTowerSlot},
    {"data\\end.bmp", kEndSlot},       {"data\\endmask.bmp", kEndMaskSlot},
};

// The help card shown on F1.
inline constexpr char kHelp[] =
    "回る塔を登ろう。いちばん上の足場より高く上がればゴール。\n"
    "Climb the turning tower: rise above the highest ledge to win.\n"
    "タイトル: 左クリックでスタート\n"
    "Title: a left click starts the climb.\n"
    "地面で ← →: 塔のまわりを歩く  ↑: ジャンプ\n"
    "On the ground Left and Right walk round the tower, Up jumps.\n"
    "足場の近くで Z を押したまま: つかまる  矢印キー: はって移動\n"
    "Near a ledge hold Z to hang on; the arrows crawl.\n"
    "矢印キーを押したまま Z を離す: 跳び出す\n"
    "Let go of Z with an arrow held to push off.\n"
    "Esc: 終了\n"
    "Escape quits.";

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "talvex";
  s.summary = "climb a turning tower by gripping its platforms and pushing off";
  s.caption = "Talvex";
  s.help = kHelp;
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
