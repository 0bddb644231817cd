// The play frame: charging, hits and catches on the line, releases and their cues, the
// chain of ignitions, the sources, the end of a game and a new one.
#include <algorithm>
#include <cmath>
#include <utility>
#include "boundary/tests/harness.h"
#include "platform/keys.h"

namespace boundarytest {
namespace {

using namespace boundary;

// ---------------------------------------------------------------- charge

class ChargeTest : public BoundaryTest {};

TEST_F(ChargeTest, GrowsBy256PerHeldFrameAndStopsAtFullWhereNothingIsCaught) {
  Press();
  for (int f = 1; f <= 130; ++f) {
    PlayFrame();
    ASSERT_EQ(charge, std::min(256 * f, kFullCharge)) << "frame " << f;
  }
  // Full charge: a particle crossing 20 pixels from the cursor is not caught.
  Put(0, 340, 240);
  PlayFrame();
  EXPECT_EQ(particles[0].state, Drifting);
  EXPECT_EQ(Count("play bure from 0"), 0);

  // Let go (nothing bursts, so no cue) and press again: the charge starts over and catches.
  Release();
  PlayFrame();
  EXPECT_EQ(charge, 0);
  Press();
  particles[0].y = 240;
  PlayFrame();
  EXPECT_EQ(charge, 256);
  EXPECT_EQ(particles[0].state, Caught);
  EXPECT_EQ(sent, std::vector<std::string>{"play bure from 0"});
}

// ---------------------------------------------------------------- the line

class ContactTest : public BoundaryTest {};

TEST_F(ContactTest, FifteenPixelsAfterTruncationIsAHitSixteenIsACatchWhileCharging) {
  struct Case {
    float dx;
    int charge;
    bool hit, caught;
  } cases[] = {
      {15.9f, 0, true, false},      // truncates to 15
      {-15.9f, 0, true, false},
      {16.0f, 0, false, false},     // no charge: crosses unharmed
      {16.0f, 256, false, true},    // reach sqrt(256) + 16 = 32
      {-31.5f, 256, false, true},   // 31 < 32
      {32.0f, 256, false, false},
      {16.0f, 32512, false, true},
      {196.9f, 32512, false, true},  // 196 < 180.3 + 16
      {197.0f, 32512, false, false},
      {16.0f, 32768, false, false},  // full charge catches nothing
  };
  for (const Case& c : cases) {
    SetUp();
    Put(0, frame::mouseX + c.dx, 240);
    charge = c.charge;
    UpdateParticles();
    EXPECT_EQ(!particles[0].active, c.hit) << c.dx << " " << c.charge;
    EXPECT_EQ(health, c.hit ? kStartHealth - 1 : kStartHealth);
    EXPECT_EQ(particles[0].state == Caught, c.caught) << c.dx << " " << c.charge;
    EXPECT_EQ(Count("play hit from 0"), c.hit ? 1 : 0);
    EXPECT_EQ(Count("play bure from 0"), c.caught ? 1 : 0);
  }
}

TEST_F(ContactTest, OnlyWithinSixteenRowsOfTheLineAfterMovingAndTruncating) {
  // y is moved by a tenth of vy first: 224.5 + 1 = 225.5, 15 from the line after truncation.
  Put(0, frame::mouseX, 224.5f, Drifting, 0, 0, 10);
  Put(1, frame::mouseX, 223.0f, Drifting, 0, 0, 10);  // 224: 16 rows off
  Put(2, frame::mouseX, 256.9f);
  UpdateParticles();
  EXPECT_FALSE(particles[0].active);
  EXPECT_TRUE(particles[1].active);
  EXPECT_TRUE(particles[2].active);
  EXPECT_EQ(health, kStartHealth - 1);
}

TEST_F(ContactTest, HitDoesNotStopTheCatchTestAndIgnitedDustIsHarmless) {
  charge = 512;
  Put(0, frame::mouseX, 240);
  Put(1, frame::mouseX + 3, 240, Caught);
  Put(2, frame::mouseX, 240, Ignited, 10);
  UpdateParticles();
  // The drifting particle is hit and then caught as well, both cues in slot order.
  EXPECT_FALSE(particles[0].active);
  EXPECT_EQ(particles[0].state, Caught);
  // Caught dust still hurts; ignited dust passes and cannot be caught.
  EXPECT_FALSE(particles[1].active);
  EXPECT_TRUE(particles[2].active);
  EXPECT_EQ(particles[2].state, Ignited);
  EXPECT_EQ(particles[2].timer, 9);
  EXPECT_EQ(health, kStartHealth - 2);
  EXPECT_EQ(sent, (std::vector<std::string>{"play hit from 0", "play bure from 0", "play hit from 0"}));
}

TEST_F(ContactTest, MovesByATenthOfItsSpeedIsPulledToTheLineAndBouncesOffTheSides) {
  Put(0, 100, 100, Drifting, 0, 5, -3);
  Put(1, 100, 300, Drifting, 0, -5, 3);
  Put(2, 0.2f, 100, Drifting, 0, -5, 0);
  Put(3, 639.9f, 400, Drifting, 0, 5, 0);
  UpdateParticles();
  EXPECT_FLOAT_EQ(particles[0].x, 100.5f);
  EXPECT_FLOAT_EQ(particles[0].y, 99.7f);
  EXPECT_EQ(particles[0].vy, -2.0f);
  EXPECT_EQ(particles[1].vy, 2.0f);
  EXPECT_EQ(particles[2].vx, 5.0f);  // crossed 0: turned, not clamped
  EXPECT_FLOAT_EQ(particles[2].x, -0.3f);
  EXPECT_EQ(particles[3].vx, -5.0f);
  EXPECT_EQ(particles[0].vx, 5.0f);
}

TEST_F(ContactTest, TwelveHitsEndTheGameAndTheTitleReturns119FramesLater) {
  for (int i = 0; i < 12; ++i) Put(i, frame::mouseX + i - 6, 240);
  Press();
  PlayFrame();
  EXPECT_EQ(Count("play hit from 0"), 12);  // one command per hit, all in this frame
  EXPECT_EQ(health, -1);
  EXPECT_EQ(gameOverCountdown, kCountdown);
  const int endFrame = 0;
  for (int f = endFrame + 1; f <= 118; ++f) {
    PlayFrame();
    ASSERT_EQ(frame::gameState, Play) << f;
    ASSERT_EQ(charge, 0) << f;  // held, but forced to 0
  }
  // Dust still hurts during the countdown and takes health below -1.
  Put(20, frame::mouseX, 240);
  PlayFrame();
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(gameOverCountdown, 1);
  EXPECT_EQ(health, -2);

  // A new game keeps the countdown at 1; its first frame takes it to 0 and forces the
  // charge of the click still held to 0.
  NewGame();
  EXPECT_EQ(gameOverCountdown, 1);
  frame::gameState = Play;
  PlayFrame();
  EXPECT_EQ(gameOverCountdown, 0);
  EXPECT_EQ(charge, 0);
  PlayFrame();
  EXPECT_EQ(charge, 256);
  EXPECT_EQ(frame::gameState, Play);
}

TEST_F(ContactTest, NoPlayerWhileHealthIsZeroAndEscapeQuits) {
  health = 0;
  Put(0, frame::mouseX, 240);
  UpdateParticles();
  EXPECT_TRUE(particles[0].active);

  SetUp();
  PlayFrame();  // Escape seen up
  plat::CloseSystem();
  plat::ScriptEvent esc;
  esc.kind = plat::ScriptEvent::Down;
  esc.frame = 1;
  esc.vk = plat::VK_ESCAPE;
  OpenHeadless({esc});
  plat::Event e;
  while (plat::PollEvent(e)) {
  }
  PlayFrame();
  EXPECT_EQ(frame::gameState, Quit);
}

// ---------------------------------------------------------------- release

class ReleaseTest : public BoundaryTest {};

TEST_F(ReleaseTest, EveryCaughtParticleBurstsAndTheCueGrowsWithTheirNumber) {
  const int expected[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 4, 4};
  for (int caught = 0; caught <= 10; ++caught) {
    SetUp();
    for (int i = 0; i < caught; ++i) Put(3 * i + 1, 50.0f + 10 * i, 100, Caught);
    Put(0, 10, 100);  // drifting: not burst
    Put(2, 10, 100, Caught);
    particles[2].active = false;  // inactive slots are passed over
    charge = 4096;
    ReleaseCaught();
    EXPECT_EQ(charge, 0);
    for (int i = 0; i < caught; ++i) {
      EXPECT_EQ(particles[3 * i + 1].state, Bursting);
      EXPECT_EQ(particles[3 * i + 1].timer, kBurstFrames);
    }
    EXPECT_EQ(particles[0].state, Drifting);
    EXPECT_EQ(particles[2].state, Caught);
    if (expected[caught] == 0) {
      EXPECT_TRUE(sent.empty()) << caught;
    } else {
      EXPECT_EQ(sent, std::vector<std::string>{"play fan" + std::to_string(expected[caught]) + " from 0"})
          << caught;
    }
  }
}

TEST_F(ReleaseTest, RunsOnEveryFrameTheButtonIsUp) {
  Put(0, 100, 100, Caught);
  PlayFrame();
  EXPECT_EQ(particles[0].state, Bursting);
  particles[1] = particles[0];
  particles[1].state = Caught;
  PlayFrame();  // still up: the new catch bursts too
  EXPECT_EQ(particles[1].state, Bursting);
  EXPECT_EQ(Count("play fan1 from 0"), 2);
}

// ---------------------------------------------------------------- bursts and chains

class ChainTest : public BoundaryTest {};

TEST_F(ChainTest, BurstIgnitesDriftingDustWithin79By15Only) {
  Put(10, 300, 100, Bursting, 30);
  Put(0, 379.5f, 115.9f);  // 79 by 15 after truncation
  Put(1, 220.5f, 84.1f);
  Put(2, 380.0f, 100);     // 80 across
  Put(3, 300, 116.0f);     // 16 down
  Put(4, 310, 100, Caught);
  Put(5, 310, 100, Ignited, 40);
  UpdateParticles();
  EXPECT_EQ(particles[0].state, Ignited);
  EXPECT_EQ(particles[1].state, Ignited);
  EXPECT_EQ(particles[0].timer, kIgniteFrames);  // slot before the burst: no update yet
  EXPECT_EQ(particles[2].state, Drifting);
  EXPECT_EQ(particles[3].state, Drifting);
  EXPECT_EQ(particles[4].state, Caught);
  EXPECT_EQ(particles[5].timer, 39);
  EXPECT_EQ(particles[10].timer, 29);
  EXPECT_EQ(particles[10].x, 300.0f);  // a burst stands still
}

TEST_F(ChainTest, IgnitedDustBurstsOnItsSixtiethUpdateAndScoresThirtyUpdatesLater) {
  // The burst sits in slot 5; neighbour 9 comes after it and is updated in the frame it is
  // ignited, neighbour 2 comes before and is not.
  Put(5, 300, 100, Bursting, 30);
  Put(9, 320, 100);
  Put(2, 280, 100);
  frame::mouseX = 600;
  int burstAt[10] = {}, goneAt[10] = {};
  for (int f = 1; f <= 100; ++f) {
    UpdateParticles();
    for (int i : {2, 5, 9}) {
      if (particles[i].state == Bursting && burstAt[i] == 0) burstAt[i] = f;
      if (!particles[i].active && goneAt[i] == 0) goneAt[i] = f;
    }
  }
  EXPECT_EQ(goneAt[5], 30);
  EXPECT_EQ(burstAt[9], 60);
  EXPECT_EQ(burstAt[2], 61);
  EXPECT_EQ(goneAt[9], 90);
  EXPECT_EQ(goneAt[2], 91);
  EXPECT_EQ(score, 3);
}

// ---------------------------------------------------------------- sources

class SourceTest : public BoundaryTest {
 protected:
  // A generator state whose next draws, RandomBelow of the bounds given, give the results
  // given (-1: any).
  static uint32_t StateFor(const std::vector<std::pair<int, int>>& draws) {
    for (uint32_t seed = 1;; ++seed) {
      frame::randomState = seed;
      bool ok = true;
      for (auto [bound, want] : draws) {
        const int v = frame::RandomBelow(bound);
        if (want >= 0 && v != want) ok = false;
      }
      if (ok) return frame::randomState = seed;
    }
  }
};

TEST_F(SourceTest, LaunchOneIn120TheLaneBeforeTheSpeedFromEitherSide) {
  const float speeds[6] = {-3, -2, -1, 1, 2, 3};
  for (int lane = 0; lane < 2; ++lane) {
    for (int k = 0; k < 6; ++k) {
      SetUp();
      sources[0] = DustSource{700, 0, true, 0};  // off the screen: it never spawns
      StateFor({{20000, -1}, {120, 0}, {2, lane}, {6, k}});
      UpdateSources();
      const DustSource& s = sources[1];  // the lowest free slot
      ASSERT_TRUE(s.active);
      EXPECT_EQ(s.lane, lane);
      EXPECT_EQ(s.vx, speeds[k]);
      EXPECT_EQ(s.x, speeds[k] > 0 ? -128.0f : 768.0f);
      EXPECT_FALSE(sources[2].active);
    }
  }
  SetUp();
  StateFor({{120, 1}});
  UpdateSources();
  for (const DustSource& s : sources) EXPECT_FALSE(s.active);

  // A full table drops the launch after its one draw.
  SetUp();
  for (DustSource& s : sources) s = DustSource{700, 0, true, 1};
  std::vector<std::pair<int, int>> draws(kSources, {20000, -1});
  draws.push_back({120, 0});
  StateFor(draws);
  const uint32_t after = StateAfter(kSources + 1);
  UpdateSources();
  EXPECT_EQ(frame::randomState, after);
  for (const DustSource& s : sources) EXPECT_EQ(s.x, 700.0f);
}

TEST_F(SourceTest, SourcesGlideAndLeaveBeyondMinus160And800) {
  sources[0] = DustSource{-158, -3, true, 0};
  sources[1] = DustSource{-157, -3, true, 0};
  sources[2] = DustSource{799, 2, true, 1};
  sources[3] = DustSource{797, 3, true, 1};
  StateFor({{20000, -1}, {20000, -1}, {20000, -1}, {20000, -1}, {120, 1}});
  UpdateSources();
  EXPECT_FALSE(sources[0].active);
  EXPECT_TRUE(sources[1].active);
  EXPECT_EQ(sources[1].x, -160.0f);
  EXPECT_FALSE(sources[2].active);
  EXPECT_TRUE(sources[3].active);
  EXPECT_EQ(sources[3].x, 800.0f);
  for (const DustParticle& p : particles) EXPECT_FALSE(p.active);
}

TEST_F(SourceTest, SpawnChanceIsScorePlus100In20000AndTheSpeedIsDrawnAcrossThenDown) {
  for (int lane = 0; lane < 2; ++lane) {
    SetUp();
    int r, vx, vy;
    {
      RandomPreview next;
      r = next.Below(20000);
      vx = next.Below(41) - 20;
      vy = next.Below(21) - 5;
    }
    const uint32_t start = frame::randomState;
    sources[0] = DustSource{299, 1, true, lane};
    score = r - 100;  // r is not below r: no spawn
    UpdateSources();
    EXPECT_FALSE(particles[0].active);

    frame::randomState = start;
    sources[0].x = 299;
    score = r - 99;
    particles[0].active = true;  // the lowest free slot is taken
    particles[1].timer = 17;
    UpdateSources();
    const DustParticle& p = particles[1];
    ASSERT_TRUE(p.active);
    EXPECT_EQ(p.x, 300.0f);
    EXPECT_EQ(p.y, lane == 0 ? 60.0f : 420.0f);
    EXPECT_EQ(p.vx, static_cast<float>(vx));
    EXPECT_EQ(p.vy, static_cast<float>(vy));
    EXPECT_EQ(p.state, Drifting);
    EXPECT_EQ(p.timer, 17);  // left as it was
  }
  // The speeds cover -20..20 across and -5..15 down.
  int lowX = 99, highX = -99, lowY = 99, highY = -99;
  score = 20000;  // every chance is taken
  for (int i = 0; i < 3000; ++i) {
    frame::randomState = 7919u * i;
    particles[0].active = false;
    sources[0] = DustSource{300, 1, true, 0};
    UpdateSources();
    lowX = std::min(lowX, static_cast<int>(particles[0].vx));
    highX = std::max(highX, static_cast<int>(particles[0].vx));
    lowY = std::min(lowY, static_cast<int>(particles[0].vy));
    highY = std::max(highY, static_cast<int>(particles[0].vy));
  }
  EXPECT_EQ(lowX, -20);
  EXPECT_EQ(highX, 20);
  EXPECT_EQ(lowY, -5);
  EXPECT_EQ(highY, 15);
}

TEST_F(SourceTest, NoSpawnOffTheScreenOrIntoAFullTable) {
  // Over the screen means |x - 320| < 320 after truncation: x above 0 and below 640.
  struct Case {
    float x;
    bool spawns;
  } cases[] = {{0.5f, true}, {0.0f, false}, {-0.9f, false}, {639.5f, true}, {640.0f, false}};
  for (const Case& c : cases) {
    SetUp();
    sources[0] = DustSource{c.x + 1, -1, true, 0};
    score = 20000;  // every draw is below the chance
    UpdateSources();
    EXPECT_EQ(particles[0].active, c.spawns) << c.x;
  }
  SetUp();
  for (DustParticle& p : particles) p.active = true;
  sources[0] = DustSource{300, 1, true, 0};
  score = 20000;
  const uint32_t afterTwo = StateAfter(2);
  UpdateSources();  // the spawn is dropped: only its chance and the launch's draw are made
  EXPECT_EQ(frame::randomState, afterTwo);
}

// ---------------------------------------------------------------- a new game

TEST_F(BoundaryTest, NewGameClearsTheFieldDrawsFourValuesPerSlotAndBeatsAtOnce) {
  for (int i = 0; i < kParticles; ++i) Put(i, 1, 1, Bursting, 5);
  for (DustSource& s : sources) s.active = true;
  health = -3;
  score = 99;
  frameCounter = 500;
  bassIndex = 2;
  gameOverCountdown = 1;
  const uint32_t expectedState = StateAfter(4 * kParticles);
  NewGame();
  EXPECT_EQ(frame::randomState, expectedState);
  for (const DustParticle& p : particles) {
    EXPECT_FALSE(p.active);
    EXPECT_EQ(p.state, Drifting);
  }
  for (const DustSource& s : sources) EXPECT_FALSE(s.active);
  EXPECT_EQ(health, kStartHealth);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(frameCounter, 0);
  EXPECT_EQ(bassIndex, 2);
  EXPECT_EQ(gameOverCountdown, 1);
  EXPECT_EQ(lastBassTime, plat::TimeMs() - kBeatMs);
}

}  // namespace
}  // namespace boundarytest
