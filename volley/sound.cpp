// volley's sound cues: the clips opened at start-up and the plays sent after each frame.
#include "volley/sound.h"

#include "platform/system.h"

namespace volley {

uint32_t pendingCues = 0;
void (*soundCommand)(const char* command) = plat::SoundCommand;

namespace {

struct Clip {
  const char* open;
  const char* play;
};

// In the order of Cue.
constexpr Clip kClips[kCueCount] = {
    {"open data\\charge.wav alias charge", "play charge from 0"},
    {"open data\\fire.wav alias fire", "play fire from 0"},
    {"open data\\click.wav alias click", "play click from 0"},
    {"open data\\boom.wav alias boom", "play boom from 0"},
    {"open data\\hit.wav alias hit", "play hit from 0"},
    {"open data\\restart.wav alias restart", "play restart from 0"},
};

}  // namespace

void OpenSounds() {
  for (const Clip& c : kClips) soundCommand(c.open);
  pendingCues = 0;
}

void PlaySounds() {
  const uint32_t marked = pendingCues;
  pendingCues = 0;
  for (int c = 0; c < kCueCount; c++) {
    if (marked & (1u << c)) soundCommand(kClips[c].play);
  }
}

}  // namespace volley
