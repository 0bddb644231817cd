// volley's window, start-up question, main loop and shut-down.
#pragma once
#include "platform/keys.h"
#include "platform/options.h"
#include "platform/surface.h"
#include "platform/system.h"
#include "volley/field.h"

namespace volley {

// The start-up question and its texts (code page 932).
extern const char* const kQuestion;
extern const char* const kQuestionCaption;

// Full screen or a window: --fullscreen or --scale N answer the question without asking;
// the headless backend answers no; otherwise the player is asked.
bool ChooseFullscreen(const plat::Options& opts);

// The picture every frame is drawn into, and the play field, created on the first frame.
extern plat::Surface picture;
extern PlayField playField;
extern bool fieldCreated;

// The window procedure: Escape (key down) and a close request post a quit with code 0.
// Returns true when a quit was posted.
bool WindowProc(const plat::Event& e);

// One pass of the loop: clear, the play frame, present. Never asks to leave.
bool ScreenFrame();

// Drains messages and runs frames until a quit; returns the exit status.
int RunLoop();

// The whole program.
int RunVolley(int argc, char** argv);

}  // namespace volley
