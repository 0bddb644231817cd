// ostel's frame settings: caption, pacing, cursor, surfaces, help card and the first state.
#pragma once
#include "ostel/ostel.h"

namespace ostel {

// The help card, shown on F1.
inline constexpr char kHelp[] =
    "＠：光の粒の中で生き延びる\n"
    "上から降ってくる光の粒に触れると耐久力が減ります。触れずにいれば少しずつ回復します。\n"
    "耐久力が尽きるか、画面の下に落ちすぎるか、自分の爆弾に巻き込まれると力尽きます。\n"
    "← →: 左右に舵を取る   X: 右へ爆弾   Z: 左へ爆弾   Y (押し続け): 早送り\n"
    "タイトルでクリック: 開始   ゲームオーバーでクリック: タイトルへ   Esc: 終了\n"
    "\n"
    "Survive among falling motes of light. Each step a mote touches you costs endurance; "
    "it recovers slowly while nothing touches you. Your light turns from red to blue as it "
    "runs low. You give out when it is spent, when you sink far below the screen, or when "
    "one of your own bombs catches you. Bombs explode three seconds after the throw and "
    "wipe out the motes near them.\n"
    "Left/Right: steer   X: bomb to the right   Z: bomb to the left   hold Y: fast forward\n"
    "Click on the title: start   click on the game-over screen: title   Escape: quit";

constexpr frame::FrameSettings MakeSettings() {
  frame::FrameSettings s;
  s.name = "ostel";
  s.summary = "survive among falling, pushing motes of light, drawn as a mosaic of light";
  s.caption = "＠";
  s.help = kHelp;
  s.generation = frame::Generation::DCTable;
  s.frameBudget = 16;
  s.fastForwardKey = true;
  s.stretchCopy = true;
  s.cursor = plat::Cursor::Cross;
  s.firstState = Title;
  s.maskedLayout = frame::MaskedLayout::C;
  s.scratchW = 640;
  s.scratchH = 960;
  // The old program's 1280x480 surface and its picture were never read: neither is made.
  s.extraW = 0;
  s.extraH = 0;
  s.frameStartAtStartup = false;
  s.images = nullptr;
  s.imageCount = 0;
  s.setup = Setup;
  s.step = Step;
  return s;
}

inline constexpr frame::FrameSettings kSettings = MakeSettings();

}  // namespace ostel
