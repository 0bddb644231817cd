// gattrin: hold a square gate against attackers that slide along the screen's edges and
// pound its four doors, by moving a few bars between the doors with the arrow keys. The
// result is the time the gate held. All game state lives in the fixed tables below.
#pragma once
#include <cstdint>
#include "frame/frame.h"
#include "platform/cues.h"

namespace gattrin {

// Values of frame::gameState.
enum State : int { Quit = 0, Play = 1, NewGame = 2, EnterTitle = 3, Title = 4, GameOver = 5 };

// Sides, everywhere: the index of barInSlot and shake, and an attacker's direction / 2.
enum Side : int { Top = 0, Bottom = 1, Left = 2, Right = 3 };

// handState values.
enum Hands : int { HandsEmpty = 0, HoldingBar = 1, InputLocked = 2 };

constexpr int kAttackerSlots = 64;
constexpr int kStartStrength = 250;

struct Attacker {
  int direction;  // 0 top moving right, 1 top moving left, 2 bottom right, 3 bottom left,
                  // 4 left moving down, 5 left moving up, 6 right down, 7 right up
  float phase;    // -300 at spawn, +1 per update; distance along the edge is phase x speed
  bool recent;    // spawned a short while ago; counted by the spawn rule
  bool active;
  float speed;    // pixels per update, 1.0 to 2.9
};

// Siege state.
extern Attacker attackers[kAttackerSlots];
extern int barInSlot[4];  // by side: 1 when that door holds its bar
extern int barCount;      // bars in play: 4 on the title, 3 or 2 in a game
extern int handState;
extern int gateStrength;
extern int tick;          // updates since the reset
extern int endTick;       // tick at game over
extern int shake[4];      // by side: this frame's drawing offset of the wall and the bar

// Sound cues. The rules only mark them; Step sends one play per marked cue after the
// frame's routines, so sound never changes what the game computes or draws.
enum Sound : int {
  SoundPull,       // a bar taken out of a door into the hands
  SoundSet,        // a bar dropped into a door
  SoundPoundBar,   // an attacker strikes a barred door
  SoundPoundOpen,  // an attacker strikes an open door
  SoundFall,       // the gate falls
  kSoundCount
};
extern plat::CueTable soundCues;  // one cue per Sound, in its order
inline void Cue(Sound s) { soundCues.Mark(s); }
// The frame's set-up: opens every clip.
inline void OpenSounds() {
  soundCues.Open();
  soundCues.marked = 0;
}
// Updates between two blows of an attacker in contact: a pound is heard on the first
// update of contact and every kBlowPeriod updates after it.
constexpr int kBlowPeriod = 10;

void ResetSiege();
void UpdateSiege();  // one update of the siege, then DrawSiege
void Step();         // the state routines of gameState, then the sounds

// Parts of the update and the drawing, for tests and benchmarks.
void MoveBar();
bool SpawnAllowed(int d);  // the spawn rule's side test for a new attacker of direction d
void DrawSiege();
void DrawBeamDown(int x);
void DrawBeamUp(int x);
void DrawBeamRight(int y);
void DrawBeamLeft(int y);
void DrawSpinner(int x, int y, float phase);
void TitleOverlay();
void GameOverOverlay();
extern char textBuffer[32];  // the formatted survival time

}  // namespace gattrin
