// The cue table's commands, built in a fixed buffer so that sending a step's plays
// allocates nothing.
#include "platform/cues.h"

#include <cstdio>
#include <cstring>
#include "platform/system.h"

namespace plat {

void (*mediaSink)(const char* command) = SoundCommand;

namespace {

constexpr int kMaxCues = 32;

// Formats one command and hands it to the sink. A command that does not fit the buffer
// would reach the sound system cut short, so it is dropped with a warning instead.
template <typename... Args>
void SendFormatted(const char* format, Args... args) {
  char command[600];
  const int n = std::snprintf(command, sizeof command, format, args...);
  if (n < 0 || n >= static_cast<int>(sizeof command)) {
    std::fprintf(stderr, "sound cue: command too long, not sent: %.60s...\n", command);
    return;
  }
  if (mediaSink) mediaSink(command);
}

int Usable(int count) { return count < 0 ? 0 : count > kMaxCues ? kMaxCues : count; }

}  // namespace

void CueTable::Open() const {
  if (count > kMaxCues) {
    std::fprintf(stderr, "sound cue: %d clips listed, only the first %d are used\n", count, kMaxCues);
  }
  for (int i = 0; i < Usable(count); ++i) {
    const Cue& c = cues[i];
    const char* quote = std::strchr(c.file, ' ') ? "\"" : "";
    SendFormatted("open %s%s%s alias %s", quote, c.file, quote, c.alias);
  }
}

void CueTable::Mark(int i) {
  if (i >= 0 && i < Usable(count)) marked |= 1u << i;
}

void CueTable::Send() {
  const uint32_t m = marked;
  marked = 0;
  for (int i = 0; i < Usable(count); ++i) {
    if (m & (1u << i)) SendFormatted("play %s from 0", cues[i].alias);
  }
}

}  // namespace plat
