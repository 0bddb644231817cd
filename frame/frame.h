// The game frame: one 640x480 back buffer composed every frame, a state machine on
// gameState stepped once per frame, fixed-period pacing, and the drawing and input
// helpers the frame-based programs share. Two generations: named device contexts
// (zombie, ball, gattrin) and the DC table (quorin, talvex, boundary, ostel). Both keep
// their surfaces in dcTable; the named-DC generation calls slot 1 backDC and uses slots
// 3 and up for its image surfaces in load order.
#pragma once
#include <cstdint>
#include "platform/keys.h"
#include "platform/surface.h"
#include "platform/system.h"

namespace frame {

using plat::Colour;

enum class Generation { NamedDC, DCTable };
enum class MaskedLayout { None, A, B, C };

struct ImageLoad {
  const char* path;  // as the old program wrote it: "data\\back.bmp"
  int slot;          // dcTable slot, 3 and up
};

// A program's settings: a constant value each program passes to RunFrame.
struct FrameSettings {
  const char* name = "";            // program name, for --help and messages
  const char* summary = "";         // one line for --help
  const char* caption = "";         // window caption, code page 932
  const char* help = nullptr;       // help card text shown on F1, code page 932 (see
                                    // plat::SetHelpText); null: name and resume keys only
  Generation generation = Generation::NamedDC;
  int frameBudget = 16;             // ms
  bool fastForwardKey = false;      // holding Y skips the sleep
  bool stretchCopy = false;         // final copy with StretchBlt instead of BitBlt
  plat::Cursor cursor = plat::Cursor::Arrow;
  int firstState = 1;
  bool rightButton = false;         // the window procedure tracks the right button (ball)
  MaskedLayout maskedLayout = MaskedLayout::None;
  int scratchW = 0, scratchH = 0;   // slot 2, the masked-text scratch surface (0: none)
  int extraW = 0, extraH = 0;       // slot 3 created like slots 1 and 2 (0: none)
  bool frameStartAtStartup = true;  // frameStart = TimeMs() at start-up, else 0
  const ImageLoad* images = nullptr;
  int imageCount = 0;
  int imageW = 640, imageH = 480;   // blank size of an image whose file is missing
  // Reads the program's own settings after the random seed and before the window opens;
  // may change the window's configuration. May be null.
  void (*readSettings)(plat::WindowConfig& config) = nullptr;
  void (*setup)() = nullptr;        // run once before the loop; may be null
  void (*step)() = nullptr;         // runs the state routine(s) of gameState (never 0)
};

constexpr int kSlots = 10;
constexpr bool edge = false;
constexpr bool hold = true;

// Frame state, zero at start, touched by the one thread only.
extern int gameState;
extern uint32_t frameStart;
extern int mouseX, mouseY;
extern uint8_t mouseDown[2];   // [0] left; [1] right (tracked when settings.rightButton)
extern uint8_t clickArmed[2];  // MouseClicked latches, per button
extern uint8_t keyLatch[200];
extern uint8_t buttonsEnabled;  // TextButton reports clicks only while non-zero
extern plat::Surface dcTable[kSlots];
extern plat::Surface& backDC;  // dcTable[1]
// The settings of the running program (set by CreateSurfaces and RunLoop); the font form
// of DrawMaskedString takes its layout from here.
extern const FrameSettings* activeSettings;

// Runs a whole program: parses the command line, opens the system, loads the images,
// creates the surfaces, runs setup and the main loop. Returns the exit status.
int RunFrame(const FrameSettings& settings, int argc, char** argv);

// The parts of RunFrame, for tests and benchmarks.
void ResetFrame();                                   // all frame state back to zero
void CreateSurfaces(const FrameSettings& settings);  // images, back buffer, scratch, extra
int RunLoop(const FrameSettings& settings);          // the main loop; returns the exit status
void WindowProc(const FrameSettings& settings, const plat::Event& e);
// wait = frameStart - now + budget in signed 32-bit arithmetic.
int32_t PaceWait(uint32_t frameStart, uint32_t now, int budget);

// Random numbers: the runtime's generator (state x 22695477 + 1, bits 16..30).
void SeedRandom(uint32_t seed);  // sets the state and throws one value away
extern uint32_t randomState;
// Inline, so that a constant bound becomes a multiply; a bound of 0 or less gives 0
// rather than dividing by zero.
inline int RandomBelow(int n) {
  randomState = randomState * 22695477u + 1u;
  const int v = static_cast<int>((randomState >> 16) & 0x7FFF);
  return n > 0 ? v % n : 0;
}

// Drawing helpers. "back" is slot 1.
void DrawBox(int x, int y, int w, int h, Colour colour, int slot = 1);
void DrawLine(int x1, int y1, int x2, int y2, Colour colour);
int DrawString(int x, int y, const char* text, Colour colour);
void DrawCircle(int cx, int cy, int r, Colour colour);
// Layout A: fixed 9x18 cell per byte, onto the back buffer.
int DrawMaskedString(int x, int y, const char* text, Colour colour);
// Layout B or C (the program's settings say which): created font of the given height,
// onto dcTable[slot].
int DrawMaskedString(int x, int y, const char* text, Colour colour, int height, int slot);
// The masked-text helpers refill only what they wrote into the scratch surface (slot 2)
// last time, which leaves it as a full white fill would. A text drawn again onto another
// surface is combined from a kept copy, and the scratch is brought up to date later: code
// that reads slot 2 by other means calls SyncScratch first, and code that writes it calls
// ForgetScratch first (which syncs; DrawBox on slot 2 does it itself). The frame loop
// syncs after every step.
void SyncScratch();
void ForgetScratch();
// The two font layouts by name, whatever the running program's settings say.
int DrawMaskedStringB(int x, int y, const char* text, Colour colour, int height, int slot);
int DrawMaskedStringC(int x, int y, const char* text, Colour colour, int height, int slot);

// Input helpers.
bool KeyHit(int vk, bool hold);
bool MouseClicked(bool hold);              // left button
bool MouseClicked(int button, bool hold);  // 0 left, 1 right
bool MouseOver(int x, int y, int w, int h);
bool TextButton(int x, int y, const char* text, Colour colour);

}  // namespace frame
