// volley's sound cues: the clips opened at start-up, played after each frame.
#include "volley/sound.h"

namespace volley {

namespace {

// In the order of Cue.
constexpr plat::Cue kClips[kCueCount] = {
    {"charge", "data\\charge.wav"}, {"fire", "data\\fire.wav"}, {"click", "data\\click.wav"},
    {"boom", "data\\boom.wav"},     {"hit", "data\\hit.wav"},   {"restart", "data\\restart.wav"},
};

}  // namespace

plat::CueTable soundCues{kClips, kCueCount};

}  // namespace volley
