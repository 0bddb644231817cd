// The turning tower seen from the side, the title and the ending, and the state dispatch.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>
#include "platform/keys.h"
#include "talvex/talvex.h"

namespace talvex {

using frame::backDC;
using frame::dcTable;
using frame::DrawBox;
using frame::KeyHit;
using frame::RandomBelow;

bool keepPlatformStretches = true;

namespace {

constexpr double kPi = 3.141592653;
constexpr plat::Colour kBlack = 0x000000;
constexpr plat::Colour kGround = 0x007F7F;

double Radians(double degrees) { return degrees * kPi / 180; }

// A twinkling star colour: red, green and blue drawn in that order, each 128..255.
plat::Colour StarColour() {
  const int r = 128 + RandomBelow(128);
  const int g = 128 + RandomBelow(128);
  const int b = 128 + RandomBelow(128);
  return static_cast<plat::Colour>(r | g << 8 | b << 16);
}

// Each screen column of the tower is a one-pixel column of the texture, copied twice (at
// the scroll row and a texture height above it); all 320 go in one pass per copy.
void DrawWall() {
  static int columns[320];
  for (int c = 0; c < 320; ++c) columns[c] = WallColumn(c);
  // Row of the texture's top: the wall scrolls down one pixel per pixel climbed.
  const int dy = (-static_cast<int>(climberY)) % 480;
  const plat::Surface& tower = dcTable[kTowerSlot];
  plat::BlitColumns(backDC, 160, dy, 480, tower, columns, 320, 0, plat::Rop::Copy);
  plat::BlitColumns(backDC, 160, dy - 480, 480, tower, columns, 320, 0, plat::Rop::Copy);
}

void DrawStars(int skyHeight) {
  const int offset = (static_cast<int>(climberAngle) * 32) / 9;
  for (const Star& s : stars) {
    // A shifted x below 0 (the climber just left of angle 0) draws its colour, so the
    // random sequence stays the same, and lands off the surface: nothing is written.
    const int sx = (s.starX + offset) % 1280;
    if (sx < 640 && (std::abs(320 - sx) > 160 || s.starY < skyHeight)) {
      plat::SetPixel(backDC, sx, s.starY, StarColour());
    }
  }
}

void DrawGround() {
  const int t = static_cast<int>(climberY * 0.0625);
  DrawBox(0, 240 - t, 160, 240 + t, kGround, 1);
  DrawBox(480, 240 - t, 160, 240 + t, kGround, 1);
  if (climberY > -104) {
    DrawBox(0, static_cast<int>(480 - (climberY + 120 - 16)), 640,
            static_cast<int>(climberY + 120 - 16), kGround, 1);
  }
}

// Platforms drawn as mask then picture through the same stretch. A frame draws some
// twenty platforms at a few dozen distinct stretches, so each stretch of the two cells is
// kept and reused: the transfers then copy what StretchBlit would have made, pixel for
// pixel. The kept stretches are dropped whenever the cells' pixels change.
constexpr int kCell = 64;
constexpr int kMaxStretch = 80;  // widest kept stretch; wider ones are drawn directly
constexpr int kKept = 64;

struct Stretch {
  int dw = 0, sx = 0, sw = 0;  // dw 0: unused
  plat::Surface mask, picture;  // kMaxStretch x 64; columns 0..dw-1 hold the stretch
};
Stretch kept[kKept];
std::vector<plat::Colour> keptFrom;  // the cells the kept stretches were made from

// True when the kept stretches may be used this frame: both cells are whole, and their
// pixels are those the stretches were made from (otherwise they are dropped).
bool StretchesUsable() {
  const plat::Surface& pic = dcTable[kPlatformSlot];
  const plat::Surface& mask = dcTable[kMaskSlot];
  if (pic.width < kCell || pic.height < kCell || mask.width < kCell || mask.height < kCell) return false;
  static std::vector<plat::Colour> now(2 * kCell * kCell);
  if (kept[0].mask.width == 0) {
    // All kept stretches get their surfaces at once, so later frames allocate nothing.
    keptFrom.assign(now.size(), 0);
    for (Stretch& k : kept) {
      k.mask.Create(kMaxStretch, kCell);
      k.picture.Create(kMaxStretch, kCell);
    }
  }
  for (int y = 0; y < kCell; ++y) {
    std::copy(pic.Row(y), pic.Row(y) + kCell, now.begin() + y * kCell);
    std::copy(mask.Row(y), mask.Row(y) + kCell, now.begin() + (kCell + y) * kCell);
  }
  if (now != keptFrom) {
    std::copy(now.begin(), now.end(), keptFrom.begin());
    for (Stretch& k : kept) k.dw = 0;
  }
  return true;
}

const Stretch* KeptStretch(int dw, int sx, int sw) {
  Stretch& k = kept[(dw * 31 + sx * 7 + sw) % kKept];
  if (k.dw != dw || k.sx != sx || k.sw != sw) {
    plat::StretchBlit(k.mask, 0, 0, dw, kCell, dcTable[kMaskSlot], sx, 0, sw, kCell, plat::Rop::Copy);
    plat::StretchBlit(k.picture, 0, 0, dw, kCell, dcTable[kPlatformSlot], sx, 0, sw, kCell, plat::Rop::Copy);
    k.dw = dw;
    k.sx = sx;
    k.sw = sw;
  }
  return &k;
}

void DrawPlatform(int dx, int dy, int dw, int sx, int sw, bool useKept) {
  if (useKept && dw > 0 && dw <= kMaxStretch) {
    const Stretch* k = KeptStretch(dw, sx, sw);
    plat::Blit(backDC, dx, dy, dw, kCell, k->mask, 0, 0, plat::Rop::And);
    plat::Blit(backDC, dx, dy, dw, kCell, k->picture, 0, 0, plat::Rop::Invert);
    return;
  }
  plat::StretchBlit(backDC, dx, dy, dw, kCell, dcTable[kMaskSlot], sx, 0, sw, kCell, plat::Rop::And);
  plat::StretchBlit(backDC, dx, dy, dw, kCell, dcTable[kPlatformSlot], sx, 0, sw, kCell,
                    plat::Rop::Invert);
}

void DrawPlatforms() {
  const bool useKept = keepPlatformStretches && StretchesUsable();
  for (int i = kPlatforms - 1; i >= 0; --i) {
    const Platform& p = platforms[i];
    if (std::abs(static_cast<int>(p.y + 120 - climberY)) >= 280) continue;
    // rel 0 faces the viewer, -90 is the tower's left edge, -270 its right edge.
    float rel = p.angle - climberAngle;
    while (rel > 0) rel -= 360;
    while (rel < -360) rel += 360;
    const int top = static_cast<int>(360 + p.y - climberY - 32);
    const double L = 160 * std::sin(Radians(p.angle - 12 - climberAngle));
    const double R = 160 * std::sin(Radians(p.angle + 12 - climberAngle));
    if (rel > -78 || rel < -282) {
      DrawPlatform(static_cast<int>(320 + L), top, static_cast<int>(R - L), 0, 64, useKept);
    } else if (rel > -102 && rel <= -78) {
      const int t = static_cast<int>(-78 - rel);  // degrees hidden behind the left edge
      const int cut = (8 * t) / 3;
      DrawPlatform(160, top, static_cast<int>(R + 160), cut, 64 - cut, useKept);
    } else if (rel >= -282 && rel < -258) {
      const int t = static_cast<int>(rel + 282);  // degrees hidden behind the right edge
      const int cut = (8 * t) / 3;
      DrawPlatform(static_cast<int>(320 + L), top, static_cast<int>(160 - L), 0, 64 - cut, useKept);
    }
    // Otherwise the platform is behind the tower.
  }
}

void DrawClimber() {
  const int pose = ClimberPose();
  plat::Blit(backDC, 304, 344, 32, 32, dcTable[kMaskSlot], 64 + 32 * pose, 0, plat::Rop::And);
  plat::Blit(backDC, 304, 344, 32, 32, dcTable[kStickSlot], 32 * pose, 0, plat::Rop::Invert);
}

// Grey 64..192 pulsing with the clock, phase p in degrees.
plat::Colour Pulse(int p) {
  const uint32_t step = frame::frameStart / 5 + static_cast<uint32_t>(p);
  const int g = static_cast<int>(std::sin(step * kPi / 180) * 64 + 128);
  return static_cast<plat::Colour>(g | g << 8 | g << 16);
}

}  // namespace

int WallColumn(int c) {
  const double x = -std::asin(1 - c * 0.00625) * (1.0 / 9) * 32 * 0.5 * 180 * (1 / kPi) + 160 +
                   climberAngle * 32 * 0.5 * (1.0 / 9);
  // Just left of angle 0 the left columns come out negative; the texture repeats, so
  // they continue it from its right end instead of reading outside it.
  int srcX = static_cast<int>(x) % 320;
  if (srcX < 0) srcX += 320;
  return srcX;
}

int SkyHeight() {
  const float h = platforms[kPlatforms - 1].y - climberY - 48 + 360;
  return static_cast<int>(h > 0 ? h : 0);
}

Pose ClimberPose() {
  if (clinging && inGripRange) return Holding;
  if (angleVelocity < -0.5) return MovingLeft;
  if (angleVelocity > 0.5) return MovingRight;
  return Standing;
}

void DrawScene() {
  // The wall covers columns 160..479 entirely when the texture is whole, so only the
  // sides need the black fill then.
  const plat::Surface& tower = dcTable[kTowerSlot];
  if (tower.width >= 320 && tower.height >= 480) {
    DrawBox(0, 0, 160, 480, kBlack, 1);
    DrawBox(480, 0, 160, 480, kBlack, 1);
  } else {
    DrawBox(0, 0, 640, 480, kBlack, 1);
  }
  DrawWall();
  const int h = SkyHeight();
  if (h != 0) DrawBox(160, 0, 320, h, kBlack, 1);
  DrawStars(h);
  DrawGround();
  DrawPlatforms();
  DrawClimber();
}

void TitleStep() {
  DrawScene();
  frame::DrawMaskedString(18, 18, "Talvex", Pulse(0));
  frame::DrawMaskedString(18, 36, "マウスクリックでスタート", Pulse(270));
  frame::DrawMaskedString(18, 54, "↑てかいつまで書くんだこの文", Pulse(180));
  frame::DrawMaskedString(18, 72, "追記:やっと文字にマスク処理したよ", Pulse(90));
  if (KeyHit(plat::VK_LBUTTON, frame::edge)) frame::gameState = Play;
  if (KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

void EndingStep() {
  DrawBox(0, 0, 640, 480, kBlack, 1);
  const int offset = static_cast<int>(climberAngle);
  for (const Star& s : stars) {
    const int sx = (offset + s.starX) % 1280;
    if (sx < 640) plat::SetPixel(backDC, sx, s.starY, StarColour());
  }
  climberAngle += 1;
  plat::Blit(backDC, 0, 0, 640, 480, dcTable[kEndMaskSlot], 0, 0, plat::Rop::And);
  plat::Blit(backDC, 0, 0, 640, 480, dcTable[kEndSlot], 0, 0, plat::Rop::Invert);
  if (KeyHit(plat::VK_LBUTTON, frame::edge)) {
    SetupTower();
    frame::gameState = Title;
  }
  if (KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

void Step() {
  switch (frame::gameState) {
    case Play: PlayStep(); break;
    case Title: TitleStep(); break;
    case Ending: EndingStep(); break;
    default: break;
  }
  soundCues.Send();
}

void Setup() {
  OpenSounds();
  SetupTower();
  if (testStartHeight > 0) {
    // Stand in the air at that height, turned to the nearest platform below it.
    climberY = -testStartHeight;
    for (const Platform& p : platforms) {
      if (p.y >= climberY) climberAngle = p.angle;
    }
  }
}

}  // namespace talvex
