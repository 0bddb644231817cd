// ostel: survive among falling, pushing motes of light, with bombs, drawn as a mosaic of
// light squares. All game state lives in the fixed tables below.
#pragma once
#include <cstdint>
#include "frame/frame.h"
#include "platform/cues.h"

namespace ostel {

// Values of frame::gameState.
enum State : int { Quit = 0, Play = 1, Title = 2, GameOver = 4 };

// The body table: motes 0..255, bombs 256..263, slot 264 unused, the player 265.
constexpr int kMotes = 256;
constexpr int kFirstBomb = 256;
constexpr int kBombs = 8;
constexpr int kPairSlots = 264;  // motes and bombs: the slots of the pair pass
constexpr int kPlayer = 265;
constexpr int kBodies = 266;

constexpr int kFullEndurance = 900;
constexpr int kSquares = 256;  // light squares painted per step

// Virtual-key codes the game polls.
constexpr int kKeyLeft = 0x25;
constexpr int kKeyRight = 0x27;
constexpr int kKeyX = 0x58;
constexpr int kKeyZ = 0x5A;
constexpr int kKeyEscape = 0x1B;
constexpr int kKeyLButton = 0x01;

struct Body {
  float x, y;    // pixels, y growing downwards
  float vx, vy;  // pixels per step
  uint8_t active;
  int32_t fuse;  // steps until a bomb explodes (bombs only)
};

extern Body bodies[kBodies];
inline Body& player = bodies[kPlayer];

extern int32_t endurance;     // 900 at each new game, at most 900
extern int32_t fireCooldown;  // steps until the next throw is allowed
extern int32_t fadeLevel;     // 255 while the player is active, then one less per step
extern uint32_t playStart;    // clock at the last NewGame
extern uint32_t playEnd;      // clock when fadeLevel reached 0

// Sound cues, marked by the rules and sent after the step, so they never change what
// the game computes, draws or draws at random.
enum Sound : int {
  SoundThrow,    // a bomb leaves the player
  SoundBlast,    // a bomb explodes
  SoundTouch,    // a mote touches the active player (one play per step at most)
  SoundGiveOut,  // the player gives out
  kSoundCount
};
extern plat::CueTable cues;
inline void Cue(Sound s) { cues.Mark(s); }

// Rules.
void NewGame();
void Push(int a, int b);  // body a is pushed away from body b
void ThrowBomb(int dir);  // dir +1 right, -1 left
void ExplodeBomb(int i);
void SurvivalStep();
void PaintLight();

// The motion and pair pass of motes and bombs in SurvivalStep: the fast pass that it
// runs, and the plain all-pairs pass that the fast one must match bit for bit.
void MoveBodies();
void MoveBodiesReference();
// PaintLight, and the plain version measuring every body from every sample point.
void PaintLightReference();
// The colour PaintLight gives the square around (px, py), measured the plain way.
plat::Colour LightAt(int px, int py);

// Screens and the dispatcher the frame calls once per frame.
void TitleStep();
void GameOverStep();
void Setup();  // the frame's set-up: opens the clips, prepares the first game
void Step();   // runs the state routine of gameState, then sends the step's cues

}  // namespace ostel
