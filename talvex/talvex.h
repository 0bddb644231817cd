// talvex: climb a turning cylindrical tower of 256 random platforms by gripping and
// pushing off. The climber stays at one place on the screen; the tower turns and scrolls
// around it. All game state lives in the fixed tables below.
#pragma once
#include <cstdint>
#include "frame/frame.h"
#include "platform/cues.h"

namespace talvex {

// Values of frame::gameState.
enum State : int { Quit = 0, Play = 1, Title = 2, Ending = 4 };

constexpr int kPlatforms = 256;
constexpr int kStars = 256;

// Virtual-key codes the game polls.
constexpr int kKeyZ = 0x5A;

// Heights are pixels, 0 at the ground and negative above it; angles are degrees around
// the tower.
struct Platform {
  float y;      // height of the platform's centre
  float angle;  // a whole number 0..359 when the tower is built
};

struct Star {
  int starX;  // 0..1279: the star field is twice the screen's width
  int starY;  // 0..479
};

// Climber.
extern float climberAngle;      // kept roughly within -1..360 by the wrap before each move
extern float climberY;          // 0 on the ground, never positive after a step
extern float angleVelocity;     // degrees per step
extern float verticalVelocity;  // pixels per step; negative is upward
extern bool inGripRange;        // within grip range of some platform this step
extern bool clinging;           // Z held inside grip range; released Z pushes off once

extern Platform platforms[kPlatforms];  // index 0 the lowest
extern Star stars[kStars];

// Frame-rate counter: play steps counted, the value shown, when the next update is due.
extern int fpsFrames;
extern int fpsShown;
extern uint32_t fpsNextTime;

// The image surfaces, frame::dcTable slots 3 to 8.
constexpr int kPlatformSlot = 3, kMaskSlot = 4, kStickSlot = 5, kTowerSlot = 6, kEndSlot = 7,
              kEndMaskSlot = 8;

// Climber poses: cells of the stick sheet and of the mask sheet (after the platform mask).
enum Pose : int { Standing = 0, MovingLeft = 1, MovingRight = 2, Holding = 3 };

// Builds a new tower (platforms, then stars, drawn from RandomBelow in a fixed order) and
// puts the climber at its foot.
void SetupTower();
// True when the climber is within grip range of platform p.
bool InGripRange(const Platform& p);
// One step of play: grip, holding, push-off, move, ground, the scene, texts, win, Escape.
void PlayStep();
// Parts of the play step, for tests.
void MoveClimber();   // steps 2 to 6: grip range, holding, wrap, move, ground
void DrawTexts();     // the height line and the frame rate
bool ClimberHasWon();

// The view.
void DrawScene();
int WallColumn(int c);       // texture column of screen column 160 + c (0..319)
int SkyHeight();             // rows of the sky box above the tower; 0: none
Pose ClimberPose();
// Platforms reuse their stretched cells from earlier frames (the same pixels as stretching
// anew); false stretches every platform directly, the plain way.
extern bool keepPlatformStretches;
void TitleStep();
void EndingStep();
// Runs the state routine of gameState, then sends the sound cues the step marked.
void Step();
// The frame's set-up: opens the sound clips, builds the first tower.
void Setup();

// A start height for test runs (0: the foot of the tower): after the first tower is
// built, the climber is put this many pixels up, at the angle of the nearest platform
// below that height.
extern float testStartHeight;

// Sound cues, marked by the rules during a step and sent after it through plat::mediaSink.
enum Sound : int { SoundJump, SoundGrip, SoundPushOff, SoundEnding, kSoundCount };
extern plat::CueTable soundCues;  // one cue per Sound, in its order
inline void Cue(Sound s) { soundCues.Mark(s); }
inline void OpenSounds() {
  soundCues.Open();
  soundCues.marked = 0;
}

}  // namespace talvex
