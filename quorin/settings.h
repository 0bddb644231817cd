// quorin's frame settings: caption, pacing, the two pictures and the first state.
#pragma once
#include "quorin/quorin.h"

namespace quorin {

inline constexpr frame::ImageLoad kImages[] = {
    {"data\\d2.bmp", kSheetSlot},
    {"data\\title.bmp", kTitleSlot},
};

// The help card shown on F1.
inline constexpr char kHelp[] =
    "落ちていく視点を矢印キーで動かし、低い土地に着地しよう。\n"
    "Steer the falling view with the arrow keys and touch down on low ground.\n"
    "黄緑がかった高い土地に降りるとライフが減り、尽きると終わり。\n"
    "Yellow-green high ground costs life; when it runs out, the game ends.\n"
    "矢印キー: 落下をずらす (勢いは押し返すまで残る)\n"
    "Arrow keys push the fall; the drift stays until you push back.\n"
    "タイトルでクリック: 開始   Y を押したまま: 早送り   Esc: 終了\n"
    "Click the title to start; hold Y to run fast; Escape quits.\n"
    "到達レベルは die.txt に、窓と明るさは option.txt に。\n"
    "The level reached goes into die.txt; option.txt sets window and brightness.";

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "quorin";
  s.summary = "steer a falling camera down onto low ground; high ground costs life";
  s.caption = "Quorin";
  s.help = kHelp;
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
