// boundary's sound aliases, opened at start-up in this order, and the one path every
// media command takes.
#include "boundary/boundary.h"
#include "platform/cues.h"

namespace boundary {

namespace {

// fan1..fan4 answer a release by its size, bass1 and bass2 are two devices on one file
// so that a beat can start while the last one still sounds, bure is a catch, hit a hit.
constexpr plat::Cue kCues[] = {
    {"fan1", "data\\out_m1.wav"}, {"fan2", "data\\out_m2.wav"}, {"fan3", "data\\out_m3.wav"},
    {"fan4", "data\\out_m4.wav"}, {"bass1", "data\\bass.wav"},  {"bass2", "data\\bass.wav"},
    {"bure", "data\\bass2.wav"},  {"hit", "data\\hit.wav"},
};

}  // namespace

// The plays go out as the rules reach them, several of one kind in a frame each sent
// again, so the cue table's once-per-step marks are not used for them.
void SendSound(const char* command) {
  if (plat::mediaSink) plat::mediaSink(command);
}

void OpenSounds() { plat::CueTable{kCues, 8}.Open(); }

}  // namespace boundary
