// The frame demonstration program: a title screen with buttons to three pages.
//   Shapes: DrawBox, DrawLine, DrawCircle, RandomBelow and MouseOver.
//   Text:   DrawString and DrawMaskedString in layouts A, B and C over a picture.
//   Input:  KeyHit in edge and hold mode, MouseClicked per button, a dice on RandomBelow.
// Escape goes back to the title; Escape on the title quits.
#include "frame/demo/demo.h"

#include <cmath>
#include <cstdio>

#include "platform/keys.h"

namespace framedemo {

using namespace frame;

namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kGrey = 0x808080;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kYellow = 0x00FFFF;
constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kMagenta = 0xFF00FF;

const ImageLoad kNamedImages[] = {
    {"data\\back.bmp", 3}, {"data\\chara.bmp", 4}, {"data\\mask.bmp", 5}};
// The DC-table build keeps slot 3 for its extra surface.
const ImageLoad kTableImages[] = {
    {"data\\back.bmp", 4}, {"data\\chara.bmp", 5}, {"data\\mask.bmp", 6}};

// Program-wide state, in fixed tables.
bool tableBuild = false;
int backSlot = 3, charaSlot = 4, maskSlot = 5;
char textBuffer[128];
int frameCounter = 0;

struct Box {
  int x, y, w, h;
  Colour colour;
};
Box boxes[24];

float ballX = 440, ballY = 360, ballDX = 3.0f, ballDY = 2.0f;

int spriteX = 304, spriteY = 300;
int spaceHits = 0, zHits = 0, leftClicks = 0, rightClicks = 0, dice = 0, diceRolls = 0;

void ShuffleBoxes() {
  for (Box& b : boxes) {
    b.x = RandomBelow(300) + 10;
    b.y = RandomBelow(300) + 120;
    b.w = RandomBelow(60) + 8;
    b.h = RandomBelow(60) + 8;
    b.colour = static_cast<Colour>(RandomBelow(256) | RandomBelow(256) << 8 | RandomBelow(256) << 16);
  }
}

// A 32x32 sprite cell of the chara sheet: mask with AND, then the picture with XOR.
void DrawSprite(int x, int y, int cell) {
  plat::Blit(backDC, x, y, 32, 32, dcTable[maskSlot], 32 * cell, 0, plat::Rop::And);
  plat::Blit(backDC, x, y, 32, 32, dcTable[charaSlot], 32 * cell, 0, plat::Rop::Invert);
}

void DrawBackground() {
  plat::Blit(backDC, 0, 0, 640, 480, dcTable[backSlot], 0, 0, plat::Rop::Copy);
}

// The back button and Escape return to the title.
void PageFooter() {
  buttonsEnabled = 1;
  if (TextButton(540, 452, "タイトルへ", kBlack)) gameState = Title;
  if (KeyHit(plat::VK_ESCAPE, edge)) gameState = Title;
}

void TitleStep() {
  ++frameCounter;
  DrawBackground();
  DrawMaskedString(40, 40, "フレーム見本", kWhite, 64, 1);
  DrawString(40, 120, tableBuild ? "ゲームフレームの見本プログラム (DCテーブル世代)"
                                 : "ゲームフレームの見本プログラム (名前付きDC世代)",
             kBlack);
  DrawString(40, 140, "A demonstration of the game frame and its helpers", kBlack);

  // The menu: each label is a button; the digit keys do the same.
  buttonsEnabled = 1;
  DrawBox(36, 196, 300, 92, kWhite);
  if (TextButton(40, 200, "1: 図形 (box, line, circle)", kBlue) || KeyHit('1', edge)) gameState = Shapes;
  if (TextButton(40, 222, "2: 文字 (string, masked)", kBlue) || KeyHit('2', edge)) gameState = Text;
  if (TextButton(40, 244, "3: 入力 (keys, mouse)", kBlue) || KeyHit('3', edge)) gameState = Input;
  buttonsEnabled = 0;
  TextButton(40, 266, "4: 準備中 (disabled)", kGrey);

  DrawString(40, 440, "Escキーで終了します", kBlack);
  if (tableBuild) DrawString(360, 440, "Yキーを押している間は早送り", kBlack);

  // The eight sprites circle the title to show the pace.
  for (int k = 0; k < 3; ++k) {
    const double a = (4.0 * frameCounter + 120.0 * k) * 3.141592653 / 180;
    DrawSprite(static_cast<int>(500 + std::cos(a) * 60) - 16, static_cast<int>(260 + std::sin(a) * 60) - 16, k);
  }
  if (KeyHit(plat::VK_ESCAPE, edge)) gameState = Quit;
}

void ShapesStep() {
  ++frameCounter;
  DrawBox(0, 0, 640, 480, kBlack);
  DrawString(18, 18, "図形: DrawBox, DrawLine, DrawCircle, RandomBelow, MouseOver", kBlack);
  DrawString(18, 40, "スペースキーで箱を並べ直す", kBlack);

  for (const Box& b : boxes) DrawBox(b.x, b.y, b.w, b.h, b.colour);

  // A turning fan of lines; each line leaves out its end point.
  for (int i = 0; i < 24; ++i) {
    const double a = (2.0 * frameCounter + 15.0 * i) * 3.141592653 / 180;
    DrawLine(480, 200, static_cast<int>(480 + std::cos(a) * 90), static_cast<int>(200 + std::sin(a) * 90),
             i % 2 ? kYellow : kCyan);
  }

  // A bouncing ball of three discs.
  ballX += ballDX;
  ballY += ballDY;
  if ((ballX < 360 && ballDX < 0) || (ballX > 620 && ballDX > 0)) ballDX = -ballDX;
  if ((ballY < 320 && ballDY < 0) || (ballY > 420 && ballDY > 0)) ballDY = -ballDY;
  DrawCircle(static_cast<int>(ballX), static_cast<int>(ballY), 20, kRed);
  DrawCircle(static_cast<int>(ballX), static_cast<int>(ballY), 12, kMagenta);
  DrawCircle(static_cast<int>(ballX), static_cast<int>(ballY), 4, kWhite);

  // The hover box lights up only strictly inside its edges.
  const bool over = MouseOver(400, 60, 200, 40);
  DrawBox(400, 60, 200, 40, over ? kYellow : kGrey);
  DrawString(420, 72, over ? "マウスが上にある" : "ここにマウスを", kBlack);

  if (tableBuild) {
    // The extra surface (slot 3) was drawn at start-up; show a strip of it.
    plat::Blit(backDC, 18, 432, 320, 16, dcTable[3], 0, 0, plat::Rop::Copy);
  }
  if (KeyHit(plat::VK_SPACE, edge)) ShuffleBoxes();
  PageFooter();
}

void TextStep() {
  ++frameCounter;
  DrawBackground();
  DrawString(18, 18, "DrawString: 白い箱の上 / DrawMaskedString: 箱なし", kBlack);
  DrawMaskedString(18, 60, "レイアウトA: 9x18の升目", kYellow);
  DrawMaskedStringB(18, 100, "レイアウトB: OR", kRed, 36, 1);
  DrawMaskedStringC(18, 160, "レイアウトC", kCyan, 40, 1);
  DrawString(18, 220, "文字の画素: A, C = 色 / B = 下地 OR 色", kBlack);
  PageFooter();
}

void InputStep() {
  ++frameCounter;
  DrawBox(0, 0, 640, 480, 0x402020);
  DrawString(18, 18, "入力: KeyHit, MouseClicked, RandomBelow", kBlack);
  DrawString(18, 40, "矢印キー(押しっぱなし)で移動、スペース・Z・D(サイコロ)は一回ずつ", kBlack);

  if (KeyHit(plat::VK_LEFT, hold)) spriteX -= 4;
  if (KeyHit(plat::VK_RIGHT, hold)) spriteX += 4;
  if (KeyHit(plat::VK_UP, hold)) spriteY -= 4;
  if (KeyHit(plat::VK_DOWN, hold)) spriteY += 4;
  if (spriteX < 0) spriteX = 0;
  if (spriteX > 608) spriteX = 608;
  if (spriteY < 64) spriteY = 64;
  if (spriteY > 416) spriteY = 416;
  if (KeyHit(plat::VK_SPACE, edge)) ++spaceHits;
  if (KeyHit('Z', edge)) ++zHits;
  if (KeyHit('D', edge)) {
    dice = RandomBelow(6) + 1;
    ++diceRolls;
  }
  if (MouseClicked(0, edge)) ++leftClicks;
  if (MouseClicked(1, edge)) ++rightClicks;

  // A disc under the cursor while the left button is held.
  if (mouseDown[0]) DrawCircle(mouseX, mouseY, 10, kGreen);
  DrawSprite(spriteX, spriteY, 0);

  snprintf(textBuffer, sizeof textBuffer, "スペース: %d回  Z: %d回", spaceHits, zHits);
  DrawString(18, 80, textBuffer, kBlack);
  snprintf(textBuffer, sizeof textBuffer, "左クリック: %d回  右クリック: %d回", leftClicks, rightClicks);
  DrawString(18, 100, textBuffer, kBlack);
  snprintf(textBuffer, sizeof textBuffer, "マウス: (%d, %d)", mouseX, mouseY);
  DrawString(18, 120, textBuffer, kBlack);
  if (diceRolls > 0) {
    snprintf(textBuffer, sizeof textBuffer, "サイコロ: %d (%d回目)", dice, diceRolls);
    DrawString(18, 140, textBuffer, kBlack);
  }
  // Dice pips as discs.
  for (int i = 0; i < dice; ++i) DrawCircle(420 + 24 * (i % 3), 100 + 24 * (i / 3), 8, kWhite);
  PageFooter();
}

void Setup() {
  ShuffleBoxes();
  if (tableBuild) {
    // A striped strip on the extra surface, drawn once with the slot form of DrawBox.
    for (int i = 0; i < 20; ++i) DrawBox(16 * i, 0, 16, 16, i % 2 ? kCyan : kMagenta, 3);
  }
}

void Step() {
  switch (gameState) {
    case Title: TitleStep(); break;
    case Shapes: ShapesStep(); break;
    case Text: TextStep(); break;
    case Input: InputStep(); break;
    default: break;
  }
}

FrameSettings MakeSettings(bool table) {
  FrameSettings s;
  s.name = table ? "framedemo_table" : "framedemo";
  s.summary = table ? "demonstration of the game frame (DC-table generation)"
                    : "demonstration of the game frame (named-DC generation)";
  s.caption = "フレーム見本";
  s.help =
      "ゲームフレームの描画と入力の見本。\n"
      "A demonstration of the game frame's drawing and input helpers.\n"
      "タイトル: ボタンか 1・2・3 でページを開く  Esc: 終了\n"
      "Title: a button or 1, 2, 3 opens a page; Escape quits.\n"
      "1 図形: Space で箱を並べ替え  2 文字: 文字の描き方\n"
      "1 Shapes: Space shuffles the boxes.  2 Text: the text helpers.\n"
      "3 入力: 矢印でスプライト移動、Space・Z・D・クリックを数える\n"
      "3 Input: arrows move the sprite; Space, Z, D and clicks are counted.\n"
      "Esc か「タイトルへ」: タイトルに戻る\n"
      "Escape or the \"タイトルへ\" button returns to the title.";
  s.generation = table ? Generation::DCTable : Generation::NamedDC;
  s.frameBudget = 16;
  s.fastForwardKey = table;
  s.stretchCopy = table;
  s.cursor = table ? plat::Cursor::Cross : plat::Cursor::Arrow;
  s.firstState = Title;
  s.rightButton = true;
  s.maskedLayout = table ? MaskedLayout::C : MaskedLayout::B;
  // Big enough for every layout, so the text page can show all three.
  s.scratchW = 640;
  s.scratchH = 960;
  s.extraW = table ? 640 : 0;
  s.extraH = table ? 480 : 0;
  s.frameStartAtStartup = !table;
  s.images = table ? kTableImages : kNamedImages;
  s.imageCount = 3;
  s.setup = Setup;
  s.step = Step;
  return s;
}

}  // namespace

const FrameSettings& Settings(bool table) {
  static const FrameSettings named = MakeSettings(false);
  static const FrameSettings tableSettings = MakeSettings(true);
  tableBuild = table;
  backSlot = table ? 4 : 3;
  charaSlot = backSlot + 1;
  maskSlot = backSlot + 2;
  return table ? tableSettings : named;
}

}  // namespace framedemo
