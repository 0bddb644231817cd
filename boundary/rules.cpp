// The dust field: a new game, one play frame, the release, the particle pass and the
// source pass, with the sound cues each event sends.
#include <cmath>
#include <cstdio>
#include "boundary/boundary.h"

namespace boundary {

DustParticle particles[kParticles];
DustSource sources[kSources];
int charge;
int health;
int score;
int gameOverCountdown;
int frameCounter;
uint32_t lastBassTime;
int bassIndex;

namespace {

using frame::RandomBelow;

char textBuffer[32];  // the numbered commands are formatted here

int FreeParticle() {
  for (int i = 0; i < kParticles; ++i)
    if (!particles[i].active) return i;
  return -1;
}

int FreeSource() {
  for (int i = 0; i < kSources; ++i)
    if (!sources[i].active) return i;
  return -1;
}

constexpr float kSourceSpeeds[6] = {-3, -2, -1, 1, 2, 3};

}  // namespace

int Distance(float a, float b) {
  const int d = static_cast<int>(a - b);
  return d < 0 ? -d : d;
}

bool BeatDue(uint32_t last, uint32_t now) { return now - last > kBeatMs; }

void Setup() {
  OpenSounds();
  bassIndex = 1;
  frame::gameState = Title;
  NewGame();
}

void NewGame() {
  frameCounter = 0;
  for (DustSource& s : sources) s.active = false;
  for (DustParticle& p : particles) {
    p.active = false;
    p.state = Drifting;
    // Values no rule reads before a spawn overwrites them; drawn all the same so the
    // generator's sequence stays as it was.
    p.x = static_cast<float>(RandomBelow(640));
    p.y = static_cast<float>(RandomBelow(480));
    p.vx = static_cast<float>(RandomBelow(41) - 20);
    p.vy = static_cast<float>(RandomBelow(41) - 20);
  }
  lastBassTime = plat::TimeMs() - kBeatMs;  // the first play frame beats at once
  health = kStartHealth;
  score = 0;
}

void PlayFrame() {
  if (BeatDue(lastBassTime, frame::frameStart)) {
    std::snprintf(textBuffer, sizeof textBuffer, "play bass%d from 0", bassIndex);
    bassIndex = 3 - bassIndex;
    SendSound(textBuffer);
    lastBassTime = frame::frameStart;
  }
  frameCounter += 1;
  if (frame::MouseClicked(frame::hold)) {
    charge += kChargeStep;
  } else {
    ReleaseCaught();
  }
  if (charge > kFullCharge) charge = kFullCharge;
  if (gameOverCountdown != 0) {
    gameOverCountdown -= 1;
    charge = 0;
  }
  if (gameOverCountdown == 1) frame::gameState = Title;  // this frame still runs to the end
  UpdateParticles();
  UpdateSources();
  DrawPlay();
  if (health == 0) {
    health = -1;
    gameOverCountdown = kCountdown;
  }
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

// Runs on every frame the button is up: whatever was caught bursts.
void ReleaseCaught() {
  charge = 0;
  int n = 1;
  for (DustParticle& p : particles) {
    if (p.active && p.state == Caught) {
      p.state = Bursting;
      p.timer = kBurstFrames;
      n += 1;
    }
  }
  // No cue when nothing bursts; fan1 for one or two, up to fan4 for seven or more.
  const int k = n / 2 < 4 ? n / 2 : 4;
  if (k != 0) {
    std::snprintf(textBuffer, sizeof textBuffer, "play fan%d from 0", k);
    SendSound(textBuffer);
  }
}

void UpdateParticles() {
  // Nothing in this pass makes dust active or drifting, so the slots drifting at its start
  // (in slot order) are all a burst need look at; a full field of bursts then costs no
  // pairs at all.
  static_assert(kParticles <= 256, "slot numbers are kept in bytes");
  uint8_t drifting[kParticles];
  int driftingCount = 0;
  for (int i = 0; i < kParticles; ++i)
    if (particles[i].active && particles[i].state == Drifting) drifting[driftingCount++] = static_cast<uint8_t>(i);
  for (DustParticle& p : particles) {
    if (!p.active) continue;
    if (p.state == Bursting) {
      // A burst stands still and ignites the drifting dust near it.
      p.timer -= 1;
      for (int j = 0; j < driftingCount; ++j) {
        DustParticle& q = particles[drifting[j]];
        if (q.active && q.state == Drifting && Distance(p.y, q.y) < 16 && Distance(p.x, q.x) < 80) {
          q.state = Ignited;
          q.timer = kIgniteFrames;
        }
      }
      if (p.timer == 0) {
        score += 1;
        p.active = false;
      }
      continue;
    }
    p.x = static_cast<float>(p.x + 0.1 * p.vx);
    p.y = static_cast<float>(p.y + 0.1 * p.vy);
    // A pull of constant size toward the line.
    if (p.y < kLineY) {
      p.vy += 1;
    } else {
      p.vy -= 1;
    }
    if (p.x < 0) p.vx = -p.vx;
    if (p.x > 640) p.vx = -p.vx;
    if (health != 0 && Distance(p.y, kLineY) < 16) {
      const int dx = Distance(p.x, static_cast<float>(frame::mouseX));
      if (dx < 16 && p.state != Ignited) {
        p.active = false;
        health -= 1;
        SendSound("play hit from 0");
      }
      // Looks only at the state, so a particle that has just hit is caught as well.
      if (charge != kFullCharge && p.state == Drifting && dx < std::sqrt(static_cast<double>(charge)) + 16 &&
          charge != 0) {
        SendSound("play bure from 0");
        p.state = Caught;
      }
    }
    if (p.state == Ignited) {
      p.timer -= 1;
      if (p.timer == 0) {
        p.state = Bursting;
        p.timer = kBurstFrames;
      }
    }
  }
}

void UpdateSources() {
  for (DustSource& s : sources) {
    if (!s.active) continue;
    s.x += s.vx;
    if (s.x < -160) s.active = false;
    if (s.x > 800) s.active = false;
    const int r = RandomBelow(20000);
    if (r < score + 100 && Distance(s.x, 320) < 320) {
      const int i = FreeParticle();
      if (i >= 0) {
        DustParticle& p = particles[i];
        p.active = true;
        p.x = s.x;
        p.y = static_cast<float>((2 * s.lane - 1) * 180 + kLineY);
        p.vx = static_cast<float>(RandomBelow(41) - 20);
        p.vy = static_cast<float>(RandomBelow(21) - 5);
        p.state = Drifting;
      }
    }
  }
  if (RandomBelow(120) == 0) {
    const int i = FreeSource();
    if (i >= 0) {
      DustSource& s = sources[i];
      s.lane = RandomBelow(2);
      s.active = true;
      s.vx = kSourceSpeeds[RandomBelow(6)];
      s.x = s.vx > 0 ? -128.0f : 768.0f;
    }
  }
}

}  // namespace boundary
