// volley's sound cues. The rules only mark the cues of a frame; the plays are sent once
// the frame is drawn, so sound never changes what the game computes or shows.
#pragma once
#include <cstdint>
#include "platform/cues.h"

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

// The clips, one per Cue in its order; soundCues.Send() plays the cues marked this frame.
extern plat::CueTable soundCues;
inline void MarkCue(Cue c) { soundCues.Mark(c); }

// Opens every clip (data\NAME.wav as NAME) and forgets any marked cues.
inline void OpenSounds() {
  soundCues.Open();
  soundCues.marked = 0;
}

}  // namespace volley
