// talvex's sound cues: the clips opened at start-up and the plays sent after each step.
#include "talvex/talvex.h"

namespace talvex {

uint32_t pendingSounds;
void (*soundCommand)(const char* command) = plat::SoundCommand;

namespace {

struct Clip {
  const char* open;
  const char* play;
};

// In the order of Sound.
constexpr Clip kClips[kSoundCount] = {
    {"open data\\jump.wav alias jump", "play jump from 0"},
    {"open data\\grip.wav alias grip", "play grip from 0"},
    {"open data\\pushoff.wav alias pushoff", "play pushoff from 0"},
    {"open data\\ending.wav alias ending", "play ending from 0"},
};

}  // namespace

void Cue(Sound s) { pendingSounds |= 1u << s; }

void OpenSounds() {
  for (const Clip& c : kClips) soundCommand(c.open);
  pendingSounds = 0;
}

void SendSounds() {
  const uint32_t marked = pendingSounds;
  pendingSounds = 0;
  for (int s = 0; s < kSoundCount; ++s) {
    if (marked & (1u << s)) soundCommand(kClips[s].play);
  }
}

}  // namespace talvex
