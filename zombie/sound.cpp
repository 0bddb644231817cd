// The sound cues: one short clip per game event, opened once at start-up and played from
// its start when the event happens. The commands only ask the platform for sound; they
// change nothing the game computes, and a clip that could not be opened stays silent.
#include "platform/system.h"
#include "zombie/zombie.h"

namespace zombie {

namespace {

struct Clip {
  const char* open;
  const char* play;
};

// In the order of Cue.
constexpr Clip kClips[] = {
    {"open data\\page.wav alias page", "play page from 0"},
    {"open data\\click.wav alias click", "play click from 0"},
    {"open data\\scare.wav alias scare", "play scare from 0"},
    {"open data\\weak.wav alias weak", "play weak from 0"},
    {"open data\\strong.wav alias strong", "play strong from 0"},
    {"open data\\struck.wav alias struck", "play struck from 0"},
    {"open data\\swap.wav alias swap", "play swap from 0"},
    {"open data\\pass.wav alias pass", "play pass from 0"},
    {"open data\\leave.wav alias leave", "play leave from 0"},
    {"open data\\won.wav alias won", "play won from 0"},
    {"open data\\lost.wav alias lost", "play lost from 0"},
};
static_assert(sizeof kClips / sizeof kClips[0] == static_cast<int>(Cue::Count));

void Send(const char* command) {
  if (soundHook) soundHook(command);
  plat::SoundCommand(command);
}

}  // namespace

void (*soundHook)(const char* command) = nullptr;

void OpenSounds() {
  for (const Clip& c : kClips) Send(c.open);
}

void PlaySound(Cue cue) {
  int i = static_cast<int>(cue);
  if (i >= 0 && i < static_cast<int>(Cue::Count)) Send(kClips[i].play);
}

void StartUp() {
  CheckData();
  OpenSounds();
}

}  // namespace zombie
