// The SDL backend: one resizable window showing the 640x480 picture at the largest whole
// scale that fits (nearest neighbour, centred, black around it), mouse positions mapped
// back onto the picture, key state by virtual-key code, the millisecond clock and sleep,
// and the message dialog (drawn with our own fonts). Sound lives in sdl_sound.cpp.
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <vector>
#include "platform/common/internal.h"
#include "platform/keys.h"
#include "platform/sdl/dialog.h"
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
  bool pauseOnFocusLoss = true;
  uint32_t dialogClosed = 0;  // SDL_GetTicks when our last dialog closed (0: none yet)
  bool capture = false;
  std::vector<uint32_t> captured;
  int capturedW = 0, capturedH = 0;
};

Sdl sdl;
constexpr uint32_t kDialogFocusGraceMs = 500;

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
  SDL_Rect area = {0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &area) != 0) area = {0, 0, 0, 0};
  const WindowPlacement place = PlaceWindow(opts.scale, area.x, area.y, area.w, area.h);
  if (place.reduced)
    std::fprintf(stderr, "%s: --scale %d does not fit the desktop (%dx%d usable); using --scale %d\n",
                 ProgramName(), opts.scale, area.w, area.h, place.scale);
  Uint32 flags = SDL_WINDOW_RESIZABLE;
  if (opts.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (config.popup) flags |= SDL_WINDOW_BORDERLESS;
  bool capture = sdl.capture;
  sdl = Sdl{};
  sdl.capture = capture;
  // A popup window sits at the screen's top left corner, as the old borderless window did.
  const int x = config.popup ? 0 : place.known ? place.x : SDL_WINDOWPOS_CENTERED;
  const int y = config.popup ? 0 : place.known ? place.y : SDL_WINDOWPOS_CENTERED;
  sdl.window = SDL_CreateWindow(caption, x, y, kScreenW * place.scale, kScreenH * place.scale, flags);
  if (!sdl.window) {
    NoWindow(SDL_GetError());
    SDL_Quit();
    return false;
  }
  sdl.fullscreen = opts.fullscreen;
  sdl.pauseOnFocusLoss = config.pauseOnFocusLoss;
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
      case SDL_WINDOWEVENT:
        // The player went elsewhere: pause. Focus taken by one of our own dialogs (which
        // may be reported a little after it closes) is not the player leaving.
        if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST && sdl.pauseOnFocusLoss &&
            !(sdl.dialogClosed != 0 && SDL_GetTicks() - sdl.dialogClosed < kDialogFocusGraceMs))
          pauseAsked = true;
        break;
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
  kHeadlessBackend.showError(title, message);  // the line on stderr
  bool shown = false;
  RunDialog(message, title, false, shown);
}

// The dialog's look: light grey, dark text, a strip of buttons at the bottom.
constexpr int kPad = 20;          // around the icon and the text
constexpr int kIcon = 34;         // diameter of the round icon
constexpr int kIconGap = 16;      // between icon and text
constexpr int kMinW = 340;
constexpr int kStripH = 52;
constexpr int kButtonW = 96, kButtonH = 30, kButtonGap = 10;
constexpr Colour kBack = 0xF3F3F3, kStrip = 0xE6E6E6, kRule = 0xD2D2D2;
constexpr Colour kButton = 0xFDFDFD, kHover = 0xFBF1E5, kPressed = 0xF7E4CC;
constexpr Colour kBorder = 0xADADAD, kDefaultBorder = 0xD77800;  // 0x00BBGGRR
constexpr uint32_t kTextArgb = 0xFF1E1E1E;

const Font* MessageFont() { return SmoothFont(20); }
const Font* ButtonFont() { return SmoothFont(18); }

int CharBytes(const unsigned char* p) {
  bool lead = (p[0] >= 0x81 && p[0] <= 0x9F) || (p[0] >= 0xE0 && p[0] <= 0xFC);
  return lead && p[1] != 0 ? 2 : 1;
}

Colour Blend(Colour under, Colour over, int a) {  // a: 0..255
  Colour out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int u = static_cast<int>((under >> shift) & 0xFF), o = static_cast<int>((over >> shift) & 0xFF);
    out |= static_cast<Colour>((o * a + u * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

// A filled circle with smooth edges (4 x 4 samples a pixel).
void FillDisc(Surface& s, int left, int top, int size, Colour c) {
  const float r = size / 2.0f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      int inside = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          float dx = x + (sx + 0.5f) / 4 - r, dy = y + (sy + 0.5f) / 4 - r;
          inside += dx * dx + dy * dy <= r * r;
        }
      int px = left + x, py = top + y;
      if (inside > 0 && px >= 0 && py >= 0 && px < s.width && py < s.height)
        s.Row(py)[px] = Blend(s.Row(py)[px], c, inside * 255 / 16);
    }
}

void DrawFrame(Surface& s, int x, int y, int w, int h, Colour c) {
  FillRect(s, x, y, x + w, y + 1, c);
  FillRect(s, x, y + h - 1, x + w, y + h, c);
  FillRect(s, x, y, x + 1, y + h, c);
  FillRect(s, x + w - 1, y, x + w, y + h, c);
}

// Draws a NUL-terminated text centred in the box.
void DrawCentred(Surface& s, int x, int y, int w, int h, const char* text, uint32_t argb,
                 const Font* font) {
  int tw = TextWidth(font, text, static_cast<int>(SDL_strlen(text)));
  int tx = x + (w - tw) / 2, ty = y + (h - FontHeight(font)) / 2;
  DrawSmoothText(s, tx, ty, x + w, y + h, text, argb, font);
}

}  // namespace

void (*dialogShownHook)(unsigned windowId, const DialogLayout& layout) = nullptr;

void LayoutDialog(const char* text, bool question, DialogLayout& l) {
  l = DialogLayout{};
  l.question = question;
  const Font* font = MessageFont();
  l.lineHeight = FontHeight(font) + 6;
  const auto* p = reinterpret_cast<const unsigned char*>(text ? text : "");
  const int cap = static_cast<int>(sizeof l.text) - 1;
  const int maxLines = static_cast<int>(sizeof l.lineStart / sizeof l.lineStart[0]);
  int n = 0, lineBegin = 0, lastSpace = -1, widest = 0;
  l.lineCount = 1;
  // Ends the current line at byte end of l.text; the next one starts at next.
  auto breakLine = [&](int end, int next) {
    widest = std::max(widest, TextWidth(font, l.text + lineBegin, end - lineBegin));
    if (l.lineCount == maxLines) return false;
    l.text[end] = 0;
    lineBegin = next;
    lastSpace = -1;
    l.lineStart[l.lineCount++] = next;
    return true;
  };
  while (*p != 0) {
    if (*p == '\r') {
      ++p;
      continue;
    }
    if (*p == '\n') {
      ++p;
      if (n + 1 >= cap || !breakLine(n, n + 1)) break;
      ++n;
      continue;
    }
    int k = CharBytes(p);
    if (n + k + 2 >= cap) break;
    int charW = TextWidth(font, reinterpret_cast<const char*>(p), k);
    if (n > lineBegin && TextWidth(font, l.text + lineBegin, n - lineBegin) + charW > kDialogMaxTextW) {
      if (*p == ' ') {  // the space that overflows becomes the break
        if (!breakLine(n, n + 1)) break;
        ++p;
        ++n;
        continue;
      }
      // At the last space when what follows it fits on a line, else inside the word.
      bool atSpace = lastSpace > lineBegin &&
                     TextWidth(font, l.text + lastSpace + 1, n - lastSpace - 1) + charW <= kDialogMaxTextW;
      if (!(atSpace ? breakLine(lastSpace, lastSpace + 1) : breakLine(n, n + 1))) break;
      if (!atSpace) ++n;
    }
    if (*p == ' ') lastSpace = n;
    for (int i = 0; i < k; ++i) l.text[n++] = static_cast<char>(*p++);
  }
  l.text[n] = 0;
  widest = std::max(widest, TextWidth(font, l.text + lineBegin, n - lineBegin));
  if (l.lineCount > 1 && l.text[l.lineStart[l.lineCount - 1]] == 0) --l.lineCount;  // a final '\n'

  const int textH = l.lineCount * l.lineHeight - 6;
  const int bodyH = std::max(kIcon, textH);
  l.buttonCount = question ? 2 : 1;
  const int buttonsW = l.buttonCount * kButtonW + (l.buttonCount - 1) * kButtonGap;
  l.iconX = kPad;
  // Beside a single line the icon is centred; beside several it stays at the top.
  l.iconY = l.lineCount == 1 ? kPad + (bodyH - kIcon) / 2 : kPad;
  l.textX = kPad + kIcon + kIconGap;
  l.textY = kPad + (bodyH - textH) / 2;
  l.w = std::max({kMinW, l.textX + widest + kPad + 8, buttonsW + 2 * kPad});
  l.h = kPad + bodyH + kPad + 4 + kStripH;
  // "はい" / "いいえ" (yes / no) in code page 932.
  static const char kYes[] = "\x82\xCD\x82\xA2", kNo[] = "\x82\xA2\x82\xA2\x82\xA6";
  int x = l.w - kPad + 4 - buttonsW;
  for (int i = 0; i < l.buttonCount; ++i) {
    DialogButton& b = l.buttons[i];
    b = {x, l.h - kStripH + (kStripH - kButtonH) / 2, kButtonW, kButtonH,
         question ? (i == 0 ? kYes : kNo) : "OK"};
    x += kButtonW + kButtonGap;
  }
}

void DrawDialog(const DialogLayout& l, int hover, int pressed, Surface& s) {
  FillRect(s, 0, 0, l.w, l.h, kBack);
  FillRect(s, 0, l.h - kStripH, l.w, l.h, kStrip);
  FillRect(s, 0, l.h - kStripH, l.w, l.h - kStripH + 1, kRule);
  // A blue "?" for a question, a red "!" for an error.
  FillDisc(s, l.iconX, l.iconY, kIcon, l.question ? 0xD77800 : 0x2C2CD0);
  DrawCentred(s, l.iconX, l.iconY, kIcon, kIcon, l.question ? "?" : "!", 0xFFFFFFFF, SmoothFont(28));
  for (int i = 0; i < l.lineCount; ++i)
    DrawSmoothText(s, l.textX, l.textY + i * l.lineHeight, l.w, l.h, l.text + l.lineStart[i],
                   kTextArgb, MessageFont());
  for (int i = 0; i < l.buttonCount; ++i) {
    const DialogButton& b = l.buttons[i];
    FillRect(s, b.x, b.y, b.x + b.w, b.y + b.h, i == pressed ? kPressed : i == hover ? kHover : kButton);
    DrawFrame(s, b.x, b.y, b.w, b.h, i == 0 ? kDefaultBorder : kBorder);
    if (i == 0) DrawFrame(s, b.x + 1, b.y + 1, b.w - 2, b.h - 2, kDefaultBorder);  // the default
    DrawCentred(s, b.x, b.y, b.w, b.h, b.label, kTextArgb, ButtonFont());
  }
}

int DialogButtonAt(const DialogLayout& l, int x, int y) {
  for (int i = 0; i < l.buttonCount; ++i) {
    const DialogButton& b = l.buttons[i];
    if (x >= b.x && y >= b.y && x < b.x + b.w && y < b.y + b.h) return i;
  }
  return -1;
}

bool RunDialog(const char* text, const char* caption, bool question, bool& shown) {
  shown = false;
  if (!InitText()) {
    SDL_SetError("no Japanese font");
    return false;
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  // A driver that draws nowhere would wait for an answer nobody can give.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_SetError("no display found");
    return false;
  }
  static DialogLayout l;
  LayoutDialog(text, question, l);
  char title[512];
  Cp932ToUtf8(caption ? caption : "", title, sizeof title);
  SDL_Window* win = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, l.w, l.h,
                                     SDL_WINDOW_HIDDEN);
  SDL_Renderer* renderer = win ? SDL_CreateRenderer(win, -1, 0) : nullptr;
  if (win && !renderer) renderer = SDL_CreateRenderer(win, -1, SDL_RENDERER_SOFTWARE);
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_XBGR8888,
                                                      SDL_TEXTUREACCESS_STREAMING, l.w, l.h)
                                  : nullptr;
  bool answer = false, quit = false;
  if (texture) {
    shown = true;
    if (sdl.window) SDL_SetWindowModalFor(win, sdl.window);
    SDL_ShowWindow(win);
    SDL_RaiseWindow(win);
    const Uint32 id = SDL_GetWindowID(win);
    Surface s;
    s.Create(l.w, l.h);
    int hover = -1, pressed = -1;
    bool dirty = true, announced = false, done = false;
    while (!done) {
      if (dirty) {
        DrawDialog(l, hover, pressed, s);
        SDL_UpdateTexture(texture, nullptr, s.pixels.data(), s.width * 4);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        dirty = false;
        if (!announced && dialogShownHook) dialogShownHook(id, l);
        announced = true;
      }
      SDL_Event ev;
      if (!SDL_WaitEvent(&ev)) break;
      switch (ev.type) {
        case SDL_QUIT:
          quit = done = true;
          break;
        case SDL_WINDOWEVENT:
          if (ev.window.windowID != id) break;
          if (ev.window.event == SDL_WINDOWEVENT_CLOSE) done = true;
          if (ev.window.event == SDL_WINDOWEVENT_LEAVE) hover = -1;
          dirty = true;
          break;
        case SDL_MOUSEMOTION: {
          if (ev.motion.windowID != id) break;
          int at = DialogButtonAt(l, ev.motion.x, ev.motion.y);
          dirty |= at != hover;
          hover = at;
          break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
          if (ev.button.windowID != id || ev.button.button != SDL_BUTTON_LEFT) break;
          int at = DialogButtonAt(l, ev.button.x, ev.button.y);
          if (ev.type == SDL_MOUSEBUTTONDOWN) {
            pressed = at;
          } else {
            if (at >= 0 && at == pressed) {
              answer = at == 0;
              done = true;
            }
            pressed = -1;
          }
          dirty = true;
          break;
        }
        case SDL_KEYDOWN:  // the dialog is modal: every key is its own
          if (ev.key.repeat) break;
          switch (ev.key.keysym.sym) {
            case SDLK_RETURN:
            case SDLK_KP_ENTER:
              answer = done = true;
              break;
            case SDLK_ESCAPE:
              done = true;
              break;
            case SDLK_y:
              answer = done = question;
              break;
            case SDLK_n:
              done = question;
              break;
            case SDLK_SPACE:
              answer = done = !question;
              break;
            default:
              break;
          }
          break;
        default:
          break;
      }
    }
  }
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (win) SDL_DestroyWindow(win);
  if (sdl.window) {
    // What the player did in the dialog is not the game's; a quit is.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_WINDOWEVENT, SDL_MOUSEWHEEL);
    sdl.dialogClosed = SDL_GetTicks() | 1;
    if (quit) {
      SDL_Event ev = {};
      ev.type = SDL_QUIT;
      SDL_PushEvent(&ev);
    }
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return answer;
}

bool SdlAskYesNo(const char* text, const char* caption) {
  bool shown = false;
  bool yes = RunDialog(text, caption, true, shown);
  if (!shown) {
    char t[2048];
    Cp932ToUtf8(text ? text : "", t, sizeof t);
    std::fprintf(stderr, "%s: cannot ask '%s': %s; answering no\n", ProgramName(), t, SDL_GetError());
  }
  return yes;
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
