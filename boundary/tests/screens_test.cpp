// The title's moving scan lines and its click, and the play picture: which strokes are
// drawn where, in what colours and how many, from how many random draws.
#include "boundary/tests/harness.h"

namespace boundarytest {
namespace {

using namespace boundary;

plat::Colour Back(int x, int y) { return frame::backDC.At(x, y); }
int Red(plat::Colour c) { return c & 0xFF; }
int Green(plat::Colour c) { return (c >> 8) & 0xFF; }
int Blue(plat::Colour c) { return (c >> 16) & 0xFF; }

// Pixels of the back buffer for which `is` holds, and their bounding box.
struct Found {
  int count = 0, left = 9999, right = -1, top = 9999, bottom = -1;
};
template <typename F>
Found Find(F is) {
  Found f;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (is(Back(x, y))) {
        ++f.count;
        f.left = std::min(f.left, x);
        f.right = std::max(f.right, x);
        f.top = std::min(f.top, y);
        f.bottom = std::max(f.bottom, y);
      }
  return f;
}

TEST_F(BoundaryTest, TitleShowsOneRowInTenOfWhiteTextMovingDownEverySecondFrame) {
  frame::gameState = Title;
  frameCounter = 16;
  TitleFrame();  // counter 17: offset 8, rows 7, 17, 27, ... show
  int lastShown = -1;
  for (int pass = 0; pass < 2; ++pass) {
    const int offset = (frameCounter / 2) % 10;
    int whiteRows = 0;
    for (int y = 0; y < 480; ++y) {
      bool white = false;
      for (int x = 0; x < 640; ++x) {
        const plat::Colour c = Back(x, y);
        ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << x << "," << y;
        white = white || c != 0;
      }
      if (white) {
        ASSERT_EQ((y + 10 - offset) % 10, 9) << "row " << y << " at counter " << frameCounter;
        ++whiteRows;
      }
    }
    EXPECT_GT(whiteRows, 10);
    if (pass == 1) {
      EXPECT_EQ(offset, lastShown + 1);
    }
    lastShown = offset;
    TitleFrame();
    TitleFrame();
  }
  EXPECT_EQ(frameCounter, 21);
  // White only inside the four texts' boxes, n * (height + 4) / 2 wide; the tall bar's
  // colour copy reaches only 160 rows down the scratch surface.
  struct Box {
    int x, y, w, h;
  } boxes[] = {{160, 240, 200, 96}, {96, 0, 260, 160}, {468, 380, 152, 72}, {0, 0, 570, 72}};
  int inBox[4] = {};
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      if (Back(x, y) == 0) continue;
      bool inside = false;
      for (int b = 0; b < 4; ++b) {
        const Box& k = boxes[b];
        if (x >= k.x && x < k.x + k.w && y >= k.y && y < k.y + k.h) {
          inside = true;
          ++inBox[b];
        }
      }
      ASSERT_TRUE(inside) << x << "," << y;
    }
  for (int b = 0; b < 4; ++b) EXPECT_GT(inBox[b], 20) << b;
  EXPECT_EQ(frame::gameState, Title);
}

// The title as its steps read: a whole black fill, the four texts, the 49 bars.
void PlainTitlePicture() {
  frame::DrawBox(0, 0, 640, 480, 0, 1);
  frame::DrawMaskedString(160, 240, "line", 0xFFFFFF, 96, 1);
  frame::DrawMaskedString(96, 0, "─", 0xFFFFFF, 256, 1);
  frame::DrawMaskedString(468, 380, "dust", 0xFFFFFF, 72, 1);
  frame::DrawMaskedString(0, 0, "EXPERIMENTAL   ", 0xFFFFFF, 72, 1);
  for (int i = -1; i <= 47; ++i) frame::DrawBox(0, 10 * i + (frameCounter / 2) % 10, frameCounter + 640, 9, 0, 1);
}

TEST_F(BoundaryTest, TitleBlackensOnlyTheRowsTheBarsLeaveAndGivesThePlainPicture) {
  frame::gameState = Title;
  for (int start : {0, 1, 7, 18, 1000, 123457}) {
    // Over whatever the last frame left: a play picture.
    Put(0, 300, 240, Bursting, 29);
    health = 12;
    charge = 4096;
    DrawPlay();
    const std::vector<plat::Colour> before = frame::backDC.pixels;
    for (int f = 0; f < 12; ++f) {
      frameCounter = start + f;
      frame::backDC.pixels = before;
      ++frameCounter;
      PlainTitlePicture();
      frame::SyncScratch();  // the scratch is read here, as the frame loop would leave it
      const std::vector<plat::Colour> plainBack = frame::backDC.pixels, plainScratch = frame::dcTable[2].pixels;
      frameCounter = start + f;
      frame::backDC.pixels = before;
      TitleFrame();
      frame::SyncScratch();
      ASSERT_EQ(frame::backDC.pixels, plainBack) << "counter " << frameCounter;
      ASSERT_EQ(frame::dcTable[2].pixels, plainScratch) << "counter " << frameCounter;
    }
  }
}

TEST_F(BoundaryTest, TitleClickStartsANewGameWhileTheCounterRunsOn) {
  frame::gameState = Title;
  health = -4;
  TitleFrame();  // button seen up
  EXPECT_EQ(frame::gameState, Title);
  frameCounter = 77;
  Press();
  TitleFrame();
  EXPECT_EQ(frame::gameState, Play);
  EXPECT_EQ(health, kStartHealth);
  EXPECT_EQ(frameCounter, 0);
}

TEST_F(BoundaryTest, PlayerAndChargeStrokesStayOnTheLineAtTheCursor) {
  frame::mouseX = 200;
  health = 3;
  charge = 256;
  DrawPlay();
  const Found player = Find([](plat::Colour c) { return Red(c) == 0 && Blue(c) == 0 && Green(c) >= 128; });
  EXPECT_GT(player.count, 0);
  EXPECT_GE(player.left, 200 - 31);
  EXPECT_LE(player.right, 200 + 31);
  EXPECT_GE(player.top, 236);
  EXPECT_LE(player.bottom, 244);
  // The charge's yellow reaches at most sqrt(256) - 1 to either side.
  const Found yellow = Find([](plat::Colour c) { return Red(c) >= 128 && Green(c) >= 128 && Blue(c) == 0; });
  EXPECT_GT(yellow.count, 0);
  EXPECT_GE(yellow.left, 200 - 15);
  EXPECT_LE(yellow.right, 200 + 15);
  EXPECT_GE(yellow.top, 234);
  EXPECT_LE(yellow.bottom, 246);

  health = 0;
  charge = 0;
  DrawPlay();
  EXPECT_EQ(Find([](plat::Colour c) { return Green(c) >= 128 && Blue(c) == 0; }).count, 0);
  // The line is still drawn, blue-green across the band.
  const Found line = Find([](plat::Colour c) { return c != 0; });
  EXPECT_GE(line.top, 236);
  EXPECT_LE(line.bottom, 244);
}

TEST_F(BoundaryTest, DustAndSourcesAreSmallBundlesInTheirStateColours) {
  health = 0;
  Put(0, 100, 100, Drifting);
  Put(1, 300, 100, Bursting, 29);
  sources[0] = DustSource{-20, 1, true, 0};  // partly off the picture
  sources[1] = DustSource{500, -1, true, 1};
  DrawPlay();
  const Found drifting = Find([](plat::Colour c) { return Red(c) == 255 && Blue(c) == 0; });
  EXPECT_GE(drifting.left, 100 - 15);
  EXPECT_LE(drifting.right, 100 + 15);
  EXPECT_GE(drifting.top, 96);
  EXPECT_LE(drifting.bottom, 104);
  const Found burst = Find([](plat::Colour c) { return Red(c) >= 128 && Green(c) < 128 && Blue(c) >= 128; });
  EXPECT_GE(burst.left, 300 - 95);
  EXPECT_LE(burst.right, 300 + 95);
  EXPECT_GE(burst.top, 92);
  EXPECT_LE(burst.bottom, 108);
  EXPECT_GT(burst.right - burst.left, 100);  // nine long strokes
  const Found grey = Find([](plat::Colour c) {
    return Red(c) >= 128 && Red(c) < 192 && Green(c) >= 128 && Green(c) < 192 && Blue(c) >= 128 && Blue(c) < 192;
  });
  EXPECT_EQ(grey.left, 0);
  EXPECT_LE(grey.right, 11);
  EXPECT_GE(grey.top, 56);
  EXPECT_LE(grey.bottom, 64);
  const Found blue = Find([](plat::Colour c) { return Red(c) == 0 && Green(c) == 0 && Blue(c) != 0; });
  EXPECT_GE(blue.left, 500 - 31);
  EXPECT_LE(blue.right, 500 + 31);
  EXPECT_GE(blue.top, 416);
  EXPECT_LE(blue.bottom, 424);
}

// How many values DrawPlay takes from the generator: four per stroke, plus one per
// random colour channel.
int DrawsOf() {
  const uint32_t before = frame::randomState;
  DrawPlay();
  const uint32_t after = frame::randomState;
  frame::randomState = before;
  for (int n = 0; n < 2000; ++n) {
    if (frame::randomState == after) {
      frame::randomState = before;
      return n;
    }
    frame::RandomBelow(2);
  }
  return -1;
}

TEST_F(BoundaryTest, EveryStrokeAndColourTakesItsDrawsInTheStatedCounts) {
  health = 0;
  EXPECT_EQ(DrawsOf(), 6 * (2 + 4));  // the line alone
  health = 2;
  EXPECT_EQ(DrawsOf(), 36 + 2 * (1 + 4));
  health = -1;
  charge = 512;
  EXPECT_EQ(DrawsOf(), 36 + 12 * (2 + 4));
  charge = 0;
  struct Case {
    int state, timer, draws;
  } cases[] = {{Drifting, 0, 1 + 16},  {Caught, 0, 2 + 16},  {Ignited, 40, 3 + 16},
               {Bursting, 29, 3 + 36}, {Bursting, 3, 3 + 4}, {Bursting, 2, 3}};
  for (const Case& c : cases) {
    Put(5, 100, 100, c.state, c.timer);
    EXPECT_EQ(DrawsOf(), 36 + c.draws) << c.state << " " << c.timer;
  }
  particles[5].active = false;
  sources[3] = DustSource{100, 1, true, 0};
  sources[7] = DustSource{100, 1, true, 1};
  EXPECT_EQ(DrawsOf(), 36 + (3 + 24) + (1 + 24));
}

// A play picture blackens only what the one before it drew. Over many random fields
// (dust and sources at the picture's edges and far outside it, every state, any charge,
// the cursor anywhere, now and then a title in between) each picture must be the one drawn
// over a wholly black buffer with the same draws.
TEST_F(BoundaryTest, EachPlayPictureEqualsTheSameStrokesOverABlackPicture) {
  uint32_t seed = 99;
  const auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
  };
  const auto coordinate = [&](int size) {
    switch (next(8)) {
      case 0: return static_cast<float>(next(2) ? -1e7 : 1e7);
      case 1: return static_cast<float>(next(2) ? -100 - next(200) : size + next(200));
      case 2: return static_cast<float>(next(2) ? next(20) - 10 : size - 10 + next(20)) + next(100) / 100.0f;
      default: return static_cast<float>(next(size)) + next(100) / 100.0f;
    }
  };
  for (int f = 0; f < 300; ++f) {
    for (DustParticle& p : particles) {
      if (next(4) != 0) continue;  // most slots keep their state from the frame before
      p = DustParticle{coordinate(640), coordinate(480), 0, 0, next(3) != 0, 1 + next(4), next(31)};
    }
    for (DustSource& src : sources) src = DustSource{coordinate(640), 1, next(2) != 0, next(2)};
    charge = next(3) ? 0 : 256 * (1 + next(128));
    health = next(14) - 1;
    frame::mouseX = next(4) ? next(640) : next(65536);
    if (f % 17 == 5) TitleFrame();
    const uint32_t draws = frame::randomState;
    DrawPlay();
    const std::vector<plat::Colour> kept = frame::backDC.pixels;
    frame::randomState = draws;
    std::fill(frame::backDC.pixels.begin(), frame::backDC.pixels.end(), 0);
    DrawPlay();
    ASSERT_EQ(frame::backDC.pixels, kept) << "frame " << f;
  }
}

}  // namespace
}  // namespace boundarytest
