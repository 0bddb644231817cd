// The headless backend: no window, no sound, and a virtual clock so that a run gives the
// same frames on every machine. The clock starts at 0 (or at --clock-start, to play
// across the 32-bit wrap) when the system opens and moves
// only by the program's own sleeps and, when the program paces itself by the display
// (WindowConfig::presentTicksClock), by 1/60 s per presented frame. The present share is
// computed from the count of presents, so 60 presents are exactly 1000 ms.
#include <cstdio>
#include "platform/common/internal.h"
#include "platform/text.h"

namespace plat::detail {
namespace {

struct Headless {
  uint32_t start = 0;
  uint64_t sleptMs = 0;
  uint64_t presents = 0;
  bool presentTicksClock = false;
};

Headless state;

bool Open(const Options& options, const WindowConfig& config) {
  state = Headless{};
  state.start = options.clockStart;
  state.presentTicksClock = config.presentTicksClock;
  return true;
}

void Close() {}
bool Poll(Event&) { return false; }
void Wait() {}
bool Minimised() { return false; }
bool KeyIsDown(int) { return false; }

uint32_t Time() {
  uint64_t ms = state.start + state.sleptMs;
  if (state.presentTicksClock) ms += state.presents * 1000 / 60;
  return static_cast<uint32_t>(ms);
}

void Sleep(uint32_t ms) { state.sleptMs += ms; }
void ShowPicture(const Surface&) { ++state.presents; }
void Sound(const MediaCommand&) {}
bool Ask(const char*, const char*) { return false; }

void Error(const char* title, const char* message) {
  char t[512], m[2048];
  Cp932ToUtf8(title ? title : "", t, sizeof t);
  Cp932ToUtf8(message ? message : "", m, sizeof m);
  std::fprintf(stderr, "%s: %s: %s\n", ProgramName(), t, m);
}

void Fullscreen(bool) {}

}  // namespace

const Backend kHeadlessBackend = {Open,  Close,       Poll,  Wait,  Minimised, KeyIsDown, Time,
                                  Sleep, ShowPicture, Sound, Ask,   Error,     Fullscreen};

}  // namespace plat::detail
