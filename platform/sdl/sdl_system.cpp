// The SDL backend: one resizable window showing the 640x480 picture at the largest whole
// scale that fits (nearest neighbour, centred, black around it), mouse positions mapped
// back onto the picture, key state by virtual-key code, the millisecond clock and sleep,
// message boxes. Sound lives in sdl_sound.cpp.
#include <SDL.h>
#include <cstdio>
#include <vector>
#include "platform/common/internal.h"
#include "platform/keys.h"
#include "platform/text.h"

namespace plat {
namespace detail {
namespace {

struct Sdl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  SDL_Cursor* cursor = nullptr;
  bool fullscreen = false;
  bool swallowEnterUp = false;  // the Enter of Alt+Enter is not the game's
  SDL_Scancode scancodes[VK_COUNT][2] = {};  // keys that make up each virtual key
  bool capture = false;
  std::vector<uint32_t> captured;
  int capturedW = 0, capturedH = 0;
};

Sdl sdl;

// Virtual-key code of an SDL key, 0 for keys the games cannot see.
int VkFromKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<int>(key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<int>(key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<int>(key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + static_cast<int>(key - SDLK_KP_1);
  switch (key) {
    case SDLK_KP_0: return 0x60;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    default: return 0;
  }
}

void MapKey(int vk, SDL_Scancode a, SDL_Scancode b = SDL_SCANCODE_UNKNOWN) {
  sdl.scancodes[vk][0] = a;
  sdl.scancodes[vk][1] = b;
}

// Letters and digits follow the keyboard layout, as virtual-key codes do; the other keys
// sit where they always sit.
void BuildKeyTable() {
  for (auto& pair : sdl.scancodes) pair[0] = pair[1] = SDL_SCANCODE_UNKNOWN;
  for (int i = 0; i < 26; ++i) MapKey('A' + i, SDL_GetScancodeFromKey(SDLK_a + i));
  for (int i = 0; i < 10; ++i) MapKey('0' + i, SDL_GetScancodeFromKey(SDLK_0 + i));
  for (int i = 0; i < 12; ++i) MapKey(VK_F1 + i, static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i));
  MapKey(0x60, SDL_SCANCODE_KP_0);
  for (int i = 0; i < 9; ++i) MapKey(0x61 + i, static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + i));
  MapKey(VK_BACK, SDL_SCANCODE_BACKSPACE);
  MapKey(VK_TAB, SDL_SCANCODE_TAB);
  MapKey(VK_RETURN, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER);
  MapKey(VK_SHIFT, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT);
  MapKey(VK_CONTROL, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL);
  MapKey(VK_MENU, SDL_SCANCODE_LALT, SDL_SCANCODE_RALT);
  MapKey(VK_ESCAPE, SDL_SCANCODE_ESCAPE);
  MapKey(VK_SPACE, SDL_SCANCODE_SPACE);
  MapKey(VK_LEFT, SDL_SCANCODE_LEFT);
  MapKey(VK_UP, SDL_SCANCODE_UP);
  MapKey(VK_RIGHT, SDL_SCANCODE_RIGHT);
  MapKey(VK_DOWN, SDL_SCANCODE_DOWN);
}

// Window coordinates (which differ from renderer pixels on high-density displays) to a
// picture pixel.
void WindowToPicture(int wx, int wy, int& x, int& y) {
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(sdl.window, &ww, &wh);
  SDL_GetRendererOutputSize(sdl.renderer, &ow, &oh);
  int px = wx, py = wy;
  if (ww > 0 && wh > 0 && (ww != ow || wh != oh)) {
    px = static_cast<int>(static_cast<int64_t>(wx) * ow / ww);
    py = static_cast<int>(static_cast<int64_t>(wy) * oh / wh);
  }
  OutputToPicture(ComputeLayout(ow, oh), px, py, x, y);
}

void Fullscreen(bool on) {
  if (!sdl.window) return;
  if (SDL_SetWindowFullscreen(sdl.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0)
    sdl.fullscreen = on;
}

bool NoWindow(const char* why) {
  std::fprintf(stderr, "%s: cannot open a window: %s (to play without one, run with --headless; otherwise set DISPLAY)\n",
               ProgramName(), why);
  return false;
}

bool Open(const Options& opts, const WindowConfig& config) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return NoWindow(SDL_GetError());
  // Without a display SDL falls back to a driver that draws nowhere; a player would see
  // nothing, so only take it when asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
      !(asked && *asked)) {
    SDL_Quit();
    return NoWindow("no display found");
  }
  char caption[1024];
  Cp932ToUtf8(config.caption ? config.caption : "", caption, sizeof caption);
  int scale = opts.scale >= 1 ? opts.scale : 1;
  Uint32 flags = SDL_WINDOW_RESIZABLE;
  if (opts.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  bool capture = sdl.capture;
  sdl = Sdl{};
  sdl.capture = capture;
  sdl.window = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                kScreenW * scale, kScreenH * scale, flags);
  if (!sdl.window) {
    NoWindow(SDL_GetError());
    SDL_Quit();
    return false;
  }
  sdl.fullscreen = opts.fullscreen;
  Uint32 renderFlags = config.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
  sdl.renderer = SDL_CreateRenderer(sdl.window, -1, renderFlags);
  if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
  if (sdl.renderer)
    sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_XBGR8888,
                                    SDL_TEXTUREACCESS_STREAMING, kScreenW, kScreenH);
  if (!sdl.renderer || !sdl.texture) {
    std::fprintf(stderr, "%s: cannot draw into the window: %s\n", ProgramName(), SDL_GetError());
    if (sdl.renderer) SDL_DestroyRenderer(sdl.renderer);
    SDL_DestroyWindow(sdl.window);
    sdl = Sdl{};
    SDL_Quit();
    return false;
  }
  switch (config.cursor) {
    case Cursor::Arrow:
      break;
    case Cursor::Cross:
      sdl.cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_CROSSHAIR);
      if (sdl.cursor) SDL_SetCursor(sdl.cursor);
      break;
    case Cursor::Hidden:
      SDL_ShowCursor(SDL_DISABLE);
      break;
  }
  BuildKeyTable();
  SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl.renderer);
  SDL_RenderPresent(sdl.renderer);
  return true;
}

void Close() {
  SdlSoundShutdown();
  if (sdl.texture) SDL_DestroyTexture(sdl.texture);
  if (sdl.renderer) SDL_DestroyRenderer(sdl.renderer);
  if (sdl.window) SDL_DestroyWindow(sdl.window);
  if (sdl.cursor) SDL_FreeCursor(sdl.cursor);
  bool capture = sdl.capture;
  sdl = Sdl{};
  sdl.capture = capture;
  SDL_Quit();
}

bool Poll(Event& e) {
  SDL_Event ev;
  while (SDL_PollEvent(&ev)) {
    e = Event{};
    switch (ev.type) {
      case SDL_QUIT:
        e.type = EventType::Quit;
        e.code = 0;
        return true;
      case SDL_MOUSEMOTION:
        e.type = EventType::MouseMove;
        WindowToPicture(ev.motion.x, ev.motion.y, e.x, e.y);
        return true;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        bool down = ev.type == SDL_MOUSEBUTTONDOWN;
        if (ev.button.button == SDL_BUTTON_LEFT)
          e.type = down ? EventType::LButtonDown : EventType::LButtonUp;
        else if (ev.button.button == SDL_BUTTON_RIGHT)
          e.type = down ? EventType::RButtonDown : EventType::RButtonUp;
        else
          break;
        WindowToPicture(ev.button.x, ev.button.y, e.x, e.y);
        return true;
      }
      case SDL_KEYDOWN: {
        SDL_Keycode key = ev.key.keysym.sym;
        bool enter = key == SDLK_RETURN || key == SDLK_KP_ENTER;
        if (key == SDLK_F11 || (enter && (ev.key.keysym.mod & KMOD_ALT))) {
          if (!ev.key.repeat) Fullscreen(!sdl.fullscreen);
          if (enter) sdl.swallowEnterUp = true;
          break;
        }
        e.vk = VkFromKey(key);
        if (e.vk == 0) break;
        e.type = EventType::KeyDown;
        return true;
      }
      case SDL_KEYUP: {
        SDL_Keycode key = ev.key.keysym.sym;
        bool enter = key == SDLK_RETURN || key == SDLK_KP_ENTER;
        if (key == SDLK_F11) break;
        if (enter && sdl.swallowEnterUp) {
          sdl.swallowEnterUp = false;
          break;
        }
        e.vk = VkFromKey(key);
        if (e.vk == 0) break;
        e.type = EventType::KeyUp;
        return true;
      }
      default:
        break;
    }
  }
  return false;
}

// Blocks without taking the event, so that the next drain still sees it.
void Wait() { SDL_WaitEvent(nullptr); }

bool Minimised() {
  return (SDL_GetWindowFlags(sdl.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

bool KeyIsDown(int vk) {
  if (vk == VK_LBUTTON || vk == VK_RBUTTON) {
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    return (buttons & SDL_BUTTON(vk == VK_LBUTTON ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT)) != 0;
  }
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  for (SDL_Scancode code : sdl.scancodes[vk])
    if (code != SDL_SCANCODE_UNKNOWN && code < count && keys[code]) return true;
  return false;
}

uint32_t Time() { return SDL_GetTicks(); }
void Sleep(uint32_t ms) { SDL_Delay(ms); }

void ShowPicture(const Surface& picture) {
  SDL_Rect source = {0, 0, picture.width < kScreenW ? picture.width : kScreenW,
                     picture.height < kScreenH ? picture.height : kScreenH};
  if (source.w > 0 && source.h > 0)
    SDL_UpdateTexture(sdl.texture, &source, picture.pixels.data(), picture.width * 4);
  int ow = kScreenW, oh = kScreenH;
  SDL_GetRendererOutputSize(sdl.renderer, &ow, &oh);
  Layout l = ComputeLayout(ow, oh);
  SDL_Rect target = {l.x, l.y, kScreenW * l.scale, kScreenH * l.scale};
  SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl.renderer);
  SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &target);
  if (sdl.capture) {
    sdl.captured.resize(static_cast<size_t>(ow) * oh);
    if (SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_XBGR8888, sdl.captured.data(),
                             ow * 4) == 0) {
      sdl.capturedW = ow;
      sdl.capturedH = oh;
    } else {
      sdl.capturedW = sdl.capturedH = 0;
    }
  }
  SDL_RenderPresent(sdl.renderer);
}

bool Ask(const char* text, const char* caption) { return SdlAskYesNo(text, caption); }

void Error(const char* title, const char* message) {
  kHeadlessBackend.showError(title, message);
  char t[512], m[2048];
  Cp932ToUtf8(title ? title : "", t, sizeof t);
  Cp932ToUtf8(message ? message : "", m, sizeof m);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, t, m, sdl.window);
}

}  // namespace

bool SdlAskYesNo(const char* text, const char* caption) {
  char t[2048], c[512];
  Cp932ToUtf8(text ? text : "", t, sizeof t);
  Cp932ToUtf8(caption ? caption : "", c, sizeof c);
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
  };
  SDL_MessageBoxData box = {};
  box.flags = SDL_MESSAGEBOX_INFORMATION;
  box.window = sdl.window;
  box.title = c;
  box.message = t;
  box.numbuttons = 2;
  box.buttons = buttons;
  int chosen = 0;
  if (SDL_ShowMessageBox(&box, &chosen) != 0) {
    std::fprintf(stderr, "%s: cannot ask '%s': %s; answering no\n", ProgramName(), t, SDL_GetError());
    return false;
  }
  return chosen == 1;
}

void* SdlWindowHandle() { return sdl.window; }

const Backend kSdlBackend = {Open,  Close,       Poll,  Wait,  Minimised, KeyIsDown, Time,
                             Sleep, ShowPicture, SdlSound, Ask, Error,   Fullscreen};

}  // namespace detail

void CaptureWindow(bool on) { detail::sdl.capture = on; }

bool ReadWindowPixels(std::vector<uint32_t>& out, int& w, int& h) {
  if (!detail::sdl.window || detail::sdl.capturedW == 0) return false;
  out = detail::sdl.captured;
  w = detail::sdl.capturedW;
  h = detail::sdl.capturedH;
  return true;
}

}  // namespace plat
