// The siege scene (gate, core, bars, attackers, beams) and the title and game-over texts
// drawn over it.
#include <cmath>
#include <cstdio>
#include "gattrin/gattrin.h"
#include "platform/keys.h"

namespace gattrin {

char textBuffer[32];

namespace {

constexpr plat::Colour Rgb(int r, int g, int b) {
  return static_cast<plat::Colour>(r | (g << 8) | (b << 16));
}

constexpr plat::Colour kBlack = Rgb(0, 0, 0);
constexpr plat::Colour kWhite = Rgb(255, 255, 255);
constexpr plat::Colour kWood = Rgb(128, 64, 0);
constexpr plat::Colour kBar = Rgb(255, 128, 0);
constexpr plat::Colour kBody = Rgb(0, 128, 0);
constexpr plat::Colour kBeam = Rgb(255, 255, 0);
constexpr plat::Colour kBlue = Rgb(0, 0, 255);
constexpr plat::Colour kRed = Rgb(255, 0, 0);

// Dashes crawl 3 pixels per update toward the gate and repeat every 12 updates.
int Crawl() { return 3 * (tick % 12); }

// Beam, body and spinner. Along the top and bottom edges the head runs at x = D, or
// 640 - D moving left; along the left and right edges at y = D - 80, or 560 - D moving up
// (the body's y is formed as 556 - D then, so each sum is rounded once, in that order).
void DrawAttacker(const Attacker& a) {
  const float D = a.phase * a.speed + 260;
  const bool back = a.direction % 2 != 0;  // moving left or up
  const auto T = [](float v) { return static_cast<int>(v); };
  const int side = a.direction / 2;
  if (side == Top || side == Bottom) {
    const float x = back ? 640 - D : D;
    const int bodyY = side == Top ? 28 : 416, headY = side == Top ? 32 : 448;
    if (side == Top) DrawBeamDown(T(x));
    else DrawBeamUp(T(x));
    frame::DrawBox(T(x - 4), bodyY, 8, 36, kBody);
    DrawSpinner(T(x), headY, a.phase);
  } else {
    const float y = back ? 560 - D : D - 80;
    const float bodyY = back ? 556 - D : D - 84;
    const int bodyX = side == Left ? 28 : 576, headX = side == Left ? 32 : 608;
    if (side == Left) DrawBeamRight(T(y));
    else DrawBeamLeft(T(y));
    frame::DrawBox(bodyX, T(bodyY), 36, 8, kBody);
    DrawSpinner(headX, T(y), a.phase);
  }
}

}  // namespace

// Each beam: 9-pixel dashes every 36 pixels from the attacker's edge; a beam whose line
// crosses the gate stops at its wall. The stop is tested on the dash base before the
// crawl is added, so the last dash may reach into the wall.
void DrawBeamDown(int x) {
  const int k = Crawl();
  const int L = 252 < x && x < 388 ? 159 : 480;
  for (int y = 64; y < L; y += 36) frame::DrawLine(x, y + k, x, y + k + 9, kBeam);
}

void DrawBeamUp(int x) {
  const int k = Crawl();
  const int L = 252 < x && x < 388 ? 321 : 0;
  for (int y = 416; y > L; y -= 36) frame::DrawLine(x, y - k, x, y - k - 9, kBeam);
}

void DrawBeamRight(int y) {
  const int k = Crawl();
  const int L = 172 < y && y < 308 ? 239 : 640;
  for (int x = 64; x < L; x += 36) frame::DrawLine(x + k, y, x + k + 9, y, kBeam);
}

void DrawBeamLeft(int y) {
  const int k = Crawl();
  const int L = 172 < y && y < 308 ? 401 : 0;
  for (int x = 576; x > L; x -= 36) frame::DrawLine(x - k, y, x - k - 9, y, kBeam);
}

// Two white strokes of radius 24 crossing at (x, y), turned 8 degrees per update.
void DrawSpinner(int x, int y, float phase) {
  for (int k = 0; k < 2; ++k) {
    const double a = (8 * phase + 90.0 * k) * 3.141592653 / 180;
    const double c = 24 * std::cos(a), s = 24 * std::sin(a);
    frame::DrawLine(static_cast<int>(x - c), static_cast<int>(y - s), static_cast<int>(x + c),
                    static_cast<int>(y + s), kWhite);
  }
}

void DrawSiege() {
  frame::DrawBox(0, 0, 640, 480, kBlack);
  // The core's colour shows the strength: it flickers from blue to cyan and darkens as
  // the gate weakens.
  if (gateStrength > 0) {
    frame::DrawCircle(320, 240, 16, Rgb(0, frame::RandomBelow(gateStrength) % 256, gateStrength % 256));
  }
  const int sT = shake[Top], sB = shake[Bottom], sL = shake[Left], sR = shake[Right];

  frame::DrawBox(252 + sL, 180, 8, 120, kWood);
  frame::DrawBox(380 + sR, 180, 8, 120, kWood);
  frame::DrawBox(260, 172 + sT, 120, 8, kWood);
  frame::DrawBox(260, 300 + sB, 120, 8, kWood);

  if (barInSlot[Left]) frame::DrawBox(260 + sL, 220, 4, 40, kBar);
  if (barInSlot[Right]) frame::DrawBox(376 + sR, 220, 4, 40, kBar);
  if (barInSlot[Top]) frame::DrawBox(300, 180 + sT, 40, 4, kBar);
  if (barInSlot[Bottom]) frame::DrawBox(300, 296 + sB, 40, 4, kBar);
  if (handState == HoldingBar) frame::DrawBox(300, 238, 40, 4, kBar);

  frame::DrawBox(252 + sL, 226, 16, 4, kWood);
  frame::DrawBox(252 + sL, 250, 16, 4, kWood);
  frame::DrawBox(372 + sR, 226, 16, 4, kWood);
  frame::DrawBox(372 + sR, 250, 16, 4, kWood);
  frame::DrawBox(306, 172 + sT, 4, 16, kWood);
  frame::DrawBox(330, 172 + sT, 4, 16, kWood);
  frame::DrawBox(306, 292 + sB, 4, 16, kWood);
  frame::DrawBox(330, 292 + sB, 4, 16, kWood);

  for (const Attacker& a : attackers) {
    if (a.active) DrawAttacker(a);
  }
}

void TitleOverlay() {
  frame::DrawString(18, 18, "Gattrin", kBlack);
  frame::DrawString(18, 36, "マウスクリックでスタート", kBlack);
  frame::DrawBox(100, 380, 170, 70, kWhite);
  frame::DrawBox(370, 380, 170, 70, kWhite);
  frame::DrawString(113, 406, "Gattrin 三本の閂", kBlue);
  frame::DrawString(383, 406, "Gattrin 二本の閂", kRed);
  // One click test for both buttons: a click outside them still uses up the press.
  const bool c = frame::MouseClicked(frame::edge);
  if (c && frame::MouseOver(100, 380, 170, 70)) {
    barCount = 3;
    frame::gameState = NewGame;
  }
  if (c && frame::MouseOver(370, 380, 170, 70)) {
    barCount = 2;
    frame::gameState = NewGame;
  }
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

void GameOverOverlay() {
  frame::DrawString(18, 18, "門の最期 -GAMEOVER-", kBlack);
  std::snprintf(textBuffer, sizeof textBuffer, "耐久時間%d秒", endTick / 60);
  frame::DrawString(18, 36, textBuffer, kBlack);
  frame::DrawString(18, 54, "マウスクリックでタイトルへ", kBlack);
  if (frame::MouseClicked(frame::edge)) frame::gameState = EnterTitle;
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

}  // namespace gattrin
