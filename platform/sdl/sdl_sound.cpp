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
      SDL_RWops* file = SDL_RWFromFile(path, "rb");
      if (!file) {
        std::fprintf(stderr, "%s: cannot open sound '%s' (%s); it stays silent\n", ProgramName(),
                     path, std::strerror(errno));
        return;
      }
      c.chunk = Mix_LoadWAV_RW(file, 1);
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
