// gattrin's sound clips: opened at start-up, played after each frame's routines.
#include "gattrin/gattrin.h"

namespace gattrin {

namespace {

// In the order of Sound.
constexpr plat::Cue kCues[kSoundCount] = {
    {"pull", "data\\pull.wav"},
    {"set", "data\\set.wav"},
    {"thud", "data\\thud.wav"},
    {"crash", "data\\crash.wav"},
    {"fall", "data\\fall.wav"},
};

}  // namespace

plat::CueTable soundCues{kCues, kSoundCount};

}  // namespace gattrin
