// ball's sound cues: the clips opened at start-up and the plays sent after each step.
#include "ball/ball.h"

namespace ball {

uint32_t pendingSounds;
void (*soundCommand)(const char* command) = plat::SoundCommand;

namespace {

struct Clip {
  const char* open;
  const char* play;
};

// In the order of Sound.
constexpr Clip kClips[kSoundCount] = {
    {"open data\\start.wav alias start", "play start from 0"},
    {"open data\\launch.wav alias launch", "play launch from 0"},
    {"open data\\power.wav alias power", "play power from 0"},
    {"open data\\stop.wav alias stop", "play stop from 0"},
    {"open data\\hit.wav alias hit", "play hit from 0"},
    {"open data\\bomb.wav alias bomb", "play bomb from 0"},
    {"open data\\return.wav alias return", "play return from 0"},
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
  for (int s = 0; s < kSoundCount; ++s) {
    if (marked & (1u << s)) soundCommand(kClips[s].play);
  }
}

}  // namespace ball
