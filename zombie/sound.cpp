// The sound cues: one short clip per game event, opened once at start-up and played from
// its start after the step in which the event happens. A clip that could not be opened
// stays silent.
#include "zombie/zombie.h"

namespace zombie {

namespace {

// In the order of Cue.
constexpr plat::Cue kClips[] = {
    {"page", "data\\page.wav"},   {"click", "data\\click.wav"},   {"scare", "data\\scare.wav"},
    {"weak", "data\\weak.wav"},   {"strong", "data\\strong.wav"}, {"struck", "data\\struck.wav"},
    {"swap", "data\\swap.wav"},   {"pass", "data\\pass.wav"},     {"leave", "data\\leave.wav"},
    {"won", "data\\won.wav"},     {"lost", "data\\lost.wav"},
};
static_assert(sizeof kClips / sizeof kClips[0] == static_cast<int>(Cue::Count));

}  // namespace

plat::CueTable soundCues{kClips, static_cast<int>(Cue::Count)};

void StartUp() {
  CheckData();
  OpenSounds();
}

}  // namespace zombie
