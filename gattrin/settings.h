// gattrin's frame settings: caption, pacing, cursor, help card, sounds and the first
// state. No pictures are loaded: the scene is drawn from boxes, discs, lines and texts.
#pragma once
#include "gattrin/gattrin.h"

namespace gattrin {

// The help card shown on F1.
inline constexpr char kHelp[] =
    "四つの扉に閂を動かして門を守ろう。結果は耐えた時間。\n"
    "Hold the gate by moving the bars between its four doors.\n"
    "タイトル: 青いボタンで閂三本、赤いボタンで閂二本\n"
    "Title: the blue button plays with three bars, the red with two.\n"
    "矢印キー: 手ぶらなら反対側の扉の閂を抜き、\n"
    "閂を持っていれば矢印の側の空いた扉に差す\n"
    "Arrows: with empty hands, pull the far door's bar;\n"
    "holding a bar, drop it into the empty door on that side.\n"
    "門で止まる光線: その扉がまもなく打たれる\n"
    "A beam that stops at the gate: that door is about to be pounded.\n"
    "開いた扉を打たれると門が弱り、中心の光が暗くなる\n"
    "Blows on an open door weaken the gate; the core darkens.\n"
    "Esc: ゲーム終了  ゲームオーバーでクリック: タイトルへ\n"
    "Escape ends a game; on the game-over screen, click for the title.";

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "gattrin";
  s.summary = "hold the gate: move the bars between its four doors with the arrow keys";
  s.caption = "Gattrin";
  s.help = kHelp;
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
