// quorin's sound cues: the clips opened at start-up and the plays sent after each frame.
#include "quorin/quorin.h"

namespace quorin {

uint32_t pendingSounds;
void (*soundCommand)(const char* command) = plat::SoundCommand;

namespace {

struct Clip {
  const char* open;
  const char* play;
};

// In the order of Sound.
constexpr Clip kClips[kSoundCount] = {
    {"open data\\level.wav alias level", "play level from 0"},
    {"open data\\touchdown.wav alias touchdown", "play touchdown from 0"},
    {"open data\\crash.wav alias crash", "play crash from 0"},
    {"open data\\gameover.wav alias gameover", "play gameover from 0"},
};

}  // namespace

void OpenSounds() {
  for (const Clip& c : kClips) soundCommand(c.open);
  pendingSounds = 0;
}

void PlaySounds() {
  const uint32_t marked = pendingSounds;
  pendingSounds = 0;
  for (int s = 0; s < kSoundCount; ++s)
    if (marked & (1u << s)) soundCommand(kClips[s].play);
}

}  // namespace quorin
