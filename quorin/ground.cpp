// quorin's ground view: the 80x120 tile grid seen from above in perspective, and the
// landing score summed over the tiles drawn on a touchdown frame.
#include <cmath>

#include "quorin/quorin.h"

namespace quorin {

using plat::Colour;

namespace {

constexpr int kColumns = 80;  // x from -640 to 624 in steps of 16
constexpr int kRows = 120;    // y from -480 to 472 in steps of 8

// The visibility tests split into a part that depends only on a tile's shifted column X
// and a part that depends only on its row y, so each is worked out once per frame: for
// every column with the three shifts (-8, 0, +8) and for every row.
bool columnSeen[kColumns][3];
bool rowSeen[kRows];

int RowShift(int y) { return 8 * ((y / 8) % 2); }  // C remainder: -8 on odd negative rows

}  // namespace

// The projection of the camera looking down from the height b - camZ, worked out in
// double precision so that the footprint's bounds are exact.
double ProjectX(double a, double b) { return ((a - camX + 0.1 * shakeX) / (b - camZ) + 1) * 320; }

double ProjectY(double a, double b) { return ((a - camY + 0.1 * shakeY) / (b - camZ) + 1) * 320; }

uint32_t LowByte(double v) {
  if (!(std::fabs(v) < 9.0e18)) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(v)) & 0xFF);
}

void RenderGround() {
  frame::DrawBox(0, 0, 640, 480, 0, 1);
  shakeX = shakeY = 0;
  const int amp = 100 - life / 4;
  if (descentPhase == Descending && frame::RandomBelow(1000) > life + 800) {
    shakeX += frame::RandomBelow(2 * amp + 1) - amp;
    shakeY += frame::RandomBelow(2 * amp + 1) - amp;
  }

  const bool descending = descentPhase == Descending;
  const double b = descending ? 200.0 : camZ + 18.0;
  for (int c = 0; c < kColumns; ++c) {
    const int x = -640 + 16 * c;
    for (int s = 0; s < 3; ++s) {
      const int X = x + 8 * (s - 1);
      columnSeen[c][s] = ProjectX(X + 16, b) > 0 && ProjectX(X, b) < 640;
    }
  }
  for (int r = 0; r < kRows; ++r) {
    const int y = -480 + 8 * r;
    rowSeen[r] = ProjectY(y + 8, b) - 80 > 0 && ProjectY(y, b) - 80 < 480;
  }

  const float D = 200 - camZ;
  const int boxW = static_cast<int>(2560 / D * 2 - 2);
  const int boxH = static_cast<int>(1280 / D * 2 - 2);
  const int stretchW = static_cast<int>(4800 / D * 2);
  const int stretchH = static_cast<int>(2240 / D * 2);
  // The fade is left out while landing or rising. Red depends only on the camera, green
  // also on the tile's height (0 to 32).
  const double fadeFactor = descending ? static_cast<double>(fade) : 1.0;
  const uint32_t red = LowByte(64 * camZ * brightness * 0.005 * fadeFactor);
  Colour colourOf[33];
  for (int h = 0; h <= 32; ++h) colourOf[h] = red | LowByte(h * brightness * camZ * 0.005 * fadeFactor) << 8;

  for (int r = 0; r < kRows; ++r) {
    if (!rowSeen[r]) continue;
    const int y = -480 + 8 * r;
    const int shift = RowShift(y);
    const int rn = (y + 480) / 8 + 1;
    for (int c = 0; c < kColumns; ++c) {
      if (!columnSeen[c][shift / 8 + 1]) continue;
      const int x = -640 + 16 * c;
      const int X = x + shift;
      const int cn = (x + 640) / 16 + 1;
      const int h = heightMap[cn % kMapSize][rn % kMapSize];
      const TexOrigin& tex = texOrigin[cn % kMapSize][rn % kMapSize];
      if (descentPhase == Landing) landingScore += 16 - h;
      const int L = static_cast<int>(ProjectX(X, 200));
      const int T = static_cast<int>(ProjectY(y, 200) - 80);
      frame::DrawBox(L, T, boxW, boxH, colourOf[h], 1);
      plat::StretchBlit(frame::backDC, L, T, stretchW, stretchH, sheetDC, tex.x, tex.y, 64, 32,
                        plat::Rop::And);
    }
  }

  if (descentPhase == Landing) {
    Cue(landingScore < life ? SoundHeavyLanding : SoundTouchdown);
    shakeX = shakeY = 0;
    descentPhase = Rising;
  }
}

}  // namespace quorin
