// Rules of the play field, run against the recording stand-ins.
#include <gtest/gtest.h>

#include <cstring>

#include <cmath>
#include <memory>
#include <string>
#include <vector>
#include "recorder.h"
#include "volley/sound.h"

namespace volley {
namespace {

using test::rec;

constexpr uint32_t kQuiet = 200000;  // a clock past the last attack phase: nothing spawns

struct FieldTest : ::testing::Test {
  std::unique_ptr<PlayField> owner = std::make_unique<PlayField>();
  PlayField& f = *owner;
  void SetUp() override {
    test::UseRecorder();
    test::NewField(f, 0);
    rec.clock = kQuiet;
  }
  // Runs one frame with the given keys held.
  void Frame(std::initializer_list<int> held = {}) {
    for (bool& k : rec.keys) k = false;
    for (int vk : held) rec.keys[vk] = true;
    rec.tiles.clear();
    rec.labels.clear();
    FieldFrame(f);
  }
  float& Cell(int c, int r) { return f.hueGrid[c * kRows + r]; }
};

TEST(HueColour, FixedColoursAndTheHueCircle) {
  EXPECT_EQ(HueColour(0), 0xFFFF4040u);
  EXPECT_EQ(HueColour(899), 0xFF808080u);
  EXPECT_EQ(HueColour(999), 0xFFFFFFFFu);
  EXPECT_EQ(HueColour(90), 0xFF8012EDu);
  EXPECT_EQ(HueColour(120), 0xFF4040FFu);
  EXPECT_EQ(HueColour(45), 0xFFD905A0u);
  EXPECT_EQ(HueColour(-360), HueColour(0));
  EXPECT_EQ(HueColour(720 + 45), HueColour(45));
  for (int h = -1000; h <= 1000; h++) {
    if (h == 899 || h == 999) continue;
    uint32_t c = HueColour(h);
    ASSERT_EQ(c >> 24, 0xFFu) << h;
    for (int shift = 0; shift < 24; shift += 8) {
      uint32_t ch = (c >> shift) & 0xFF;
      ASSERT_GE(ch, 1u) << h;
    }
  }
}

TEST(RollBelow, SequenceOfTheRuntimeGenerator) {
  SeedRoll(1);
  // The generator's values for seed 1 are 41, 18467, 6334, 26500, 19169; sixteenths mod n.
  EXPECT_EQ(RollBelow(360), 2);
  EXPECT_EQ(RollBelow(360), 1154 % 360);
  EXPECT_EQ(RollBelow(0), 0);  // no draw
  EXPECT_EQ(RollBelow(100000), 395);
  EXPECT_EQ(RollBelow(7), 1656 % 7);
  EXPECT_EQ(RollBelow(4096), 1198);
  SeedRoll(1);
  EXPECT_EQ(RollBelow(4096), 2);  // nothing thrown away after seeding
}

TEST(KeyHit, EdgeOncePerPressHoldWhileDown) {
  test::UseRecorder();
  EXPECT_FALSE(KeyHit(kKeyZ, kEdge));  // up: arms the latch
  rec.keys[kKeyZ] = true;
  EXPECT_TRUE(KeyHit(kKeyZ, kHold));
  EXPECT_TRUE(KeyHit(kKeyZ, kEdge));
  EXPECT_FALSE(KeyHit(kKeyZ, kEdge));  // still down: no second hit
  EXPECT_TRUE(KeyHit(kKeyZ, kHold));
  rec.keys[kKeyZ] = false;
  EXPECT_FALSE(KeyHit(kKeyZ, kHold));
  rec.keys[kKeyZ] = true;
  EXPECT_TRUE(KeyHit(kKeyZ, kEdge));
  // A key down from the very start is not a hit until it has been seen up.
  rec.keys[kKeyX] = true;
  EXPECT_FALSE(KeyHit(kKeyX, kEdge));
  EXPECT_FALSE(KeyHit(300, kHold));  // outside the latch table
}

TEST_F(FieldTest, UpdateMoverLifeRules) {
  Mover m;
  m.life = 0;
  m.dx = 5;
  UpdateMover(m);
  EXPECT_EQ(m.x, 0);
  EXPECT_TRUE(rec.tiles.empty());  // inactive: neither moved nor drawn

  m = Mover{100, 100, 1, 1, 102, 30};
  UpdateMover(m);
  EXPECT_EQ(m.life, 101);
  EXPECT_EQ(m.x, 100);  // above 100: ages without moving
  UpdateMover(m);
  EXPECT_EQ(m.life, 0);  // 101 -> 100 -> removed
  EXPECT_EQ(rec.tiles.size(), 2u);

  m = Mover{100, 100, 1, 1, 100, 30};
  UpdateMover(m);
  EXPECT_EQ(m.life, 0);
  EXPECT_EQ(m.x, 101);  // exactly 100 moves, then goes

  m = Mover{320, 100, 1, 0, 1, 30};
  rec.tiles.clear();
  UpdateMover(m);
  EXPECT_EQ(m.life, 0);  // x 321 is off the field
  ASSERT_EQ(rec.tiles.size(), 1u);  // but still drawn this once
  EXPECT_EQ(rec.tiles[0].x, 317);
  EXPECT_EQ(rec.tiles[0].colour, HueColour(30));

  m = Mover{319, 479, 1, 1, 1, 0};
  UpdateMover(m);
  EXPECT_EQ(m.life, 1);  // (320, 480) is still on the field

  m = Mover{320, 100, 1, 0, 2, 0};
  UpdateMover(m);
  EXPECT_EQ(m.life, 2);  // only life 1 leaves at the edge

  m = Mover{10, 10, 0, 0, -1, 0};
  UpdateMover(m);
  EXPECT_EQ(m.life, 0);

  m = Mover{2.5, -1.5, 0, 0, 1, 0};
  rec.tiles.clear();
  UpdateMover(m);
  ASSERT_EQ(rec.tiles.size(), 1u);
  EXPECT_EQ(rec.tiles[0].x, -1);  // truncation toward zero, not floor
  EXPECT_EQ(rec.tiles[0].y, -5);
  EXPECT_EQ(rec.tiles[0].srcLeft, 24);
  EXPECT_EQ(rec.tiles[0].srcTop, 24);
  EXPECT_EQ(rec.tiles[0].width, 8);
}

TEST_F(FieldTest, SpawnTakesTheFirstFreeSlotOrOverwritesWhenFull) {
  f.bullets[0].life = 1;
  f.bullets[2].life = 1;
  SpawnBullet(f, 10, 20, 90.0f, 3.0f, false, 77);
  EXPECT_EQ(f.bullets[1].life, 1);
  EXPECT_EQ(f.bullets[1].hue, 77);
  EXPECT_EQ(f.bullets[1].x, 10);
  EXPECT_EQ(f.bullets[1].y, 20);
  EXPECT_NEAR(f.bullets[1].dx, 0.0, 1e-6);
  EXPECT_NEAR(f.bullets[1].dy, 3.0, 1e-6);  // 90 degrees points down
  SpawnBullet(f, 10, 20, 0.0f, 3.0f, false, 78);
  EXPECT_EQ(f.bullets[3].hue, 78);

  for (Mover& b : f.bullets) b.life = 1;
  SpawnBullet(f, 10, 20, 0.0f, 3.0f, true, 5);
  SpawnBullet(f, 10, 20, 0.0f, 3.0f, false, 6);
  EXPECT_EQ(f.bullets[1].hue, 5);  // aimed overwrites slot 1
  EXPECT_EQ(f.bullets[0].hue, 6);  // unaimed slot 0
  EXPECT_EQ(f.bullets[2].hue, 0);
}

TEST_F(FieldTest, AimedBulletsPointAtThePlayer) {
  const double pi = std::acos(-1.0);
  struct Case {
    double px, py;
  } cases[] = {{160, 360}, {0, 120}, {300, 120}, {20, 400}, {300, 10}};
  for (const Case& c : cases) {
    f.player.x = c.px;
    f.player.y = c.py;
    for (Mover& b : f.bullets) b.life = 0;
    SpawnBullet(f, 160, 120, 0.0f, 5.0f, true, 0);
    const Mover& b = f.bullets[0];
    double want = std::atan2(c.py - 120, c.px - 160);
    double got = std::atan2(b.dy, b.dx);
    double diff = std::remainder(got - want, 2 * pi);
    EXPECT_NEAR(diff, 0.0, 0.01) << c.px << "," << c.py;  // 3.14 and the 0.01 offset
    EXPECT_NEAR(std::hypot(b.dx, b.dy), 5.0, 1e-9);
  }
  // Relative angle: +30 degrees turns clockwise on screen from the line to the player.
  f.player.x = 160;
  f.player.y = 360;
  f.player.life = 0;  // a dead player is still aimed at
  for (Mover& b : f.bullets) b.life = 0;
  SpawnBullet(f, 160, 120, 30.0f, 1.0f, true, 0);
  EXPECT_NEAR(std::atan2(f.bullets[0].dy, f.bullets[0].dx), pi / 2 + pi / 6, 0.01);
}

TEST_F(FieldTest, ChargeTapGivesLifeZeroAndLongHoldSixteen) {
  f.player.x = 100;
  f.player.y = 300;
  Frame({});
  Frame({kKeyZ});  // pressed: Idle -> Charging, charge 1 -> 2
  EXPECT_EQ(f.shotState, Charging);
  EXPECT_EQ(f.shotCharge, 2);
  Frame({});  // released: launched
  EXPECT_EQ(f.shotState, Flying);
  EXPECT_EQ(f.shot.life, 0);
  EXPECT_EQ(f.shot.x, 100);
  EXPECT_EQ(f.shot.y, 300);
  Frame({});
  EXPECT_EQ(f.shot.y, 300);  // life 0: stays where it was launched
  Frame({kKeyZ});  // detonates
  EXPECT_EQ(f.shotState, Spent);
  EXPECT_EQ(f.blastLevel, 100);
  Frame({kKeyZ});
  EXPECT_EQ(f.shotState, Spent);  // until Z is let go
  Frame({});
  EXPECT_EQ(f.shotState, Idle);

  // Held for 127 frames: charge 128, life 16; the gauge shows the charge.
  Frame({kKeyZ});
  for (int i = 0; i < 126; i++) Frame({kKeyZ});
  EXPECT_EQ(f.shotCharge, 128);
  Frame({});
  EXPECT_EQ(f.shot.life, 16);
  int lit = 0;
  for (const test::TileCall& t : rec.tiles) {
    if (t.y == 445 && t.colour != HueColour(899)) lit++;
  }
  EXPECT_EQ(lit, 120);

  // Charged for 70 frames: life 8 (71 / 8).
  Frame({kKeyZ});  // detonate the long shot
  Frame({});
  Frame({});
  Frame({kKeyZ});
  for (int i = 0; i < 69; i++) Frame({kKeyZ});
  Frame({});
  EXPECT_EQ(f.shotCharge, 71);
  EXPECT_EQ(f.shot.life, 8);
  EXPECT_EQ(f.shot.dy, -4.0);
}

TEST_F(FieldTest, ShotLaunchesFromTheStartOfFramePositionAndBlowsUpAtTheTop) {
  f.player.x = 100;
  f.player.y = 40;
  Frame({});
  Frame({kKeyZ});
  for (int i = 0; i < 40; i++) Frame({kKeyZ});
  Frame({kKeyLeft});  // released while moving left
  EXPECT_EQ(f.player.x, 98);
  EXPECT_EQ(f.shot.x, 100);   // the position before this frame's move
  EXPECT_EQ(f.shot.y, 36);    // launched at 40, moved 4 up in the same frame
  EXPECT_EQ(f.shot.life, 5);  // 42 / 8
  for (int i = 0; i < 9; i++) Frame({});
  EXPECT_EQ(f.shotState, Flying);
  EXPECT_EQ(f.shot.y, 0);
  Frame({});
  EXPECT_LT(f.shot.y, 0);
  EXPECT_EQ(f.shotState, Flying);
  Frame({});
  // y below 0 at the check: it detonates, and with Z up it is ready again at once.
  EXPECT_EQ(f.shotState, Idle);
  EXPECT_EQ(f.blastLevel, 100);
  EXPECT_EQ(f.shot.life, 5);  // the shot flies on
  Frame({kKeyZ});  // so the very next press starts a charge
  EXPECT_EQ(f.shotState, Charging);
  EXPECT_EQ(f.shotCharge, 2);
}

TEST_F(FieldTest, ShotDetonatingAtTheTopWithZHeldWaitsForRelease) {
  f.player.x = 100;
  f.player.y = 8;
  Frame({});
  Frame({kKeyZ});
  Frame({});  // a tap: life 0, launched at y 8, and it stays there
  EXPECT_EQ(f.shotState, Flying);
  f.shot.y = -1;  // as if it had climbed past the top
  Frame({kKeyZ});  // y below 0 detonates before the key is looked at
  EXPECT_EQ(f.shotState, Spent);
  EXPECT_EQ(f.blastLevel, 100);
  Frame({kKeyZ});
  EXPECT_EQ(f.shotState, Spent);
  Frame({});
  EXPECT_EQ(f.shotState, Idle);
  Frame({kKeyZ});  // a new press charges again
  EXPECT_EQ(f.shotState, Charging);
}

TEST_F(FieldTest, DeadPlayerNeitherMovesNorShoots) {
  f.player.life = 0;
  Frame({kKeyZ, kKeyLeft});
  EXPECT_EQ(f.shotState, Idle);
  EXPECT_EQ(f.player.x, 160);
  Frame({kKeyX});
  EXPECT_EQ(f.player.life, 1);  // X brings the player back
}

TEST_F(FieldTest, BulletsVanishOnCellsOfTheirHue) {
  // Cells start at 0 and are -0.1 when the bullets are checked.
  struct Case {
    int hue;
    bool vanishes;
  } cases[] = {{0, true},    {14, true},   {15, false},  {-14, true},  {-15, true},
               {-16, false}, {90, false},  {346, true},  {345, false}, {360, true},  {-346, false}, {-347, true},
               {720 + 10, true}, {180, false}};
  for (const Case& c : cases) {
    SetUp();
    Mover& b = f.bullets[7];
    b = Mover{20, 20, 0, 0, 1, c.hue};  // cell (2, 2)
    Frame({});
    EXPECT_EQ(b.life == 0, c.vanishes) << c.hue;
    EXPECT_FLOAT_EQ(Cell(2, 2), c.vanishes ? -15.1f : -0.1f) << c.hue;
    EXPECT_FLOAT_EQ(Cell(2, 3), -0.1f);
  }
}

TEST_F(FieldTest, CellUnderTheBulletIsTakenBeforeItsMove) {
  Mover& b = f.bullets[0];
  b = Mover{12, 12, 8, 0, 1, 200};  // from cell (1, 1) into cell (2, 1)
  Cell(1, 1) = 200.1f;               // -0.1 this frame: exactly the bullet's hue
  Frame({});
  EXPECT_EQ(b.life, 0);
  EXPECT_FLOAT_EQ(Cell(1, 1), 185.0f);
  EXPECT_FLOAT_EQ(Cell(2, 1), -0.1f);
}

TEST_F(FieldTest, EdgeBulletsUseTheEdgeCells) {
  // A bullet on the right edge uses column 39; one on the bottom edge uses row 59 of its
  // own column, never the next column's first row or a cell outside the grid.
  Mover& right = f.bullets[0];
  right = Mover{320, 100, 0, 0, 1, 50};
  Cell(39, 12) = 50.1f;
  Mover& bottom = f.bullets[1];
  bottom = Mover{100, 480, 0, 0, 1, 70};
  Cell(12, 59) = 70.1f;
  Cell(13, 0) = 70.1f;
  Frame({});
  EXPECT_EQ(right.life, 0);
  EXPECT_FLOAT_EQ(Cell(39, 12), 35.0f);
  EXPECT_EQ(bottom.life, 0);
  EXPECT_FLOAT_EQ(Cell(12, 59), 55.0f);
  EXPECT_FLOAT_EQ(Cell(13, 0), 70.0f);  // decayed only
  Mover& corner = f.bullets[2];
  corner = Mover{320, 480, 0, 0, 1, 500};
  Frame({});
  EXPECT_EQ(corner.life, 1);  // no match, and nothing read outside the grid
}

TEST_F(FieldTest, HitsAreMeasuredFromTheStartOfFramePosition) {
  f.player.x = 100;
  f.player.y = 300;
  f.bullets[0] = Mover{93, 300, 0, 0, 1, 180};   // 7 from the old position, 9 from the new
  Frame({kKeyRight});
  EXPECT_EQ(f.player.x, 102);
  EXPECT_EQ(f.player.life, 0);

  SetUp();
  f.player.x = 100;
  f.player.y = 300;
  f.bullets[0] = Mover{109, 300, 0, 0, 1, 180};  // 9 from the old position, 7 from the new
  Frame({kKeyRight});
  EXPECT_EQ(f.player.life, 1);

  // The bullet's position after its move counts; exactly 8 away is a miss.
  SetUp();
  f.player.x = 100;
  f.player.y = 300;
  f.bullets[0] = Mover{100, 320, 0, -12, 1, 180};  // moves to 8 below
  Frame({});
  EXPECT_EQ(f.player.life, 1);
  f.bullets[0].dy = -1;
  Frame({});
  EXPECT_EQ(f.player.life, 0);
}

TEST_F(FieldTest, ABulletThatMeetsItsCellNoLongerHits) {
  f.player.x = 100;
  f.player.y = 300;
  f.bullets[0] = Mover{100, 303, 0, 0, 1, 0};    // on a cell of its own hue: vanishes
  f.bullets[1] = Mover{103, 300, 0, 0, 1, 180};  // another hue: hits
  Frame({});
  EXPECT_EQ(f.bullets[0].life, 0);
  EXPECT_EQ(f.player.life, 0);  // one hit, not two
  // A hit from the last slot counts as well.
  SetUp();
  f.player.x = 100;
  f.player.y = 300;
  f.bullets[kBullets - 1] = Mover{100, 303, 0, 0, 1, 180};
  Frame({});
  EXPECT_EQ(f.player.life, 0);
}

TEST(Truncate, TowardZeroAndSaturating) {
  EXPECT_EQ(Truncate(3.99), 3);
  EXPECT_EQ(Truncate(-3.99), -3);
  EXPECT_EQ(Truncate(-0.9), 0);
  EXPECT_EQ(Truncate(2147483647.9), INT32_MAX);
  EXPECT_EQ(Truncate(1e300), INT32_MAX);
  EXPECT_EQ(Truncate(-2147483648.0), INT32_MIN);
  EXPECT_EQ(Truncate(-2147483648.9), INT32_MIN);
  EXPECT_EQ(Truncate(-1e300), INT32_MIN);
  EXPECT_EQ(Truncate(-2147483647.5), -2147483647);
  EXPECT_EQ(Truncate(std::nan("")), 0);
  EXPECT_EQ(Truncate(HUGE_VAL), INT32_MAX);
}

TEST_F(FieldTest, TwoHitsLeaveMinusOneAndThePlayerIsDrawnOnceMore) {
  f.player.x = 100;
  f.player.y = 300;
  f.bullets[0] = Mover{100, 303, 0, 0, 1, 180};
  f.bullets[1] = Mover{103, 300, 0, 0, 1, 180};
  Frame({});
  EXPECT_EQ(f.player.life, -1);
  f.bullets[0].life = f.bullets[1].life = 0;
  Frame({});
  EXPECT_EQ(f.player.life, 0);
  // Grid, then the player drawn once more, then the gauge.
  ASSERT_EQ(rec.tiles.size(), static_cast<size_t>(kCells + 1 + 120));
  EXPECT_EQ(rec.tiles[kCells].colour, HueColour(899));
  Frame({});
  EXPECT_EQ(rec.tiles.size(), static_cast<size_t>(kCells + 120));
}

TEST_F(FieldTest, ExtraLivesFromRestartsAndTheHundredthRemoves) {
  Frame({});
  for (int i = 0; i < 98; i++) {
    Frame({kKeyX});
    Frame({});
  }
  EXPECT_EQ(f.player.life, 99);
  f.bullets[0] = Mover{160, 360, 0, 0, 1, 180};
  Frame({});
  EXPECT_EQ(f.player.life, 98);  // survives the hit
  f.bullets[0].life = 0;
  Frame({kKeyX});
  Frame({});
  Frame({kKeyX});
  EXPECT_EQ(f.player.life, 100);
  Frame({});
  EXPECT_EQ(f.player.life, 0);
}

TEST_F(FieldTest, ResetFieldRestoresTheStartButKeepsTheShot) {
  f.player = Mover{30, 40, 0, 0, 2, 899};
  f.shot = Mover{5, 6, 0, -4, 3, 0};
  f.shotState = Flying;
  f.shotCharge = 25;
  f.blastLevel = 300;
  f.patternFrame = 77;
  f.bullets[5].life = 1;
  f.bullets[2047].life = 1;
  Cell(3, 4) = 123;
  rec.clock = 4242;
  ResetField(f);
  EXPECT_EQ(f.player.life, 3);
  EXPECT_EQ(f.player.x, 160);
  EXPECT_EQ(f.player.y, 360);
  EXPECT_EQ(f.phaseStart, 4242u);
  EXPECT_EQ(f.patternFrame, 0);
  EXPECT_TRUE(test::LiveBullets(f).empty());
  EXPECT_EQ(Cell(3, 4), 0.0f);
  EXPECT_EQ(f.shot.x, 5);
  EXPECT_EQ(f.shotState, Flying);
  EXPECT_EQ(f.shotCharge, 25);
  EXPECT_EQ(f.blastLevel, 300);
}

TEST_F(FieldTest, BlastRadiusGrowsFromTheSecondDetonation) {
  f.shot = Mover{84, 84, 0, 0, 0, 0};  // the centre of cell (10, 10); life 0 stays put
  f.blastLevel = 100;
  Frame({});
  for (float v : f.hueGrid) ASSERT_FLOAT_EQ(v, -0.1f);  // the first detonation does nothing

  SetUp();
  f.shot = Mover{84, 84, 0, 0, 0, 0};
  f.blastLevel = 101;  // radius 12: the cell, its four neighbours and four diagonals
  Frame({});
  int warmed = 0;
  for (int c = 0; c < kColumns; c++) {
    for (int r = 0; r < kRows; r++) {
      bool near = std::abs(c - 10) <= 1 && std::abs(r - 10) <= 1;
      EXPECT_FLOAT_EQ(Cell(c, r), near ? 11.9f : -0.1f) << c << "," << r;
      warmed += near;
    }
  }
  EXPECT_EQ(warmed, 9);

  SetUp();
  f.shot = Mover{160, -500, 0, 0, 0, 0};
  f.blastLevel = 200;  // radius 1200 reaches every cell from there
  Frame({});
  Frame({});
  for (float v : f.hueGrid) ASSERT_NEAR(v, 23.8f, 1e-4);

  // Many detonations: the squared radius must not wrap around.
  SetUp();
  f.shot = Mover{160, 240, 0, 0, 0, 0};
  f.blastLevel = 100 + 100 * 40;
  Frame({});
  for (float v : f.hueGrid) ASSERT_NEAR(v, 11.9f, 1e-4);
}

// The blast against a plain cell-by-cell reckoning of the same rule, bit for bit, for
// shots anywhere in and around the field (fractional positions too) and many radii,
// including reaches that fall exactly on cell centres.
TEST_F(FieldTest, BlastTurnsExactlyTheCellsWithinReach) {
  uint32_t seed = 77;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
  };
  for (int round = 0; round < 200; round++) {
    SetUp();
    for (float& v : f.hueGrid) v = static_cast<float>(next(720000) - 360000) / 1000.0f;
    const double sx = round % 3 == 0 ? 4 + 8 * next(40) : next(4000) / 10.0 - 40;
    const double sy = round % 3 == 0 ? 4 + 8 * next(60) : next(5600) / 10.0 - 40;
    f.shot = Mover{sx, sy, 0, 0, 0, 0};  // life 0 stays put
    f.blastLevel = 101 + next(round % 2 == 0 ? 5 : 60);
    float expected[kCells];
    const double radius = 12.0 * (f.blastLevel - 100), reach = radius * radius;
    for (int c = 0; c < kColumns; c++) {
      for (int r = 0; r < kRows; r++) {
        double v = static_cast<float>(static_cast<double>(Cell(c, r)) - 0.1);
        const double ex = sx - 8 * c - 4, ey = sy - 8 * r - 4;
        if (ex * ex + ey * ey < reach) v = static_cast<float>(v + 12.0);
        expected[c * kRows + r] = static_cast<float>(v);
      }
    }
    Frame({});
    for (int i = 0; i < kCells; i++) {
      ASSERT_EQ(std::memcmp(&f.hueGrid[i], &expected[i], sizeof(float)), 0)
          << "cell " << i << " round " << round << ": " << f.hueGrid[i] << " " << expected[i];
    }
  }
}

TEST_F(FieldTest, FrameDrawsGridPlayerGaugeThenLabels) {
  Cell(1, 2) = 899.1f;  // drawn grey
  Cell(0, 0) = 999.05f;  // decays to 998.95: hue 998, not white
  f.shotCharge = 3;
  Frame({});
  ASSERT_EQ(rec.tiles.size(), static_cast<size_t>(kCells + 1 + 120));
  for (int c = 0; c < kColumns; c++) {
    for (int r = 0; r < kRows; r++) {
      const test::TileCall& t = rec.tiles[c * kRows + r];
      ASSERT_EQ(t.x, 8 * c);
      ASSERT_EQ(t.y, 8 * r);
      ASSERT_EQ(t.srcLeft, 0);
      ASSERT_EQ(t.width, 8);
    }
  }
  EXPECT_EQ(rec.tiles[1 * kRows + 2].colour, 0xFF808080u);
  EXPECT_EQ(rec.tiles[0].colour, HueColour(998));
  EXPECT_EQ(rec.tiles[5].colour, HueColour(0));  // -0.1 truncates to 0
  const test::TileCall& player = rec.tiles[kCells];
  EXPECT_EQ(player.x, 156);
  EXPECT_EQ(player.y, 356);
  EXPECT_EQ(player.colour, 0xFF808080u);
  for (int i = 0; i < 120; i++) {
    const test::TileCall& g = rec.tiles[kCells + 1 + i];
    ASSERT_EQ(g.x, 336 + 2 * i);
    ASSERT_EQ(g.y, 445);
    ASSERT_EQ(g.width, 2);
    ASSERT_EQ(g.height, 24);
    ASSERT_EQ(g.colour, i < 3 ? HueColour(3 * i) : 0xFF808080u);
  }
  ASSERT_EQ(rec.labels.size(), 11u);
  EXPECT_EQ(rec.batchEnds, 1);
  for (const test::LabelCall& l : rec.labels) EXPECT_EQ(l.batchEndsBefore, 1);
  EXPECT_EQ(rec.labels[0].x, 360);
  EXPECT_EQ(rec.labels[0].fontSlot, 1);
  EXPECT_EQ(rec.labels[0].text.size(), 2u);  // one double-byte character
  EXPECT_EQ(rec.labels[5].b, 255);
  EXPECT_EQ(rec.labels[6].text, "\x91\x80\x8D\xEC\x95\xFB\x96\x40");  // the controls heading
  EXPECT_EQ(rec.labels[10].y, 420);
}

TEST_F(FieldTest, GridDriftsADegreeEveryTenFrames) {
  for (int i = 0; i < 10; i++) Frame({});
  EXPECT_NEAR(Cell(0, 0), -1.0f, 1e-5);
  // Stored as a float after each step, as the hue grid is.
  float v = 0;
  for (int i = 0; i < 10; i++) v = static_cast<float>(static_cast<double>(v) - 0.1);
  EXPECT_EQ(Cell(0, 0), v);
}

// The frame marks its sound cues where the events happen; nothing is played from inside.
TEST_F(FieldTest, SoundCuesAtChargeLaunchDetonationsHitsAndRestart) {
  auto cues = [] {
    const uint32_t c = soundCues.marked;
    soundCues.marked = 0;
    return c;
  };
  auto bit = [](Cue c) { return 1u << c; };
  f.player.x = 100;
  f.player.y = 300;
  Frame({});
  EXPECT_EQ(cues(), 0u);
  Frame({kKeyZ});
  EXPECT_EQ(cues(), bit(kCueCharge));
  Frame({kKeyZ});
  EXPECT_EQ(cues(), 0u);  // held: no new cue
  Frame({});
  EXPECT_EQ(cues(), bit(kCueFire));
  Frame({kKeyZ});
  EXPECT_EQ(f.blastLevel, 100);
  EXPECT_EQ(cues(), bit(kCueClick));  // the first detonation
  Frame({});
  Frame({kKeyZ});  // a second shot
  EXPECT_EQ(cues(), bit(kCueCharge));
  Frame({});
  EXPECT_EQ(cues(), bit(kCueFire));
  Frame({kKeyZ});
  EXPECT_EQ(f.blastLevel, 200);
  EXPECT_EQ(cues(), bit(kCueBoom));  // from the second on, the blast

  // Two bullets on the player in one frame: one hit cue.
  Frame({});
  cues();
  f.bullets[0] = Mover{100, 303, 0, 0, 1, 180};
  f.bullets[1] = Mover{103, 300, 0, 0, 1, 180};
  Frame({});
  EXPECT_EQ(f.player.life, -1);
  EXPECT_EQ(cues(), bit(kCueHit));
  Frame({kKeyX});
  EXPECT_EQ(cues(), bit(kCueRestart));
  Frame({kKeyX});
  EXPECT_EQ(cues(), 0u);  // once per press
}

TEST(Sounds, OpenedOnceAndPlayedInCueOrderAfterTheFrame) {
  static std::vector<std::string> sent;
  sent.clear();
  void (*const saved)(const char*) = plat::mediaSink;
  plat::mediaSink = [](const char* command) { sent.push_back(command); };
  MarkCue(kCueHit);
  OpenSounds();  // forgets cues marked before
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_EQ(sent[0], "open data\\charge.wav alias charge");
  EXPECT_EQ(sent[5], "open data\\restart.wav alias restart");
  sent.clear();
  soundCues.Send();
  EXPECT_TRUE(sent.empty());
  MarkCue(kCueRestart);
  MarkCue(kCueFire);
  MarkCue(kCueFire);
  soundCues.Send();
  EXPECT_EQ(sent, (std::vector<std::string>{"play fire from 0", "play restart from 0"}));
  sent.clear();
  soundCues.Send();
  EXPECT_TRUE(sent.empty());
  plat::mediaSink = saved;
}

}  // namespace
}  // namespace volley
