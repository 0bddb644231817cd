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

// The help card shown on F1.
inline constexpr char kHelp[] =
    "ボールを打ち上げ、敵をかわしてコースを進もう。得点は進んだ距離。\n"
    "Launch balls up the scrolling course; the score is the distance.\n"
    "タイトル: Z でイージー、X でノーマル\n"
    "Title: Z starts an Easy game, X a Normal one.\n"
    "マウス: 発射台の向き  左クリック: 次のボールを発射\n"
    "The mouse aims the launcher; a left click fires the next ball.\n"
    "Z か X を押したまま: 左か右へ30度ずらして発射\n"
    "Hold Z or X to fire 30 degrees to the left or right.\n"
    "飛んでいる特殊ボールをクリック: 能力発動  普通のボール: 停止\n"
    "Click a flying special ball to set off its power, a normal one to stop it.\n"
    "Esc: ゲーム終了  GAMEOVER でクリック: タイトルへ\n"
    "Escape ends the game; on GAMEOVER a click returns to the title.";

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "ball";
  s.summary = "launch balls up a scrolling course past ball-hunting enemies";
  s.caption = "Sendrik";
  s.help = kHelp;
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
