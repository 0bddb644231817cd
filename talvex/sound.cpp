// talvex's sound cues: the clips opened at start-up and the plays sent after each step.
#include "platform/cues.h"
#include "talvex/talvex.h"

namespace talvex {

namespace {

// In the order of Sound.
constexpr plat::Cue kCues[kSoundCount] = {
    {"jump", "data\\jump.wav"},
    {"grip", "data\\grip.wav"},
    {"pushoff", "data\\pushoff.wav"},
    {"ending", "data\\ending.wav"},
};

}  // namespace

plat::CueTable cues{kCues, kSoundCount};

void Cue(Sound s) { cues.Mark(s); }

void OpenSounds() {
  cues.Open();
  cues.marked = 0;
}

void SendSounds() { cues.Send(); }

}  // namespace talvex
