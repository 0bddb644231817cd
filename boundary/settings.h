// boundary's frame settings: the DC-table generation, 16 ms frames, Y fast-forward, the
// stretched final copy, a cross-hair cursor and masked text in layout B. It loads no
// bitmap and creates no extra surface: nothing of the program reads them.
#pragma once
#include "boundary/boundary.h"

namespace boundary {

inline constexpr const char* kHelp =
    "線を横切るちりを受け止めて、連鎖ではじけさせよう。\n"
    "マウスで線の上の自分(緑)を左右に動かす。\n"
    "左ボタンを押し続けるとためる(黄)。離すと受け止めたちりがはじける。\n"
    "はじけたちりは近くのちりに火をつけ、連鎖していく。\n"
    "自分の真上で線を横切ったちりは体力を削る。緑が消えたら終わり。\n"
    "Esc: 終了   Y (押している間): 早送り\n"
    "\n"
    "Catch the dust that swings through the line and burst it in chains.\n"
    "The mouse moves you (green) along the line.\n"
    "Hold the left button to charge (yellow); release to burst what you caught.\n"
    "A burst sets the dust near it alight, and that bursts in turn.\n"
    "Dust crossing the line right at you hurts; no green left: game over.\n"
    "Esc: quit   Y (held): fast forward";

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "boundary";
  s.summary = "catch the dust that swings through the line and burst it in chains";
  s.caption = "─";
  s.help = kHelp;
  s.generation = frame::Generation::DCTable;
  s.frameBudget = 16;
  s.fastForwardKey = true;
  s.stretchCopy = true;
  s.cursor = plat::Cursor::Cross;
  s.firstState = Title;
  s.maskedLayout = frame::MaskedLayout::B;
  // The first frame's wait is measured from the clock at start-up: measured from 0, a
  // clock past 2^31 ms would make that wait run until the clock wraps.
  s.frameStartAtStartup = true;
  s.setup = Setup;
  s.step = Step;
  return s;
}

inline constexpr frame::FrameSettings kSettings = MakeSettings();

}  // namespace boundary
