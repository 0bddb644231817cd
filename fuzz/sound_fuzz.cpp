// Sound files: the RIFF check, then, for what passes it, the WAV reader of the sound
// library, as the "open" command does.
#include <SDL.h>
#include <cstdint>
#include "platform/common/internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > plat::detail::kSoundFileBound) return 0;
  char problem[160];
  if (!plat::detail::CheckRiff(data, size, problem, sizeof problem)) return 0;
  SDL_AudioSpec format;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1, &format, &buffer, &length))
    SDL_FreeWAV(buffer);
  return 0;
}
