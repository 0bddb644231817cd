// Named sound clips over SDL2_mixer, driven by the media commands. Each alias owns one
// mixer channel, so clips of different aliases overlap and a play restarts only its own
// clip. The audio device is opened at the first "open"; without one the program runs
// silent after a single warning. A clip whose file is missing stays a silent alias.
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#include "platform/common/internal.h"

namespace plat::detail {
namespace {

constexpr int kMaxAliases = 32;

struct Clip {
  bool used = false;
  char alias[64] = {};
  Mix_Chunk* chunk = nullptr;  // null: the file could not be loaded
};

struct Sound {
  enum State { Closed, Opened, Unavailable } state = Closed;
  Clip clips[kMaxAliases];
};

Sound sound;

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card the ALSA library writes a line on stderr for every device it tries;
// the one-line notice below says what the player needs to know. The handler is set in the
// same library that SDL loads, which then stays loaded for the run.
void QuietAlsa() {
  static bool done = false;
  if (done) return;
  done = true;
  void* lib = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (!lib) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  auto set = reinterpret_cast<int (*)(Handler)>(dlsym(lib, "snd_lib_error_set_handler"));
  if (set) set(IgnoreAlsaMessage);
}

bool OpenDevice() {
  if (sound.state == Sound::Opened) return true;
  if (sound.state == Sound::Unavailable) return false;
  QuietAlsa();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "%s: no audio device (%s); running without sound\n", ProgramName(),
                 SDL_GetError());
    sound.state = Sound::Unavailable;
    return false;
  }
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    std::fprintf(stderr, "%s: no audio device (%s); running without sound\n", ProgramName(),
                 Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sound.state = Sound::Unavailable;
    return false;
  }
  Mix_AllocateChannels(kMaxAliases);
  sound.state = Sound::Opened;
  return true;
}

int FindClip(const char* alias) {
  for (int i = 0; i < kMaxAliases; ++i)
    if (sound.clips[i].used && SameName(sound.clips[i].alias, alias)) return i;
  return -1;
}

void CloseClip(int i) {
  Clip& c = sound.clips[i];
  if (c.chunk) {
    Mix_HaltChannel(i);
    Mix_FreeChunk(c.chunk);
  }
  c = Clip{};
}

}  // namespace

void SdlSound(const MediaCommand& command) {
  switch (command.kind) {
    case MediaCommand::Open: {
      if (!OpenDevice()) return;
      int i = FindClip(command.alias);
      if (i >= 0) CloseClip(i);  // reopening an alias replaces its clip
      for (i = 0; i < kMaxAliases && sound.clips[i].used; ++i) {
      }
      if (i == kMaxAliases) {
        std::fprintf(stderr, "%s: too many sound clips open; '%s' stays silent\n", ProgramName(),
                     command.alias);
        return;
      }
      Clip& c = sound.clips[i];
      c.used = true;
      std::snprintf(c.alias, sizeof c.alias, "%s", command.alias);
      // Open the file first so that a missing one is named with the system's reason
      // rather than the mixer's message about a null stream.
      char path[1024];
      DataPath(command.path, path, sizeof path);
      std::FILE* file = std::fopen(path, "rb");
      if (!file) {
        std::fprintf(stderr, "%s: cannot open sound '%s' (%s); it stays silent\n", ProgramName(),
                     path, std::strerror(errno));
        return;
      }
      // Read whole (up to a bound) so that the chunk sizes can be checked against the
      // bytes there are before the mixer allocates what a header claims.
      long length = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
      if (length < 0 || static_cast<unsigned long>(length) > kSoundFileBound) {
        std::fclose(file);
        std::fprintf(stderr, "%s: sound '%s' is longer than %zu bytes; it stays silent\n",
                     ProgramName(), path, kSoundFileBound);
        return;
      }
      std::rewind(file);
      std::vector<unsigned char> bytes(static_cast<size_t>(length));
      size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
      std::fclose(file);
      char problem[160];
      if (!CheckRiff(bytes.data(), size, problem, sizeof problem)) {
        std::fprintf(stderr, "%s: cannot load sound '%s': %s; it stays silent\n", ProgramName(),
                     path, problem);
        return;
      }
      c.chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(size)), 1);
      if (!c.chunk)
        std::fprintf(stderr, "%s: cannot load sound '%s': %s; it stays silent\n", ProgramName(),
                     path, Mix_GetError());
      return;
    }
    case MediaCommand::Play: {
      int i = FindClip(command.alias);
      if (i >= 0 && sound.clips[i].chunk) Mix_PlayChannel(i, sound.clips[i].chunk, 0);
      return;
    }
    case MediaCommand::Stop: {
      int i = FindClip(command.alias);
      if (i >= 0 && sound.clips[i].chunk) Mix_HaltChannel(i);
      return;
    }
    case MediaCommand::Close: {
      int i = FindClip(command.alias);
      if (i >= 0) CloseClip(i);
      return;
    }
    case MediaCommand::CloseAll:
      for (int i = 0; i < kMaxAliases; ++i)
        if (sound.clips[i].used) CloseClip(i);
      return;
    case MediaCommand::None:
      return;
  }
}

void SdlSoundShutdown() {
  if (sound.state == Sound::Opened) {
    for (int i = 0; i < kMaxAliases; ++i)
      if (sound.clips[i].used) CloseClip(i);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  sound = Sound{};
}

}  // namespace plat::detail
