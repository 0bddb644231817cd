// boundary: catch the dust that swings through the line and burst it in chains.
// A mouse-only toy: the player is a point on the line at y 240 that follows the mouse;
// holding the button builds a charge that catches crossing dust, releasing bursts it, and
// every burst ignites the drifting dust near it. All state lives in the fixed tables
// below for the whole run.
#pragma once
#include <cstdint>
#include "frame/frame.h"

namespace boundary {

// Values of frame::gameState.
enum State : int { Quit = 0, Play = 1, Title = 2 };

// DustParticle::state.
enum ParticleState : int { Drifting = 1, Caught = 2, Bursting = 3, Ignited = 4 };

constexpr int kParticles = 128;
constexpr int kSources = 16;
constexpr int kLineY = 240;
constexpr int kChargeStep = 256;      // per frame the button is held
constexpr int kFullCharge = 32768;    // reached after 128 held frames; catches nothing
constexpr int kStartHealth = 12;
constexpr int kCountdown = 120;       // frames from the loss to the title, counting down to 1
constexpr int kBurstFrames = 30;
constexpr int kIgniteFrames = 60;
constexpr uint32_t kBeatMs = 1714;

struct DustParticle {
  float x, y;
  float vx, vy;  // the position moves by a tenth of these per frame
  bool active;
  int state;     // ParticleState
  int timer;     // frames left while Bursting or Ignited
};

struct DustSource {
  float x;
  float vx;  // pixels per frame: -3, -2, -1, 1, 2 or 3
  bool active;
  int lane;  // 0 top, 1 bottom
};

extern DustParticle particles[kParticles];
extern DustSource sources[kSources];

// Play state.
extern int charge;
extern int health;             // drawn as one green stroke each; below 0 after the loss
extern int score;              // particles that finished bursting; raises the spawn rate
extern int gameOverCountdown;
extern int frameCounter;       // play and title frames since the last NewGame
extern uint32_t lastBassTime;  // clock value of the last beat
extern int bassIndex;          // 1 or 2: which bass device plays next

// The game frame's set-up: opens the sound aliases and the first game, on the title.
void Setup();
void NewGame();
void PlayFrame();
void ReleaseCaught();
void UpdateParticles();
void UpdateSources();
void DrawPlay();
void TitleFrame();
void Step();  // the frame's dispatch on gameState

// |a - b| as the rules measure it: the difference truncated toward zero, then made
// positive.
int Distance(float a, float b);
// The beat is due once more than kBeatMs have passed since the last one. The clock is
// taken modulo 2^32, so the pulse goes on across the clock's sign change and its wrap.
bool BeatDue(uint32_t last, uint32_t now);

// Media commands, through plat::mediaSink (a test puts a recorder there): the eight
// aliases opened in table order, and one command sent as it is.
void OpenSounds();
void SendSound(const char* command);

}  // namespace boundary
