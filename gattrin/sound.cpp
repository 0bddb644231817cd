// gattrin's sound clips, opened once at start-up.
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

plat::CueTable cueTable{kCues, kSoundCount};

void OpenSounds() {
  cueTable.marked = 0;
  cueTable.Open();
}

}  // namespace gattrin
