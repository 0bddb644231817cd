// The picture kit: packing colours both ways, the lit sphere, seamless tiles, soft edges
// and keeping a sprite inside its mask.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/picturekit.h"

namespace {

using namespace assets;

TEST(Colours, PackRoundsOrTruncatesAndClampsInTheProgramsOrder) {
  EXPECT_EQ(Pack(ColourOf(0x102030)), Rgb(0x102030));
  EXPECT_EQ(Pack({10.5, 20.49, 300}), Rgb(0x0B14FF));
  EXPECT_EQ(PackDown({10.9, 20.49, -4}), Rgb(0x0A1400));
  EXPECT_EQ(Pack(Unpack(0x00332211)), 0x00332211u);
  const Colour m = Mix(ColourOf(0x000000), ColourOf(0xFF8040), 0.5);
  EXPECT_EQ(Pack(m), Rgb(0x804020));
  EXPECT_EQ(Pack(Scale(ColourOf(0x204080), 2)), Rgb(0x4080FF));

  Image img(2, 1, Rgb(0x000000));
  Blend(img, 0, 0, ColourOf(0xFFFFFF), 0.25);
  Blend(img, 5, 0, ColourOf(0xFFFFFF), 1);  // outside: ignored
  EXPECT_EQ(img.Get(0, 0), Rgb(0x3F3F3F));
  EXPECT_EQ(img.Get(1, 0), 0u);
}

TEST(Sphere, LitFromTheTopLeftDarkAtTheLowerRight) {
  const Colour base = ColourOf(0x8080FF);
  const Colour topLeft = ShadeSphere(-6, -6, 15, base), bottomRight = ShadeSphere(8, 8, 15, base);
  EXPECT_GT(topLeft.r, bottomRight.r);
  EXPECT_GT(topLeft.b, bottomRight.b);
  // The highlight is close to white; outside the disc only the ambient light is left.
  const Colour spot = ShadeSphere(-0.38 * 15, -0.42 * 15, 15, base);
  EXPECT_GT(spot.r, 220);
  const Colour outside = ShadeSphere(30, 30, 15, base);
  EXPECT_NEAR(outside.b, 255 * 0.32, 1e-9);
}

TEST(Tiles, OppositeEdgesMatch) {
  constexpr int W = 96, H = 64;
  // Wrapped value noise with cells that divide the tile: the column past the right edge
  // equals the left one, the row past the bottom the top one.
  for (int i = 0; i < 200; ++i) {
    const double x = i * 0.73, y = i * 0.31;
    EXPECT_NEAR(ValueNoise(x + W, y, 16, 3, W / 16, H / 16), ValueNoise(x, y, 16, 3, W / 16, H / 16), 1e-12);
    EXPECT_NEAR(ValueNoise(x, y + H, 16, 3, W / 16, H / 16), ValueNoise(x, y, 16, 3, W / 16, H / 16), 1e-12);
    EXPECT_NEAR(ValueNoise(x - W, y - H, 16, 3, W / 16, H / 16), ValueNoise(x, y, 16, 3, W / 16, H / 16), 1e-12);
    EXPECT_NEAR(TileWave(x + W, y, W, H, 2, -3, 0.7), TileWave(x, y, W, H, 2, -3, 0.7), 1e-9);
    EXPECT_NEAR(TileWave(x, y + H, W, H, 2, -3, 0.7), TileWave(x, y, W, H, 2, -3, 0.7), 1e-9);
  }
  // Without a period the noise does not wrap, stays in 0..1 and is smooth.
  double lo = 1, hi = 0, jump = 0;
  for (int x = 0; x < 400; ++x) {
    const double v = ValueNoise(x, 5, 16, 3);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    if (x > 0) jump = std::max(jump, std::fabs(v - ValueNoise(x - 1, 5, 16, 3)));
  }
  EXPECT_GE(lo, 0);
  EXPECT_LE(hi, 1);
  EXPECT_GT(hi - lo, 0.3);
  EXPECT_LT(jump, 0.15);
  EXPECT_NE(ValueNoise(W, 5, 16, 3), ValueNoise(0, 5, 16, 3));
}

TEST(SoftEdges, RampOutsideTheEdge) {
  EXPECT_EQ(SoftEdge(3, 5, 2), 1);
  EXPECT_EQ(SoftEdge(6, 5, 2), 0.5);
  EXPECT_EQ(SoftEdge(7, 5, 2), 0);
  EXPECT_EQ(SoftEdge(5, 5, 0), 0);  // a hard edge
}

TEST(Masks, ClipBlackensOutsideAndTheCheckNamesTheCellAndPixel) {
  // Two 2x2 cells, both using mask cell 1, which is open only at its top-left pixel.
  Image mask(4, 2, Rgb(0xFFFFFF));
  mask.Set(2, 0, 0);
  Image picture(4, 2, Rgb(0x808080));
  CheckAgainstMask(Image(4, 2, 0), mask, 1, 2, "empty.bmp");  // passes
  EXPECT_EXIT(CheckAgainstMask(picture, mask, 1, 2, "sheet.bmp"), testing::ExitedWithCode(1),
              "sheet.bmp: cell 0 paints outside its mask at 1,0");
  ClipToMask(picture, mask, 1, 2);
  EXPECT_EQ(picture.Get(0, 0), Rgb(0x808080));
  EXPECT_EQ(picture.Get(2, 0), Rgb(0x808080));
  EXPECT_EQ(picture.Get(1, 0), 0u);
  EXPECT_EQ(picture.Get(3, 1), 0u);
  CheckAgainstMask(picture, mask, 1, 2, "sheet.bmp");
}

}  // namespace
