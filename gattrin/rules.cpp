// The siege: bar moves, the attackers' approach and contact, the spawn rule, the end of a
// game, and the state machine.
#include <algorithm>
#include <cstdint>
#include "gattrin/gattrin.h"
#include "platform/keys.h"

namespace gattrin {

Attacker attackers[kAttackerSlots];
int barInSlot[4];
int barCount;
int handState;
int gateStrength;
int tick;
int endTick;
int shake[4];

namespace {

bool Pressed(int vk) { return frame::KeyHit(vk, frame::edge); }

// Moves the bar of door `from` into the hands when it is barred and `vk` is pressed.
// The key is polled only when the door holds a bar.
bool Pull(int from, int vk) {
  if (barInSlot[from] == 0 || !Pressed(vk)) return false;
  barInSlot[from] = 0;
  handState = HoldingBar;
  Cue(SoundPull);
  return true;
}

// Drops the bar in hand into door `to` when it is empty and `vk` is pressed.
bool Drop(int to, int vk) {
  if (barInSlot[to] != 0 || !Pressed(vk)) return false;
  barInSlot[to] = 1;
  handState = HandsEmpty;
  Cue(SoundSet);
  return true;
}

// One attacker's update: its move, its contact with the door on its side, its exit.
void Advance(Attacker& a) {
  a.phase += 1;
  if (0 < a.phase && a.phase < 120 / a.speed) {
    const int s = a.direction / 2;
    // A pound is heard on the first update of contact and then once per blow period.
    const bool blow = (static_cast<int>(a.phase) - 1) % kBlowPeriod == 0;
    if (barInSlot[s] != 0) {
      shake[s] = frame::RandomBelow(5) - 2;
      if (blow) Cue(SoundPoundBar);
    } else {
      if (frame::gameState != GameOver) gateStrength -= 1;
      shake[s] = frame::RandomBelow(17) - 8;
      if (blow) Cue(SoundPoundOpen);
    }
  }
  if (a.phase * a.speed > 640) a.active = false;
  // With 3 bars the window in which an attacker counts as fresh is 25 updates shorter.
  const int b = barCount == 3 ? 25 : 0;
  if (a.phase - 30 + b > 120 / a.speed - 300) a.recent = false;
}

void Spawn() {
  if (frame::RandomBelow(std::max(30, 120 - tick / 200)) != 0) return;
  const int d = frame::RandomBelow(8);
  if (!SpawnAllowed(d)) return;
  for (Attacker& a : attackers) {
    if (a.active) continue;
    a.direction = d;
    a.phase = -300;
    a.speed = static_cast<float>((frame::RandomBelow(20) + 10) * 0.1);
    a.active = true;
    a.recent = true;
    return;
  }
}

}  // namespace

void ResetSiege() {
  for (Attacker& a : attackers) a.active = false;
  barInSlot[Top] = 1;
  barInSlot[Bottom] = 1;
  barInSlot[Left] = barCount > 2 ? 1 : 0;
  barInSlot[Right] = barCount > 3 ? 1 : 0;
  handState = HandsEmpty;
  gateStrength = kStartStrength;
  tick = 0;
}

// At most one move per update; the tests run in order and the first that fires ends it.
void MoveBar() {
  if (handState == HandsEmpty) {
    Pull(Right, plat::VK_LEFT) || Pull(Left, plat::VK_RIGHT) || Pull(Bottom, plat::VK_UP) ||
        Pull(Top, plat::VK_DOWN);
  } else if (handState == HoldingBar) {
    Drop(Left, plat::VK_LEFT) || Drop(Right, plat::VK_RIGHT) || Drop(Top, plat::VK_UP) ||
        Drop(Bottom, plat::VK_DOWN);
  }
}

// Sides already under fresh attack, not counting the new attacker's own side, must be
// fewer than the bars.
bool SpawnAllowed(int d) {
  bool marked[4] = {false, false, false, false};
  for (const Attacker& a : attackers) {
    if (a.active && a.recent) marked[a.direction / 2] = true;
  }
  marked[d / 2] = false;
  return std::count(marked, marked + 4, true) < barCount;
}

void UpdateSiege() {
  // A title left running for over a year stops counting instead of overflowing.
  if (tick < INT32_MAX) tick += 1;
  for (int& s : shake) s = 0;
  MoveBar();
  for (Attacker& a : attackers) {
    if (a.active) Advance(a);
  }
  Spawn();
  if (frame::gameState == Play) {
    // Escape is polled first, every play frame; the gate falls at 1, not at 0.
    const bool escape = Pressed(plat::VK_ESCAPE);
    if (escape || gateStrength <= 1) {
      endTick = tick;
      handState = InputLocked;
      frame::gameState = GameOver;
      if (!escape) Cue(SoundFall);
    }
  }
  DrawSiege();
}

void Step() {
  switch (frame::gameState) {
    case Play: UpdateSiege(); break;
    case NewGame:
      ResetSiege();
      frame::gameState = Play;
      break;
    case EnterTitle:
      barCount = 4;
      ResetSiege();
      frame::gameState = Title;
      handState = InputLocked;
      break;
    case Title:
      UpdateSiege();
      TitleOverlay();
      break;
    case GameOver:
      UpdateSiege();
      GameOverOverlay();
      break;
    default: break;
  }
  soundCues.Send();
}

}  // namespace gattrin
