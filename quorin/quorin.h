// quorin: a wordless descent game. The camera falls toward a tiled ground of random
// heights with mountains on it; the arrow keys steer the fall, and each touchdown scores
// the patch of ground under the camera: high ground costs life. When life drops below 0
// the level reached goes into the record file and the title returns.
// All game state lives in the fixed globals below; floats are 32-bit.
#pragma once
#include <cstdint>
#include "frame/frame.h"
#include "platform/cues.h"

namespace quorin {

// Values of frame::gameState.
enum State : int { Quit = 0, Playing = 1, Title = 2 };

// descentPhase values.
enum Phase : int { Descending = 0, Landing = 1, Rising = 2 };

constexpr int kMapSize = 20;
constexpr int kStartLife = 200;
constexpr float kDefaultBrightness = 4.0f;  // also the value of the option.txt we ship

// The image slots of frame::dcTable.
constexpr int kSheetSlot = 4;  // data\d2.bmp, 1280x960 texture sheet
constexpr int kTitleSlot = 5;  // data\title.bmp, 640x480
inline plat::Surface& sheetDC = frame::dcTable[kSheetSlot];
inline plat::Surface& titleDC = frame::dcTable[kTitleSlot];

struct TexOrigin {
  int x, y;  // top-left corner of a 64x32 cell of the texture sheet
};

extern int life;
extern int landingScore;
extern int descentPhase;
extern int levelCounter;
extern float camX, camY, camZ;  // camZ: how far the camera has fallen; height is 200 - camZ
extern float fallSpeed;
extern float driftX, driftY;
extern float shakeX, shakeY;
extern float fade;
extern float brightness;  // from the option file
extern bool popupWindow;  // from the option file
extern int heightMap[kMapSize][kMapSize];        // [column][row], 0 to 32
extern TexOrigin texOrigin[kMapSize][kMapSize];  // [column][row]

// Where the two files live: the working directory. Tests point these elsewhere.
extern const char* optionPath;  // "option.txt"
extern const char* recordPath;  // "die.txt"

// Option file: "FLAG,BRIGHTNESS" as "%d,%f". A missing or malformed file leaves the
// window flag clear and the default brightness, with one warning on stderr naming the
// file and the problem; returns whether the file was read.
bool ReadOptions();
// The frame's settings reader: ReadOptions, then a popup window when the flag says so.
void ReadSettings(plat::WindowConfig& config);
// Writes levelCounter into the record file; on failure says why on stderr, returns false.
bool WriteRecord();

void ResetGame();
void NewLevel();
void UpdateDescent();  // gameState 1
void TitleStep();      // gameState 2
void Setup();          // the frame's set-up: opens the sounds, title with a level behind it
void Step();           // the state routine of gameState, then the sounds it marked

// The ground view (ground.cpp).
double ProjectX(double a, double b);
double ProjectY(double a, double b);
void RenderGround();
// The low 8 bits of trunc(v), for colour channels that wrap; 0 for values that no
// integer holds (infinite or not a number).
uint32_t LowByte(double v);

// Sound cues: the clips data\NAME.wav, opened once at start-up. The rules only mark the
// cues of a frame; Step sends them after the frame, so sound never changes what the game
// computes or draws.
enum Sound : int {
  SoundLevel,         // a level starts
  SoundTouchdown,     // a landing that costs no life
  SoundHeavyLanding,  // a landing that costs life
  SoundGameOver,      // the game ends
  kSoundCount
};
extern plat::CueTable cues;
inline void Cue(Sound s) { cues.Mark(s); }

}  // namespace quorin
