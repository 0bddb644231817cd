// A real SDL window (under Xvfb in CI): the picture shown scaled by whole factors and
// letterboxed, mouse positions mapped back onto the picture, window keys kept from the
// game, scripted input on top of the real one.
#include <gtest/gtest.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>
#include <cstdlib>
#include <string>
#include <vector>
#include "platform/common/internal.h"
#include "platform/tests/gl_driver_pin.h"
#include "platform/keys.h"
#include "platform/sdl/dialog.h"
#include "platform/system.h"
#include "platform/text.h"

namespace {

using plat::Event;
using plat::EventType;

struct WindowRun : testing::Test {
  plat::Surface picture;

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY: the window test needs an X server";
    picture.Create(plat::kScreenW, plat::kScreenH);
    for (int y = 0; y < plat::kScreenH; ++y)
      for (int x = 0; x < plat::kScreenW; ++x)
        picture.Row(y)[x] = static_cast<uint32_t>((x * 7) & 0xFF) | (static_cast<uint32_t>(y & 0xFF) << 8) |
                            (static_cast<uint32_t>((x + y) & 0xFF) << 16);
  }
  void TearDown() override {
    plat::CaptureWindow(false);
    plat::CloseSystem();
  }

  bool Open(int scale, const char* script) {
    plat::Options opts;
    opts.scale = scale;
    opts.mute = true;
    std::string error;
    EXPECT_TRUE(plat::ParseScript(script, "script", opts.script, error)) << error;
    plat::WindowConfig config;
    config.caption = "Test";
    // Windows of tests running side by side take each other's focus.
    config.pauseOnFocusLoss = false;
    return plat::OpenSystem(opts, config);
  }

  std::vector<Event> Drain() {
    std::vector<Event> out;
    Event e;
    while (plat::PollEvent(e) && out.size() < 100) out.push_back(e);
    return out;
  }

  // Checks that the captured window shows the picture at the largest whole scale,
  // centred, black around it.
  void ExpectPictureShown(int expectW, int expectH, int expectScale) {
    std::vector<uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(plat::ReadWindowPixels(shown, w, h));
    ASSERT_EQ(w, expectW);
    ASSERT_EQ(h, expectH);
    plat::detail::Layout l = plat::detail::ComputeLayout(w, h);
    ASSERT_EQ(l.scale, expectScale);
    long wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int px = x - l.x, py = y - l.y;
        bool inside = px >= 0 && py >= 0 && px < 640 * l.scale && py < 480 * l.scale;
        uint32_t want = inside ? picture.Row(py / l.scale)[px / l.scale] : 0;
        if ((shown[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != want && wrong++ < 5)
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex
                        << shown[static_cast<size_t>(y) * w + x] << " instead of " << want;
      }
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(WindowRun, ShowsThePictureScaledAndLetterboxed) {
  ASSERT_TRUE(Open(2, ""));
  plat::CaptureWindow(true);
  Drain();
  plat::Present(picture);
  ExpectPictureShown(1280, 960, 2);
  EXPECT_EQ(plat::FramesShown(), 1);
  EXPECT_FALSE(plat::IsMinimised());

  auto* window = static_cast<SDL_Window*>(plat::detail::SdlWindowHandle());
  ASSERT_NE(window, nullptr);
  SDL_SetWindowSize(window, 1000, 700);
  for (int i = 0; i < 20; ++i) {
    Drain();
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    if (w == 1000 && h == 700) break;
    SDL_Delay(50);
  }
  plat::Present(picture);
  ExpectPictureShown(1000, 700, 1);
}

TEST_F(WindowRun, MouseMapsBackOntoThePicture) {
  ASSERT_TRUE(Open(2, ""));
  Drain();
  auto push = [](SDL_Event ev) { SDL_PushEvent(&ev); };
  SDL_Event ev = {};
  ev.type = SDL_MOUSEMOTION;
  ev.motion.x = 2 * 100 + 1;
  ev.motion.y = 2 * 50 + 1;
  push(ev);
  ev = {};
  ev.type = SDL_MOUSEMOTION;
  ev.motion.x = 5000;  // outside the window (a captured drag): clamped
  ev.motion.y = -30;
  push(ev);
  ev = {};
  ev.type = SDL_MOUSEBUTTONDOWN;
  ev.button.button = SDL_BUTTON_LEFT;
  ev.button.x = 2 * 320;
  ev.button.y = 2 * 240;
  push(ev);
  ev.type = SDL_MOUSEBUTTONUP;
  push(ev);
  ev.type = SDL_MOUSEBUTTONDOWN;  // at once again: a double click
  push(ev);
  ev = {};
  ev.type = SDL_MOUSEBUTTONDOWN;
  ev.button.button = SDL_BUTTON_MIDDLE;  // not a game's button
  push(ev);

  std::vector<Event> d = Drain();
  ASSERT_EQ(d.size(), 5u);
  EXPECT_EQ(d[0].type, EventType::MouseMove);
  EXPECT_EQ(d[0].x, 100);
  EXPECT_EQ(d[0].y, 50);
  EXPECT_EQ(d[1].type, EventType::MouseMove);
  EXPECT_EQ(d[1].x, 639);
  EXPECT_EQ(d[1].y, 0);
  EXPECT_EQ(d[2].type, EventType::LButtonDown);
  EXPECT_EQ(d[2].x, 320);
  EXPECT_EQ(d[2].y, 240);
  EXPECT_EQ(d[3].type, EventType::LButtonUp);
  EXPECT_EQ(d[4].type, EventType::LButtonDblClk);
}

TEST_F(WindowRun, KeysScriptAndQuit) {
  ASSERT_TRUE(Open(1, "2 down z\n2 mouse 5 6\n3 up z\n"));
  auto key = [](Uint32 type, SDL_Keycode sym, Uint16 mod) {
    SDL_Event ev = {};
    ev.type = type;
    ev.key.keysym.sym = sym;
    ev.key.keysym.mod = mod;
    SDL_PushEvent(&ev);
  };
  Drain();
  plat::Present(picture);
  key(SDL_KEYDOWN, SDLK_F11, 0);  // fullscreen on and off again: not the game's
  key(SDL_KEYUP, SDLK_F11, 0);
  key(SDL_KEYDOWN, SDLK_F11, 0);
  key(SDL_KEYUP, SDLK_F11, 0);
  key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
  key(SDL_KEYUP, SDLK_RETURN, KMOD_LALT);
  key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
  key(SDL_KEYUP, SDLK_RETURN, 0);
  key(SDL_KEYDOWN, SDLK_ESCAPE, 0);
  key(SDL_KEYUP, SDLK_a, 0);
  key(SDL_KEYDOWN, SDLK_PRINTSCREEN, 0);  // no virtual key of the games
  std::vector<Event> d;
  for (int i = 0; i < 20 && d.size() < 4; ++i) {  // the fullscreen switches may take a moment
    for (const Event& e : Drain())  // the window moving under the pointer may move it
      if (e.type != EventType::MouseMove || e.x == 5) d.push_back(e);
    SDL_Delay(20);
  }
  std::string got;
  for (const Event& e : d) got += std::to_string(static_cast<int>(e.type)) + ":" + std::to_string(e.vk) + " ";
  ASSERT_GE(d.size(), 4u) << got;
  EXPECT_EQ(d[0].type, EventType::KeyDown);
  EXPECT_EQ(d[0].vk, plat::VK_ESCAPE);
  EXPECT_EQ(d[1].type, EventType::KeyUp);
  EXPECT_EQ(d[1].vk, 'A');
  EXPECT_EQ(d[2].type, EventType::KeyDown);  // the script's events of frame 2
  EXPECT_EQ(d[2].vk, 'Z');
  EXPECT_EQ(d[3].type, EventType::MouseMove);
  EXPECT_EQ(d[3].x, 5);
  EXPECT_TRUE(plat::KeyDown('Z'));
  EXPECT_FALSE(plat::KeyDown('Q'));
  plat::Present(picture);
  Drain();
  EXPECT_FALSE(plat::KeyDown('Z'));

  SDL_Event quit = {};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  std::vector<Event> q = Drain();
  bool quitSeen = false;
  for (const Event& e : q) quitSeen |= e.type == EventType::Quit && e.code == 0;
  EXPECT_TRUE(quitSeen);
}

TEST_F(WindowRun, SoundWithoutADeviceOrFileStaysSilent) {
  plat::Options opts;  // not muted: the mixer opens on the dummy or a missing device
  plat::WindowConfig config;
  config.pauseOnFocusLoss = false;
  ASSERT_TRUE(plat::OpenSystem(opts, config));
  testing::internal::CaptureStderr();
  plat::SoundCommand("open data\\no_such_sound.wav alias hit");
  plat::SoundCommand("open data\\no_such_sound.wav alias hit2");
  plat::SoundCommand("play hit from 0");
  plat::SoundCommand("close hit");
  plat::SoundCommand("close all");
  std::string err = testing::internal::GetCapturedStderr();
  auto count = [&](const std::string& what) {
    long n = 0;
    for (size_t at = err.find(what); at != std::string::npos; at = err.find(what, at + 1)) ++n;
    return n;
  };
  if (count("no audio device") > 0) {  // (the audio library may add its own lines)
    EXPECT_EQ(count("no audio device"), 1) << err;  // warned once, then silent
    EXPECT_EQ(count("no_such_sound"), 0) << err;
  } else {
    EXPECT_EQ(count("cannot open sound 'data/no_such_sound.wav' (No such file or directory)"), 2) << err;
  }
}

TEST_F(WindowRun, WaitEventLeavesTheEventForTheDrain) {
  ASSERT_TRUE(Open(1, ""));
  Drain();
  std::thread pusher([] {
    SDL_Delay(100);
    SDL_Event ev = {};
    ev.type = SDL_KEYDOWN;
    ev.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&ev);
  });
  bool escape = false;
  for (int i = 0; i < 50 && !escape; ++i) {  // other window events may wake it first
    plat::WaitEvent();
    for (const Event& e : Drain()) escape |= e.type == EventType::KeyDown && e.vk == plat::VK_ESCAPE;
  }
  pusher.join();
  EXPECT_TRUE(escape);
}

TEST_F(WindowRun, DefaultScaleFitsTheDesktopAndALargerOneIsReduced) {
  testing::internal::CaptureStderr();
  ASSERT_TRUE(Open(0, ""));
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.find("does not fit"), std::string::npos) << err;
  auto* window = static_cast<SDL_Window*>(plat::detail::SdlWindowHandle());
  SDL_Rect area;
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &area), 0) << SDL_GetError();
  int w = 0, h = 0, x = 0, y = 0;
  SDL_GetWindowSize(window, &w, &h);
  SDL_GetWindowPosition(window, &x, &y);
  ASSERT_EQ(w % 640, 0);
  const int scale = w / 640;
  EXPECT_EQ(h, 480 * scale);
  // The largest scale that leaves room for a title bar, and the window on the screen.
  EXPECT_TRUE(640 * (scale + 1) + 16 > area.w || 480 * (scale + 1) + 48 > area.h) << scale;
  EXPECT_GE(x, area.x);
  EXPECT_GE(y, area.y);
  EXPECT_LE(x + w, area.x + area.w);
  EXPECT_LE(y + h, area.y + area.h);
  plat::CloseSystem();

  testing::internal::CaptureStderr();
  ASSERT_TRUE(Open(8, ""));
  err = testing::internal::GetCapturedStderr();
  window = static_cast<SDL_Window*>(plat::detail::SdlWindowHandle());
  SDL_GetWindowSize(window, &w, &h);
  if (640 * 8 + 16 > area.w) {
    EXPECT_EQ(w, 640 * scale);
    EXPECT_EQ(err.rfind(std::string(plat::detail::ProgramName()) + ": --scale 8 does not fit the desktop", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
}

// A key or click pushed a moment later, while the help card waits for it.
std::thread PushLater(SDL_Event ev) {
  return std::thread([ev]() mutable {
    SDL_Delay(300);
    SDL_PushEvent(&ev);
  });
}

TEST_F(WindowRun, HelpCardOnF1AndOnFocusLossStopsTheClock) {
  plat::SetHelpText("help text");
  ASSERT_TRUE(Open(1, ""));
  plat::CaptureWindow(true);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) picture.Row(y)[x] = 0xFFFFFF;
  plat::Present(picture);
  Drain();
  SDL_Event f1 = {};
  f1.type = SDL_KEYDOWN;
  f1.key.keysym.sym = SDLK_F1;
  SDL_PushEvent(&f1);
  SDL_Event escape = f1;
  escape.key.keysym.sym = SDLK_ESCAPE;
  std::thread pusher = PushLater(escape);
  const uint32_t before = plat::TimeMs(), wallBefore = SDL_GetTicks();
  std::vector<Event> d = Drain();
  EXPECT_GE(SDL_GetTicks() - wallBefore, 300u);
  pusher.join();
  EXPECT_LT(plat::TimeMs() - before, 50u);  // the card's time is not the program's
  for (const Event& e : d)
    EXPECT_FALSE(e.type == EventType::KeyDown && (e.vk == plat::VK_F1 || e.vk == plat::VK_ESCAPE));
  EXPECT_GT(plat::FramesShown(), 1);  // the card was shown
  std::vector<uint32_t> shown;
  int w = 0, h = 0;
  ASSERT_TRUE(plat::ReadWindowPixels(shown, w, h));
  ASSERT_EQ(w, 640);
  EXPECT_EQ(shown[5] & 0xFFFFFF, 0x3F3F3Fu);  // the picture dimmed around the card
  EXPECT_NE(shown[240 * 640 + 600] & 0xFFFFFF, 0x3F3F3Fu);  // the panel
  EXPECT_EQ(picture.At(5, 0), 0xFFFFFFu);

  // Focus lost: the same card; a click closes it.
  // (Asked as the backend does on a focus loss: real focus events would come from the
  // windows of tests running beside this one too.)
  plat::detail::pauseAsked = true;
  SDL_Event click = {};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.button = SDL_BUTTON_LEFT;
  pusher = PushLater(click);
  const long framesBefore = plat::FramesShown();
  const uint32_t before2 = plat::TimeMs();
  d = Drain();
  pusher.join();
  EXPECT_LT(plat::TimeMs() - before2, 50u);
  EXPECT_GT(plat::FramesShown(), framesBefore);
  plat::SetHelpText(nullptr);
}

TEST(WindowOpen, NoDisplayIsRefusedWithAClearMessage) {
  const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* v = std::getenv(names[i]);
    had[i] = v != nullptr;
    if (v) saved[i] = v;
    unsetenv(names[i]);
  }
  plat::Options opts;
  plat::WindowConfig config;
  testing::internal::CaptureStderr();
  bool opened = plat::OpenSystem(opts, config);
  std::string err = testing::internal::GetCapturedStderr();
  plat::CloseSystem();
  for (int i = 0; i < 3; ++i)
    if (had[i]) setenv(names[i], saved[i].c_str(), 1);
  EXPECT_FALSE(opened);
  EXPECT_NE(err.find("cannot open a window"), std::string::npos) << err;
  EXPECT_NE(err.find("--headless"), std::string::npos) << err;
}

// A short 16-bit mono tone as a .wav file.
void WriteWav(const std::string& path) {
  const uint32_t samples = 4410, bytes = samples * 2;
  std::vector<uint8_t> f;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(v >> (8 * i))); };
  auto u16 = [&](uint32_t v) { for (int i = 0; i < 2; ++i) f.push_back(static_cast<uint8_t>(v >> (8 * i))); };
  auto tag = [&](const char* t) { f.insert(f.end(), t, t + 4); };
  tag("RIFF"); u32(36 + bytes); tag("WAVE");
  tag("fmt "); u32(16); u16(1); u16(1); u32(22050); u32(44100); u16(2); u16(16);
  tag("data"); u32(bytes);
  for (uint32_t i = 0; i < samples; ++i) u16((i / 25) % 2 ? 0x2000 : 0xE000);
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(f.data(), 1, f.size(), out);
  std::fclose(out);
}

TEST_F(WindowRun, AliasesPlayOnTheirOwnChannels) {
  plat::Options opts;
  plat::WindowConfig config;
  ASSERT_TRUE(plat::OpenSystem(opts, config));
  std::string wav = testing::TempDir() + "beep.wav";
  WriteWav(wav);
  plat::SoundCommand(("open \"" + wav + "\" alias one").c_str());
  if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
  plat::SoundCommand(("open " + wav + " alias two").c_str());
  plat::SoundCommand("play one from 0");
  plat::SoundCommand("PLAY TWO FROM 0");
  plat::SoundCommand("play one from 0");  // restarts its own clip only
  EXPECT_EQ(Mix_Playing(-1), 2);
  plat::SoundCommand("close one");
  EXPECT_EQ(Mix_Playing(-1), 1);
  plat::SoundCommand("play one from 0");  // closed: nothing
  EXPECT_EQ(Mix_Playing(-1), 1);
  plat::SoundCommand("close all");
  EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(WindowRun, FullscreenSwitches) {
  ASSERT_TRUE(Open(1, ""));
  auto* window = static_cast<SDL_Window*>(plat::detail::SdlWindowHandle());
  ASSERT_NE(window, nullptr);
  plat::SetFullscreen(true);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_Event ev = {};
  ev.type = SDL_KEYDOWN;
  ev.key.keysym.sym = SDLK_F11;
  SDL_PushEvent(&ev);
  Drain();
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
}

// The message dialog: its text laid out and wrapped, its buttons, its picture.
TEST(Dialog, LayoutWrapsLongLinesAndKeepsTheButtonsInside) {
  ASSERT_TRUE(plat::InitText());
  std::string words;
  for (int i = 0; i < 40; ++i) words += "word" + std::to_string(i) + " ";
  // "至低の選択" in code page 932, one line of its own, then a long unbroken line.
  const std::string kanji = "\x8E\x8A\x92\xE1\x82\xCC\x91\x49\x91\xF0";
  std::string unbroken(200, 'x');
  std::string shortThenLong = "a " + std::string(110, 'y');  // breaks inside the y's
  std::string text = words + "\n" + kanji + "\n" + shortThenLong + "\n" + unbroken + "\n";
  static plat::detail::DialogLayout l;
  plat::detail::LayoutDialog(text.c_str(), true, l);
  const plat::Font* font = plat::SmoothFont(20);

  std::string joined;
  int kanjiLine = -1;
  for (int i = 0; i < l.lineCount; ++i) {
    const char* line = l.text + l.lineStart[i];
    int n = static_cast<int>(std::strlen(line));
    EXPECT_LE(plat::TextWidth(font, line, n), plat::detail::kDialogMaxTextW) << line;
    EXPECT_LE(l.textX + plat::TextWidth(font, line, n), l.w) << line;
    if (line == kanji) kanjiLine = i;
    joined += line;
    joined += '|';
  }
  EXPECT_GE(l.lineCount, 7);  // the words, y's and x's each over more than one line
  EXPECT_GT(kanjiLine, 0);
  EXPECT_EQ(joined.find("word1|"), std::string::npos) << "broken inside a word: " << joined;
  std::string letters;  // nothing lost but the spaces and breaks
  for (char c : joined)
    if (c != '|' && c != ' ') letters += c;
  std::string want;
  for (char c : text)
    if (c != '\n' && c != ' ') want += c;
  EXPECT_EQ(letters, want);
  EXPECT_EQ(l.text[l.lineStart[l.lineCount - 1]], 'x');  // no empty line for the final break

  ASSERT_EQ(l.buttonCount, 2);
  EXPECT_STREQ(l.buttons[0].label, "\x82\xCD\x82\xA2");  // yes
  EXPECT_LE(l.buttons[0].x + l.buttons[0].w, l.buttons[1].x);
  for (const auto& b : l.buttons) {
    EXPECT_GE(b.x, 0);
    EXPECT_LE(b.x + b.w, l.w);
    EXPECT_GT(b.y, l.textY + l.lineCount * l.lineHeight - 6);  // below the text
    EXPECT_LE(b.y + b.h, l.h);
    EXPECT_EQ(plat::detail::DialogButtonAt(l, b.x + b.w / 2, b.y + b.h / 2), &b - l.buttons);
  }
  EXPECT_EQ(plat::detail::DialogButtonAt(l, l.textX, l.textY), -1);

  // Dark text on the light face, in the text and on the buttons.
  plat::Surface s;
  s.Create(l.w, l.h);
  plat::detail::DrawDialog(l, -1, -1, s);
  auto darkIn = [&](int x0, int y0, int x1, int y1) {
    int dark = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        plat::Colour c = s.At(x, y);
        dark += (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && (c >> 16) < 0x60;
      }
    return dark;
  };
  EXPECT_GT(darkIn(l.textX, l.textY, l.w, l.textY + l.lineHeight), 50);
  EXPECT_EQ(darkIn(0, 0, l.textX - 1, l.h), 0);  // the icon is coloured, not dark
  for (const auto& b : l.buttons) EXPECT_GT(darkIn(b.x + 2, b.y + 2, b.x + b.w - 2, b.y + b.h - 2), 20);
  EXPECT_EQ(s.At(l.w - 1, 0), 0xF3F3F3u);

  plat::detail::LayoutDialog("short", false, l);
  ASSERT_EQ(l.buttonCount, 1);
  EXPECT_STREQ(l.buttons[0].label, "OK");
  EXPECT_EQ(l.lineCount, 1);
  EXPECT_LE(l.w, 400);
}

// Events the dialog's hook pushes once the dialog is on screen (window ids filled in).
std::vector<SDL_Event> dialogScript;
std::string dialogTitle;

void PushDialogScript(unsigned id, const plat::detail::DialogLayout& l) {
  dialogTitle = SDL_GetWindowTitle(SDL_GetWindowFromID(id));
  for (SDL_Event ev : dialogScript) {
    if (ev.type == SDL_MOUSEBUTTONDOWN || ev.type == SDL_MOUSEBUTTONUP) {
      const auto& b = l.buttons[ev.button.x];  // x holds the button's index
      ev.button.windowID = id;
      ev.button.x = b.x + b.w / 2;
      ev.button.y = b.y + b.h / 2;
    }
    if (ev.type == SDL_WINDOWEVENT) ev.window.windowID = id;
    SDL_PushEvent(&ev);
  }
}

SDL_Event Key(SDL_Keycode sym, bool repeat = false) {
  SDL_Event ev = {};
  ev.type = SDL_KEYDOWN;
  ev.key.keysym.sym = sym;
  ev.key.repeat = repeat ? 1 : 0;
  return ev;
}

SDL_Event Click(bool down, int button) {
  SDL_Event ev = {};
  ev.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  ev.button.button = SDL_BUTTON_LEFT;
  ev.button.x = button;
  return ev;
}

struct DialogRun : WindowRun {
  void SetUp() override {
    WindowRun::SetUp();
    plat::detail::dialogShownHook = PushDialogScript;
  }
  void TearDown() override {
    plat::detail::dialogShownHook = nullptr;
    WindowRun::TearDown();
  }
  bool Ask(std::vector<SDL_Event> script) {
    dialogScript = std::move(script);
    // "リスクを負い世界観を向上させますか？" / "至低の選択" in code page 932
    return plat::detail::SdlAskYesNo(
        "\x83\x8A\x83\x58\x83\x4E\x82\xF0\x95\x89\x82\xA2\x90\xA2\x8A\x45\x8A\xCF"
        "\x82\xF0\x8C\xFC\x8F\xE3\x82\xB3\x82\xB9\x82\xDC\x82\xB7\x82\xA9\x81\x48",
        "\x8E\x8A\x92\xE1\x82\xCC\x91\x49\x91\xF0");
  }
};

TEST_F(DialogRun, AsksBeforeTheWindowExists) {
  // Alone, the dialog starts the video subsystem for itself and stops it again.
  EXPECT_TRUE(Ask({Key(SDLK_y)}));
  EXPECT_EQ(dialogTitle, "\xE8\x87\xB3\xE4\xBD\x8E\xE3\x81\xAE\xE9\x81\xB8\xE6\x8A\x9E");  // UTF-8
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  // The other answers share one start-up: a loaded X server can refuse a burst of
  // connections opened and closed in quick succession.
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  EXPECT_FALSE(Ask({Key(SDLK_n)}));
  EXPECT_TRUE(Ask({Key(SDLK_RETURN)}));
  EXPECT_FALSE(Ask({Key(SDLK_ESCAPE)}));
  EXPECT_FALSE(Ask({Key(SDLK_y, true), Key(SDLK_SPACE), Key(SDLK_n)}));  // a held key, space: nothing
  EXPECT_TRUE(Ask({Click(true, 0), Click(false, 0)}));
  EXPECT_FALSE(Ask({Click(true, 1), Click(false, 1)}));
  EXPECT_FALSE(Ask({Click(true, 0), Click(false, 1), Key(SDLK_n)}));  // slid off: no click
  SDL_Event close = {};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  EXPECT_FALSE(Ask({close}));
  EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);  // left running, as it was found
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(DialogRun, ShowsAnErrorOverTheGameWindow) {
  ASSERT_TRUE(Open(1, ""));
  plat::Present(picture);
  Drain();
  dialogScript = {Key(SDLK_y), Key(SDLK_n), Key(SDLK_SPACE)};  // only Space closes it
  testing::internal::CaptureStderr();
  plat::ShowError("Title", "data/people.txt: cannot open the file");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("data/people.txt: cannot open the file"), std::string::npos) << err;
  EXPECT_EQ(dialogTitle, "Title");
  for (const Event& e : Drain())  // the dialog's keys are not the game's
    EXPECT_FALSE(e.type == EventType::KeyDown && (e.vk == 'Y' || e.vk == 'N')) << e.vk;
  EXPECT_NE(plat::detail::SdlWindowHandle(), nullptr);
  dialogScript = {Key(SDLK_RETURN)};
  EXPECT_TRUE(plat::AskYesNo("?", "Title"));
  plat::Present(picture);  // the game window still draws
}

TEST(DialogOpen, NoDisplayAnswersNoOnStderr) {
  const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* v = std::getenv(names[i]);
    had[i] = v != nullptr;
    if (v) saved[i] = v;
    unsetenv(names[i]);
  }
  testing::internal::CaptureStderr();
  bool yes = plat::detail::SdlAskYesNo("Go on?", "Question");
  std::string err = testing::internal::GetCapturedStderr();
  for (int i = 0; i < 3; ++i)
    if (had[i]) setenv(names[i], saved[i].c_str(), 1);
  EXPECT_FALSE(yes);
  EXPECT_NE(err.find("cannot ask 'Go on?'"), std::string::npos) << err;
  EXPECT_NE(err.find("answering no"), std::string::npos) << err;
}

}  // namespace
