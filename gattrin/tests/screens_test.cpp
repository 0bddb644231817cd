// The scene: the core's colour, the gate's layout with its shakes, the beams and where
// they stop, the attackers by direction, and the title buttons.
#include <algorithm>
#include <vector>
#include "gattrin/tests/harness.h"

namespace gattrintest {
namespace {

using namespace gattrin;

constexpr plat::Colour kBlack = 0x000000;
constexpr plat::Colour kWood = 0x004080;
constexpr plat::Colour kBar = 0x0080FF;
constexpr plat::Colour kBody = 0x008000;
constexpr plat::Colour kBeam = 0x00FFFF;

plat::Colour At(int x, int y) { return frame::backDC.At(x, y); }

// Rows of column x (or columns of row y) holding the beam colour.
std::vector<int> BeamColumn(int x) {
  std::vector<int> rows;
  for (int y = 0; y < 480; ++y)
    if (At(x, y) == kBeam) rows.push_back(y);
  return rows;
}
std::vector<int> BeamRow(int y) {
  std::vector<int> cols;
  for (int x = 0; x < 640; ++x)
    if (At(x, y) == kBeam) cols.push_back(x);
  return cols;
}

struct Box {
  int left = 640, top = 480, right = -1, bottom = -1;  // inclusive
  bool operator==(const Box&) const = default;
};
Box Bounds(plat::Colour c) {
  Box b;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (At(x, y) == c) {
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
      }
  return b;
}

class SceneTest : public GattrinTest {};

TEST_F(SceneTest, TheCoreShowsTheStrengthAndIsNotDrawnAtZero) {
  for (int strength : {0, -5}) {
    gateStrength = strength;
    const uint32_t before = frame::randomState;
    DrawSiege();
    EXPECT_EQ(At(320, 240), kBlack) << strength;
    EXPECT_EQ(frame::randomState, before);  // no colour drawn either
  }
  gateStrength = 1;
  DrawSiege();
  EXPECT_EQ(At(320, 240), 0x010000u);  // RGB(0, 0, 1)

  gateStrength = 250;
  int green;
  {
    RandomPreview p;
    green = p.Below(250);
  }
  DrawSiege();
  EXPECT_EQ(At(320, 240), static_cast<plat::Colour>((250 << 16) | (green << 8)));
  // A disc of radius 16 in the box 304..335.
  EXPECT_EQ(At(304, 240), At(320, 240));
  EXPECT_EQ(At(336, 240), kBlack);

  gateStrength = 300;  // both parts wrap at 256
  {
    RandomPreview p;
    green = p.Below(300) % 256;
  }
  DrawSiege();
  EXPECT_EQ(At(320, 240), static_cast<plat::Colour>((44 << 16) | (green << 8)));
}

TEST_F(SceneTest, ShakesMoveEachSidesWallBarAndBracketsOnly) {
  SetDoors(1, 1, 1, 1);
  gateStrength = 0;
  shake[Top] = -2;
  shake[Bottom] = 3;
  shake[Left] = -8;
  shake[Right] = 8;
  DrawSiege();
  // Left wall at x 244..251, its bar at 252..255 (rows 220..259), brackets 244..259.
  EXPECT_EQ(At(243, 200), kBlack);
  EXPECT_EQ(At(244, 200), kWood);
  EXPECT_EQ(At(251, 200), kWood);
  EXPECT_EQ(At(252, 221), kBar);
  EXPECT_EQ(At(255, 221), kBar);
  EXPECT_EQ(At(259, 227), kWood);
  // Right wall at 388..395, bar 384..387.
  EXPECT_EQ(At(388, 200), kWood);
  EXPECT_EQ(At(395, 200), kWood);
  EXPECT_EQ(At(384, 221), kBar);
  // Top wall at rows 170..177, bar rows 178..181; its brackets rows 170..185.
  EXPECT_EQ(At(270, 170), kWood);
  EXPECT_EQ(At(270, 178), kBlack);
  EXPECT_EQ(At(310, 178), kBar);
  EXPECT_EQ(At(307, 185), kWood);
  // Bottom wall rows 303..310, bar rows 299..302.
  EXPECT_EQ(At(270, 303), kWood);
  EXPECT_EQ(At(270, 302), kBlack);
  EXPECT_EQ(At(310, 299), kBar);
  // The walls that run along a side keep their place: the top wall still spans 260..379.
  EXPECT_EQ(At(260, 170), kWood);
  EXPECT_EQ(At(379, 170), kWood);
  EXPECT_EQ(At(380, 170), kBlack);
}

TEST_F(SceneTest, BarsAppearOnlyInBarredDoorsAndTheBarInHandAcrossTheCore) {
  SetDoors(1, 0, 0, 1);
  handState = HoldingBar;
  DrawSiege();
  EXPECT_EQ(At(310, 181), kBar);    // top
  EXPECT_EQ(At(310, 297), kBlack);  // bottom empty
  EXPECT_EQ(At(261, 230), kBlack);  // left empty (between its brackets)
  EXPECT_EQ(At(377, 240), kBar);    // right
  EXPECT_EQ(At(320, 239), kBar);    // in hand, over the core
  EXPECT_EQ(At(300, 238), kBar);
  EXPECT_EQ(At(339, 241), kBar);

  handState = InputLocked;
  DrawSiege();
  EXPECT_NE(At(320, 239), kBar);
}

TEST_F(SceneTest, BeamsStopAtTheGateInsideItsSpanAndCrossTheScreenOutsideIt) {
  gateStrength = 0;
  struct Case {
    void (*beam)(int);
    int line;       // the beam's x (down, up) or y (right, left)
    bool vertical;
    int tick;
    int first, last;  // the outermost beam pixels along the line
  } cases[] = {
      // Dashes of 9 pixels every 36 from the base; a line's end point is left out.
      {DrawBeamDown, 253, true, 0, 64, 144},   // inside: bases 64, 100, 136 (stop 159)
      {DrawBeamDown, 252, true, 0, 64, 468},   // the span's edge is outside: to base 460
      {DrawBeamDown, 387, true, 0, 64, 144},
      {DrawBeamDown, 388, true, 0, 64, 468},
      {DrawBeamUp, 387, true, 0, 336, 416},    // bases 416, 380, 344 (stop 321)
      {DrawBeamUp, 388, true, 0, 12, 416},     // to base 20
      {DrawBeamRight, 173, false, 0, 64, 216},  // bases 64 .. 208 (stop 239)
      {DrawBeamRight, 308, false, 0, 64, 612},  // to base 604
      {DrawBeamLeft, 307, false, 0, 424, 576},  // bases 576 .. 432 (stop 401)
      {DrawBeamLeft, 172, false, 0, 28, 576},   // to base 36
      // The crawl is added after the stop test: at k = 33 the last dash of a stopped
      // beam reaches into the wall.
      {DrawBeamDown, 300, true, 11, 97, 177},
      {DrawBeamUp, 300, true, 11, 303, 383},
      {DrawBeamRight, 240, false, 23, 97, 249},
      {DrawBeamLeft, 240, false, 12, 424, 576},  // tick 12: no crawl
  };
  for (const Case& c : cases) {
    tick = 0;
    DrawSiege();
    tick = c.tick;
    c.beam(c.line);
    const std::vector<int> px = c.vertical ? BeamColumn(c.line) : BeamRow(c.line);
    ASSERT_FALSE(px.empty()) << c.line;
    EXPECT_EQ(px.front(), c.first) << c.line << " tick " << c.tick;
    EXPECT_EQ(px.back(), c.last) << c.line << " tick " << c.tick;
    EXPECT_EQ(px.size() % 9, 0u) << c.line;
  }
}

TEST_F(SceneTest, AttackersDrawBeamBodyAndSpinnerByDirection) {
  struct Case {
    int direction;
    float phase, speed;
    Box body;  // inclusive bounds of the green body
    int beamX, beamY;  // a pixel of the beam's first dash (k = 0)
  } cases[] = {
      // D = phase x speed + 260
      {0, 20, 1.5f, {286, 28, 293, 63}, 290, 66},
      {1, 20, 1.5f, {346, 28, 353, 63}, 350, 66},
      {2, -100, 2.5f, {6, 416, 13, 451}, 10, 410},
      {3, -100, 2.5f, {626, 416, 633, 451}, 630, 410},
      {4, 60, 1.0f, {28, 236, 63, 243}, 70, 240},
      {5, 30, 1.0f, {28, 266, 63, 273}, 70, 270},
      {6, 10, 1.3f, {576, 189, 611, 196}, 570, 193},
      {7, 10, 1.3f, {576, 283, 611, 290}, 570, 287},
  };
  for (const Case& c : cases) {
    SetUp();
    gateStrength = 0;
    Put(0, c.direction, c.phase, c.speed);
    DrawSiege();
    EXPECT_EQ(Bounds(kBody), c.body) << c.direction;
    EXPECT_EQ(At(c.beamX, c.beamY), kBeam) << c.direction;
  }
}

TEST_F(SceneTest, TheSpinnerTurnsEightDegreesPerUpdate) {
  gateStrength = 0;
  DrawSiege();
  DrawSpinner(100, 100, 0);  // a = 0: a horizontal and a vertical stroke
  EXPECT_EQ(At(76, 100), 0xFFFFFFu);
  EXPECT_EQ(At(123, 100), 0xFFFFFFu);
  EXPECT_EQ(At(124, 100), kBlack);  // the end point is left out
  EXPECT_EQ(At(99, 77), 0xFFFFFFu);   // cos 90 degrees is a hair above 0
  EXPECT_EQ(At(100, 123), 0xFFFFFFu);
  DrawSiege();
  DrawSpinner(100, 100, 45.0f / 8);  // 45 degrees: the diagonals
  EXPECT_EQ(At(90, 90), 0xFFFFFFu);
  EXPECT_EQ(At(109, 90), 0xFFFFFFu);
  EXPECT_EQ(At(100, 90), kBlack);
}

class TitleTest : public GattrinTest {
 protected:
  void SetUp() override {
    GattrinTest::SetUp();
    frame::gameState = Title;
    barCount = 4;
  }
};

TEST_F(TitleTest, EachButtonStartsItsGameInsideItsStrictBounds) {
  struct Case {
    int x, y;
    int bars;  // 0: no start
  } cases[] = {{101, 381, 3}, {269, 449, 3}, {100, 400, 0}, {270, 400, 0}, {200, 380, 0},
               {371, 381, 2}, {539, 449, 2}, {540, 400, 0}, {450, 450, 0}, {320, 420, 0}};
  for (const Case& c : cases) {
    SetUp();
    PressAt(c.x, c.y);
    TitleOverlay();
    EXPECT_EQ(frame::gameState, c.bars ? NewGame : Title) << c.x << "," << c.y;
    EXPECT_EQ(barCount, c.bars ? c.bars : 4) << c.x << "," << c.y;
  }
}

TEST_F(TitleTest, AClickOutsideBothButtonsUsesUpThePress) {
  PressAt(50, 300);
  TitleOverlay();
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(frame::clickArmed[0], 0);
  // Still held, the cursor moves onto a button: no start until a new press.
  frame::mouseX = 150;
  frame::mouseY = 400;
  TitleOverlay();
  EXPECT_EQ(frame::gameState, Title);
  frame::mouseDown[0] = 0;
  TitleOverlay();
  frame::mouseDown[0] = 1;
  TitleOverlay();
  EXPECT_EQ(frame::gameState, NewGame);
  EXPECT_EQ(barCount, 3);
}

TEST_F(TitleTest, ButtonsAreWhiteWithTheirLabelsInBlueAndRed) {
  DrawSiege();
  TitleOverlay();
  EXPECT_EQ(At(100, 380), 0xFFFFFFu);
  EXPECT_EQ(At(269, 449), 0xFFFFFFu);
  EXPECT_EQ(At(370, 380), 0xFFFFFFu);
  EXPECT_EQ(At(540, 450), kBlack);
  EXPECT_GT(Bounds(0xFF0000).right, 113);  // blue label
  EXPECT_GE(Bounds(0xFF0000).left, 113);
  EXPECT_LT(Bounds(0xFF0000).right, 270);
  EXPECT_GE(Bounds(0x0000FF).left, 383);   // red label
  EXPECT_LT(Bounds(0x0000FF).right, 540);
}

}  // namespace
}  // namespace gattrintest
