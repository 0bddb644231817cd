// quorin's sound cues: the clips opened at start-up and marked by the rules.
#include "quorin/quorin.h"

namespace quorin {

namespace {

// In the order of Sound.
constexpr plat::Cue kCues[kSoundCount] = {
    {"level", "data\\level.wav"},
    {"touchdown", "data\\touchdown.wav"},
    {"crash", "data\\crash.wav"},
    {"gameover", "data\\gameover.wav"},
};

}  // namespace

plat::CueTable cues{kCues, kSoundCount};

}  // namespace quorin
