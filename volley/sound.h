// volley's sound cues. The rules only mark the cues of a frame; the plays are sent once
// the frame is drawn, so sound never changes what the game computes or shows.
#pragma once
#include <cstdint>

namespace volley {

enum Cue : int {
  kCueCharge,   // Z starts charging the shot
  kCueFire,     // the shot is launched
  kCueClick,    // the first detonation, which does nothing visible
  kCueBoom,     // a detonation whose blast sweeps the grid
  kCueHit,      // the player is hit
  kCueRestart,  // X restarts the attack
  kCueCount
};

// Cues marked this frame, one bit each.
extern uint32_t pendingCues;
inline void MarkCue(Cue c) { pendingCues |= 1u << c; }

// Where the media commands go (tests put a recorder here).
extern void (*soundCommand)(const char* command);

// Opens every clip (data\NAME.wav as NAME) and forgets any marked cues.
void OpenSounds();
// Plays each marked cue from its start, in the order above, and clears the marks.
void PlaySounds();

}  // namespace volley
