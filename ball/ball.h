// ball: launch balls from a stock up a scrolling course full of ball-hunting enemies.
// The score is the distance scrolled. All game state lives in the fixed tables below.
#pragma once
#include <cstdint>
#include "frame/frame.h"
#include "platform/cues.h"

namespace ball {

// Values of frame::gameState.
enum State : int { Quit = 0, Play = 1, NewGame = 2, Title = 3, GameOver = 4 };

constexpr int kBallSlots = 30;
constexpr int kEnemySlots = 30;
constexpr int kStockSize = 30;
constexpr int kNoTarget = -1;

// Course geometry: the course is screen x 160..480; ball centres stay in 176..464.
constexpr int kWallLeft = 176;
constexpr int kWallRight = 464;

// Virtual-key codes the game polls.
constexpr int kKeyZ = 0x5A;
constexpr int kKeyX = 0x58;
constexpr int kKeyEscape = 0x1B;

struct Ball {
  float x, y;    // world position of the centre
  float vx, vy;  // pixels per step
  int type;      // 1 normal .. 8 stealth
  bool active;
  int effectTimer;  // steps left of the running effect; 0: none runs
  int launchTimer;  // steps left during which a click cannot stop the ball
};

struct Enemy {
  float x, y;  // world position of the centre
  int type;    // 1..5
  bool active;
  int target;  // ball slot hunted by a type 2 enemy, or kNoTarget
};

// Steps an effect runs, by ball type.
inline constexpr int effectDuration[9] = {0, 0, 30, 30, 30, 30, 1, 120, 240};
// A new enemy's type, by RandomBelow(8).
inline constexpr int enemyTypeTable[8] = {1, 2, 3, 4, 4, 4, 4, 5};

// Play state.
extern float scrollDistance;  // how far the view has scrolled up; its integer part is the score
extern float scrollStep;      // how far the view scrolls in the current step
extern int32_t nextSpawnDistance;
extern int playerX;
extern int frameCounter;
extern bool easyMode;
extern int ballStock[kStockSize];  // ball types waiting; 0 empty; filled entries from 0 on
extern Ball balls[kBallSlots];
extern Enemy enemies[kEnemySlots];

// Title state, kept across visits to the title.
extern float titleScrollX, titleScrollY;

// The image surfaces, in load order (frame::dcTable slots 3 to 6).
constexpr int kBallSlot = 3, kMaskSlot = 4, kBackImageSlot = 5, kEnemySlot = 6;
inline plat::Surface& ballDC = frame::dcTable[kBallSlot];
inline plat::Surface& maskDC = frame::dcTable[kMaskSlot];
inline plat::Surface& backImageDC = frame::dcTable[kBackImageSlot];
inline plat::Surface& enemyDC = frame::dcTable[kEnemySlot];

// Sound cues. Each is the clip data\NAME.wav, opened once at start-up as alias NAME. The
// rules only mark the cues of a step; Step sends one play per marked cue after it, so
// sound never changes what the game computes or draws.
enum Sound : int {
  SoundStart,     // a new game begins
  SoundLaunch,    // a ball leaves the launcher
  SoundPower,     // a click sets off a special ball's power (the bomb has its own)
  SoundStop,      // a click stops a ball dead
  SoundHit,       // an enemy destroys a ball
  SoundBomb,      // a bomb ball blows up
  SoundReturn,    // a ball that dropped out comes back into the stock
  SoundGameOver,  // the game ends
  kSoundCount
};
extern plat::CueTable soundCues;  // one cue per Sound, in its order
inline void Cue(Sound s) { soundCues.Mark(s); }
// The frame's set-up: opens every clip and forgets any marked cues.
inline void OpenSounds() {
  soundCues.Open();
  soundCues.marked = 0;
}

// The state routines and the dispatcher the frame calls once per frame.
void PlayStep();
void NewGameSetup();
void TitleStep();
void GameOverStep();
void Step();

// Parts of the play step, for tests and benchmarks.
void ReturnToStock(int type);                  // a ball dropped out of the bottom
void Launch(bool z, bool x);                   // fires stock entry 0 from playerX
void Spawn();                                  // the spawn schedule
void MoveEnemy(Enemy& e);                      // one enemy's hunting move
int NearestBall(const Enemy& e, int bound, bool specialOnly);
int HighestBall(const Enemy& e);
bool Eligible(const Ball& b);                  // active and not stealthy
bool GameIsOver();                             // the end test
int StockCount();
int FirstFreeBall();
int FirstFreeEnemy();
void DrawPlayScreen();
void DrawSprite(int x, int y, int maskCell, const plat::Surface& picture, int cell);

}  // namespace ball
