// talvex's sound cues: the clips opened at start-up, played after each step.
#include "talvex/talvex.h"

namespace talvex {

namespace {

// In the order of Sound.
constexpr plat::Cue kClips[kSoundCount] = {
    {"jump", "data\\jump.wav"},
    {"grip", "data\\grip.wav"},
    {"pushoff", "data\\pushoff.wav"},
    {"ending", "data\\ending.wav"},
};

}  // namespace

plat::CueTable soundCues{kClips, kSoundCount};

}  // namespace talvex
