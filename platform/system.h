// The machine as the games see it: one window showing a 640x480 picture, the message
// queue, key state, a millisecond clock, sleep, sound clips and message boxes.
// Two backends: a real SDL window, and a headless one (virtual clock, scripted input,
// PNG screenshots) for tests, benchmarks and screenshots. Which one runs is chosen by
// Options::headless.
#pragma once
#include <cstdint>
#include <vector>
#include "options.h"
#include "surface.h"

namespace plat {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

enum class Cursor { Arrow, Cross, Hidden };

struct WindowConfig {
  const char* caption = "";  // code page 932
  Cursor cursor = Cursor::Arrow;
  bool vsync = false;           // present waits for the display's refresh
  bool presentTicksClock = false;  // headless: each present advances the clock by 1/60 s
  bool popup = false;           // borderless window at the screen's top left (0, 0)
  bool pauseOnFocusLoss = true;    // losing the window's focus opens the help card
};

// Messages with the old window-message semantics.
enum class EventType {
  MouseMove,      // x, y in picture pixels
  LButtonDown,
  LButtonUp,
  LButtonDblClk,  // second press of a quick double click (instead of LButtonDown)
  RButtonDown,
  RButtonUp,
  RButtonDblClk,
  KeyDown,        // vk
  KeyUp,          // vk
  Quit,           // code: exit status (window closed: 0; --frames reached: 0)
};

struct Event {
  EventType type = EventType::Quit;
  int x = 0, y = 0;  // mouse events: position in picture pixels
  int vk = 0;        // key events
  int code = 0;      // Quit
};

// Opens the backend chosen by opts and the window (the headless backend opens none).
// Finds the fonts first. On failure prints a clear message and returns false; the
// program then exits with status 1.
bool OpenSystem(const Options& opts, const WindowConfig& config);
void CloseSystem();

// Takes the next pending message, if any. The drain that precedes frame F also delivers
// the script's events for frame F. After the --frames limit has been shown, returns Quit
// (once per drain, then false, as the old quit message left the queue empty).
// Window-management keys (F11, Alt+Enter: fullscreen toggle) are handled here and not
// delivered.
bool PollEvent(Event& e);

// Blocks until a message is pending (used while the window is minimised).
void WaitEvent();

// True while the window is minimised or hidden (never on the headless backend).
bool IsMinimised();

// Key state at the time of the call, by virtual-key code (mouse buttons are 1 and 2).
bool KeyDown(int vk);

// Milliseconds since an arbitrary start (headless: a virtual clock that starts at 0 and
// advances only by SleepMs and, with presentTicksClock, by presents).
uint32_t TimeMs();
void SleepMs(uint32_t ms);

// Shows the 640x480 picture in the window (scaled by a whole factor, letterboxed) and
// counts one frame shown; writes the screenshots due after this frame.
void Present(const Surface& picture);

// The exit status a program ends with after CloseSystem: status, or 1 when it is 0 but a
// screenshot could not be written (the run itself goes on to its end).
int ExitStatus(int status);

// Number of frames shown so far.
long FramesShown();

// Sends an old media-control command string: "open FILE alias NAME",
// "play NAME from 0", "close NAME", "close all". Unknown commands are ignored.
void SoundCommand(const char* command);

// Asks a yes/no question in a message dialog drawn with the collection's own fonts
// (texts in code page 932). The headless backend answers no.
bool AskYesNo(const char* text, const char* caption);

// Reports a fatal problem: one line on stderr and, when a window can be shown, a message
// box. The caller then ends the program.
void ShowError(const char* title, const char* message);

// The random seed a program should use: --seed N when given, 1 on the headless backend
// without it, otherwise the clock or calendar value passed in.
uint32_t ChooseSeed(const Options& opts, uint32_t fromClock);

// The help card: F1 (and losing the window's focus) pauses the program inside the
// message drain and shows this text over the last picture shown; F1, Escape or a click
// closes it. While paused no frame runs and TimeMs does not advance. The text is code
// page 932, lines separated by '\n' (the goal, the keys and the mouse, Japanese and
// English); null: the card names only the keys that resume. The text must live as long
// as the system is open; it may be given before OpenSystem. The headless backend pauses
// only when the input script presses F1; each card frame then counts as a shown frame
// (screenshots see the card) and advances the virtual clock by 1/60 s, which TimeMs
// leaves out.
void SetHelpText(const char* text);

// True while the help card is shown (for tests).
bool Paused();

// Switches the window between fullscreen (the desktop's mode) and windowed, as F11 and
// Alt+Enter do. Nothing on the headless backend.
void SetFullscreen(bool on);

// Testing hooks of the SDL backend: while capture is on, each Present also reads back the
// whole window contents before showing them; ReadWindowPixels returns the last capture
// (0x00BBGGRR, w x h, top row first). False on the headless backend or before a capture.
void CaptureWindow(bool on);
bool ReadWindowPixels(std::vector<uint32_t>& out, int& w, int& h);

}  // namespace plat
