// ball's sound cues: the clips opened at start-up, played after each step.
#include "ball/ball.h"

namespace ball {

namespace {

// In the order of Sound.
constexpr plat::Cue kClips[kSoundCount] = {
    {"start", "data\\start.wav"},   {"launch", "data\\launch.wav"}, {"power", "data\\power.wav"},
    {"stop", "data\\stop.wav"},     {"hit", "data\\hit.wav"},       {"bomb", "data\\bomb.wav"},
    {"return", "data\\return.wav"}, {"gameover", "data\\gameover.wav"},
};

}  // namespace

plat::CueTable soundCues{kClips, kSoundCount};

}  // namespace ball
