// The small modal dialog the SDL backend shows for AskYesNo and ShowError. It is drawn
// with our own fonts (the system's message boxes on X11 cannot show Japanese), in a
// window of its own, so it works before and while the game window exists.
#pragma once
#include "platform/surface.h"

namespace plat::detail {

constexpr int kDialogMaxTextW = 560;  // longer lines are wrapped

struct DialogButton {
  int x = 0, y = 0, w = 0, h = 0;
  const char* label = "";  // code page 932
};

// Where everything sits in a dialog of w x h pixels.
struct DialogLayout {
  bool question = false;       // yes/no question (else an error with one OK button)
  int w = 0, h = 0;
  char text[4096] = {};        // the message's lines, each ended by a NUL
  int lineStart[30] = {};      // offsets of the lines in text (the rest is cut)
  int lineCount = 0;
  int textX = 0, textY = 0;    // top-left of the first line
  int lineHeight = 0;
  int iconX = 0, iconY = 0;    // top-left of the round icon
  int buttonCount = 0;
  DialogButton buttons[2];     // [0] yes / OK (the default), [1] no
};

// Lays out a message (code page 932; lines break at '\n' and are wrapped when too wide).
// Needs InitText to have succeeded.
void LayoutDialog(const char* text, bool question, DialogLayout& out);

// Draws the dialog into s (created at w x h); hover and pressed are button indices or -1.
void DrawDialog(const DialogLayout& l, int hover, int pressed, Surface& s);

// The button at (x, y), or -1.
int DialogButtonAt(const DialogLayout& l, int x, int y);

// Shows the dialog and waits for the answer: true for yes (or OK). Returns false with
// shown false when no display can be opened.
bool RunDialog(const char* text, const char* caption, bool question, bool& shown);

// Testing hook: called once the dialog is on screen, with its SDL window id, from the
// dialog's own loop (events pushed here are what the dialog sees next).
extern void (*dialogShownHook)(unsigned windowId, const DialogLayout& layout);

}  // namespace plat::detail
