// The title, the new-game set-up, the play screen and the game-over screen.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include "ball/ball.h"

namespace ball {

float titleScrollX;
float titleScrollY;

namespace {

constexpr plat::Colour kBlack = 0x000000;
constexpr plat::Colour kWhite = 0xFFFFFF;
constexpr plat::Colour kRed = 0x0000FF;
constexpr plat::Colour kGreen = 0x00FF00;
constexpr plat::Colour kYellow = 0x00FFFF;

char textBuffer[64];  // texts with numbers are formatted here before drawing

// Truncation toward zero of a scroll offset. A drift beyond int range (the cursor held
// far outside the window for days) saturates instead of overflowing.
int TruncOffset(double v) {
  if (v >= 2147483648.0) return INT32_MAX;
  if (v <= -2147483649.0) return INT32_MIN;
  return static_cast<int>(v);
}

}  // namespace

void DrawSprite(int x, int y, int maskCell, const plat::Surface& picture, int cell) {
  plat::Blit(frame::backDC, x, y, 32, 32, maskDC, 32 * maskCell, 0, plat::Rop::And);
  plat::Blit(frame::backDC, x, y, 32, 32, picture, 32 * cell, 0, plat::Rop::Invert);
}

void NewGameSetup() {
  nextSpawnDistance = 16;
  for (int& entry : ballStock) entry = 0;
  for (int i = 0; i < 20; ++i) ballStock[i] = 1;
  for (int changed = 0; changed < 5;) {
    const int k = frame::RandomBelow(20);
    if (ballStock[k] == 1) {
      ballStock[k] = 2 + frame::RandomBelow(7);
      ++changed;
    }
  }
  frame::gameState = Play;
  for (Ball& b : balls) b = Ball{};
  for (Enemy& e : enemies) e = Enemy{0, 0, 0, false, kNoTarget};
  scrollDistance = 0;
  frameCounter = 0;
  Cue(SoundStart);
}

void TitleStep() {
  frameCounter += 1;
  titleScrollX -= static_cast<float>(frame::mouseX - 320);
  titleScrollY -= static_cast<float>(frame::mouseY - 240);

  const int ox = TruncOffset(0.02 * titleScrollX) % 320;
  const int oy = TruncOffset(0.02 * titleScrollY) % 180;
  for (int r = -1; r <= 3; ++r) {
    for (int c = -1; c <= 2; ++c) {
      plat::Blit(frame::backDC, ox + 320 * c, oy + 180 * r, 320, 180, backImageDC, 0, 0, plat::Rop::Copy);
    }
  }

  for (int k = 0; k < 8; ++k) {
    // The angles are worked in double so that a title left running for days cannot
    // overflow 7 x frameCounter.
    const double ax = (7.0 * frameCounter + 45 * k) * 3.141592653 / 180;
    const double ay = (5.0 * frameCounter + 45 * k) * 3.141592653 / 180;
    const int x = static_cast<int>(std::cos(ax) * 64 + frame::mouseX - 16);
    const int y = static_cast<int>(std::sin(ay) * 64 + frame::mouseY - 16);
    DrawSprite(x, y, 0, ballDC, k);
  }

  frame::DrawString(18, 18, "Sendrik", kBlack);
  frame::DrawString(18, 36, "何故かマウスではなくキーでスタート", kBlack);
  frame::DrawString(18, 54, "Z>>>Easy:X>>>Normal", kBlack);
  frame::DrawString(18, 450, "…それにしてもタイトル画面が謎だ", kBlack);

  if (frame::KeyHit(kKeyZ, frame::edge)) {
    easyMode = true;
    frame::gameState = NewGame;
  }
  if (frame::KeyHit(kKeyX, frame::edge)) {
    easyMode = false;
    frame::gameState = NewGame;
  }
  if (frame::KeyHit(kKeyEscape, frame::edge)) frame::gameState = Quit;
}

void DrawPlayScreen() {
  frame::DrawBox(160, 0, 320, 480, kBlack);
  frame::DrawBox(0, 0, 160, 480, kBlack);
  const int scroll = static_cast<int>(scrollDistance);
  for (int o = -180; o <= 360; o += 180) {
    plat::Blit(frame::backDC, 160, scroll % 180 + o, 320, 180, backImageDC, 0, 0, plat::Rop::Copy);
  }
  frame::DrawBox(480, 0, 160, 480, kBlack);
  frame::DrawBox(160, 476, 320, 4, kRed);
  frame::DrawBox(playerX - 16, 472, 32, 8, kGreen);
  frame::DrawBox(playerX - 12, 472, 24, 8, kBlack);

  for (int i = 0; i < kBallSlots; ++i) {
    if (i < 5 && ballStock[i] != 0) DrawSprite(64, 48 + 32 * i, 0, ballDC, ballStock[i] - 1);
    const Ball& b = balls[i];
    if (b.active) {
      const int cell = (b.effectTimer > 0 && frameCounter % 2 == 0) ? 8 : b.type - 1;
      DrawSprite(static_cast<int>(b.x - 16), static_cast<int>(b.y - 16 + scrollDistance), 0, ballDC, cell);
    }
    const Enemy& e = enemies[i];
    if (e.active) {
      DrawSprite(static_cast<int>(e.x - 16), static_cast<int>(e.y - 16 + scrollDistance), 1, enemyDC, e.type - 1);
    }
  }

  std::snprintf(textBuffer, sizeof textBuffer, "%dpixel", scroll);
  frame::DrawString(498, 18, textBuffer, kBlack);
  std::snprintf(textBuffer, sizeof textBuffer, "ストック:%d", StockCount());
  frame::DrawString(18, 18, textBuffer, kBlack);
  frame::DrawString(18, 55, "Next:", kBlack);

  frame::DrawLine(48, 212, 112, 212, kWhite);
  frame::DrawLine(0, 240, 160, 240, kYellow);
  frame::DrawLine(480, 240, 640, 240, kYellow);
}

void GameOverStep() {
  frame::DrawString(284, 36, "GAMEOVER", kBlack);
  frame::DrawString(203, 72, "マウスクリックでタイトルへ", kBlack);
  if (frame::MouseClicked(0, frame::edge)) frame::gameState = Title;
  if (frame::KeyHit(kKeyEscape, frame::edge)) frame::gameState = Quit;
}

void Step() {
  switch (frame::gameState) {
    case Play: PlayStep(); break;
    case NewGame: NewGameSetup(); break;
    case Title: TitleStep(); break;
    case GameOver: GameOverStep(); break;
    default: break;
  }
  soundCues.Send();
}

}  // namespace ball
