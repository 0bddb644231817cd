// The battle of one stage: the six-turn cycle, the four commands and the battle screen,
// whose labels are the command buttons.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include "frame/frame.h"
#include "zombie/zombie.h"

namespace zombie {

namespace {

constexpr plat::Colour kWhite = 0xFFFFFF;
constexpr plat::Colour kBlack = 0;
constexpr plat::Colour kGrey = 0x808080;

plat::Surface& BackImage() { return frame::dcTable[3]; }
plat::Surface& CharaImage() { return frame::dcTable[4]; }

void Sprite(int cell, int x, int y) {
  plat::Blit(frame::backDC, x, y, 16, 16, CharaImage(), cell * 16, 0, plat::Rop::Copy);
}

// A value over a person's full resistance. A resistance of 1 in the people file can be
// varied down to a full resistance of 0 at set-up; that divisor counts as 1.
int PerFull(int value, int maxHp) { return value / (maxHp != 0 ? maxHp : 1); }

__attribute__((format(printf, 1, 2))) const char* Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(textBuffer, sizeof textBuffer, format, args);
  va_end(args);
  return textBuffer;
}

}  // namespace

void NextTurn() {
  ++turn;
  selectedZombie = zombieColumns[turn % 3];
  selectedPerson = personColumns[turn % 3];
}

void ShowMessage(const char* text) {
  frame::DrawBox(18, 9, 320, 18, kWhite);
  frame::DrawString(18, 9, text, kBlack);
  returnState = frame::gameState;
  frame::gameState = Waiting;
}

void RemovePerson(int c) {
  ++nextSlot;
  personColumns[c] = SlotAt(nextSlot) != 0 ? nextSlot : EMPTY_COLUMN;
}

int ScareChance(int c) {
  const ZombieRecord& z = squad[zombieColumns[c]];
  const PersonRecord& p = stageEntries[personColumns[c]];
  return z.panic - PerFull(p.courage * p.hp, p.maxHp);
}

bool CommandsUsable(int c) {
  return personColumns[c] != EMPTY_COLUMN && squad[zombieColumns[c]].hp > 0;
}

void Scare(int c) {
  PersonRecord& p = stageEntries[personColumns[c]];
  MarkCue(Cue::Scare);
  if (frame::RandomBelow(100) < ScareChance(c)) {
    ShowMessage(Format("%sは逃げ出した!", p.name));
    MarkCue(Cue::Leave);
    RemovePerson(c);
  } else {
    ShowMessage(Format("しかし、%sは逃げ出さない!", p.name));
  }
  NextTurn();
}

void Attack(int c, int k) {
  const ZombieRecord& z = squad[zombieColumns[c]];
  PersonRecord& p = stageEntries[personColumns[c]];
  int damage = Vary(z.slaughter) * k;
  MarkCue(k == 1 ? Cue::Weak : Cue::Strong);
  p.hp -= damage;
  Format("%sは%sに攻撃した:-%d%%", z.name, p.name, PerFull(damage * 100, p.maxHp) + 1);
  if (p.hp <= 0 && !p.isProtected) {
    MarkCue(Cue::Leave);
    RemovePerson(c);
  }
  ShowMessage(textBuffer);
  NextTurn();
}

void Swap(int c) {
  MarkCue(Cue::Swap);
  int t = zombieColumns[c];
  zombieColumns[c] = reserve[0];
  reserve[0] = reserve[1];
  reserve[1] = reserve[2];
  reserve[2] = t;
  NextTurn();
}

void Pass() {
  MarkCue(Cue::Pass);
  NextTurn();
}

void DrawField() {
  plat::Blit(frame::backDC, 0, 0, 640, 480, BackImage(), 0, 0, plat::Rop::Copy);
  frame::DrawBox(18, 9, 320, 18, kWhite);
  for (int c = 0; c < 3; ++c) {
    int x0 = 128 * c;
    frame::DrawLine(192 + x0, 48, 192 + x0, 432, kWhite);
    for (int r = 0; r <= 6; ++r) frame::DrawBox(188 + x0, 428 - 64 * r, 8, 8, kWhite);
    if (zombieColumns[c] != 0) Sprite(0, 184 + x0, 424);
    if (personColumns[c] != EMPTY_COLUMN) {
      const PersonRecord& p = stageEntries[personColumns[c]];
      Sprite(p.isProtected ? 1 : 2, 184 + x0, 40 + 64 * p.row);
    }
  }
}

void DrawPanel() {
  for (int c = 0; c < 3; ++c) {
    if (zombieColumns[c] == 0) continue;
    const ZombieRecord& z = squad[zombieColumns[c]];
    if (frame::TextButton(202 + 128 * c, 424, z.name, kBlack)) selectedZombie = zombieColumns[c];
    frame::DrawString(202 + 128 * c, 442, Format("HP:%d/%d", z.hp, z.maxHp), kBlack);
  }
  for (int i = 0; i < 3; ++i) {
    const ZombieRecord& z = squad[reserve[i]];
    if (frame::TextButton(18, 400 + 20 * i, Format("%s HP:%d/%d", z.name, z.hp, z.maxHp), kBlack))
      selectedZombie = reserve[i];
  }
  if (selectedZombie != 0) {
    const ZombieRecord& z = squad[selectedZombie];
    frame::DrawBox(18, 252, 108, 72, kWhite);
    frame::DrawString(18, 252, Format("名:%s", z.name), kBlack);
    frame::DrawString(18, 270, Format("抵抗力:%d/%d", z.hp, z.maxHp), kBlack);
    frame::DrawString(18, 288, Format("惨殺力:%d", z.slaughter), kBlack);
    frame::DrawString(18, 306, Format("恐慌力:%d", z.panic), kBlack);
  }
  for (int c = 0; c < 3; ++c) {
    if (personColumns[c] == EMPTY_COLUMN) continue;
    const PersonRecord& p = stageEntries[personColumns[c]];
    if (frame::TextButton(202 + 128 * c, 40 + 64 * p.row, p.name, kBlack)) selectedPerson = personColumns[c];
    frame::DrawString(202 + 128 * c, 58 + 64 * p.row, Format("HP:%d%%", PerFull(p.hp * 100, p.maxHp)),
                      kBlack);
  }
  for (int k = nextSlot + 1; k <= kSlotCount; ++k) {
    frame::DrawString(532, 20, "Next:", kBlack);
    if (stageEntries[k].present && frame::TextButton(532, 20 + 20 * (k - nextSlot), stageEntries[k].name, kBlack))
      selectedPerson = k;
  }
  if (selectedPerson != 0) {
    const PersonRecord& p = stageEntries[selectedPerson];
    frame::DrawBox(18, 162, 108, 72, kWhite);
    frame::DrawString(18, 162, Format("名:%s", p.name), kBlack);
    frame::DrawString(18, 180, Format("抵抗力:%d%%", PerFull(p.hp * 100, p.maxHp)), kBlack);
    frame::DrawString(18, 198, Format("惨殺力:%d", p.slaughter), kBlack);
    frame::DrawString(18, 216, Format("度胸力:%d", p.courage), kBlack);
  }
  if (turn >= 0 && turn < 3) {  // the player's turns
    double s = std::sin(frame::frameStart * 3.141592653 / 180 * 0.25);
    for (int i = 0; i < 16; ++i) {
      int x = 166 + 128 * turn + i;
      frame::DrawLine(x, static_cast<int>(432 - s * (17 - i) * 0.5), x,
                      static_cast<int>(432 + s * (17 - i) * 0.5), kWhite);
    }
    frame::DrawString(18, 9, Format("%sのターンですが", squad[zombieColumns[turn]].name), kBlack);
  }
  frame::DrawBox(18, 54, 108, 90, kWhite);
  // The buttons act on the active column, also in the frames drawn under a message
  // (introduction, people's turns, end of stage). A click cannot reach them there: the
  // frame before each of those consumed the press (the message's click or a command).
  int c = turn % 3;
  bool usable = CommandsUsable(c);
  plat::Colour colour = usable ? kBlack : kGrey;
  frame::buttonsEnabled = usable;
  if (frame::TextButton(18, 54, Format("脅かし:%d%%", ScareChance(c)), colour)) Scare(c);
  if (frame::TextButton(18, 72, "弱攻撃", colour)) Attack(c, 1);
  if (frame::TextButton(18, 90, "強攻撃", colour)) Attack(c, 2);
  frame::buttonsEnabled = 1;
  if (frame::TextButton(18, 108, "交代", kBlack)) Swap(c);
  if (frame::TextButton(18, 126, "パス", kBlack)) Pass();
}

void BattleStep() {
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) {
    DrawField();
    DrawPanel();
    MarkCue(Cue::Lost);
    frame::gameState = Story;
    return;
  }
  if (frame::KeyHit(0x51, frame::hold) && frame::KeyHit(0x4A, frame::hold) &&
      frame::KeyHit(0x4B, frame::edge)) {
    DrawField();
    DrawPanel();
    MarkCue(Cue::Won);
    frame::gameState = StageWon;
    return;
  }
  if (turn == 7) {
    DrawField();
    DrawPanel();
    ShowMessage(Format("ゾンビ群VS%s", chapterTitle));
    turn = -1;
    NextTurn();
    return;
  }
  if (turn == 6) turn = 0;
  if (personColumns[0] == EMPTY_COLUMN && personColumns[1] == EMPTY_COLUMN &&
      personColumns[2] == EMPTY_COLUMN) {
    DrawField();
    DrawPanel();
    frame::gameState = StageWon;
    ShowMessage("人々を全て追い返した!");
    MarkCue(Cue::Won);
    return;
  }
  for (int c = 0; c < 3; ++c) {
    const PersonRecord& p = stageEntries[personColumns[c]];
    if (p.hp <= 0 && p.isProtected) {
      DrawField();
      DrawPanel();
      frame::gameState = Story;
      ShowMessage("誤って人々を本当に殺してしまった…");
      MarkCue(Cue::Lost);
      return;
    }
  }
  if (turn < 3) {
    frame::buttonsEnabled = 1;
    DrawField();
    DrawPanel();
    return;
  }
  if (turn == 3) {
    for (int i = 0; i < 3; ++i) {
      ZombieRecord& z = squad[reserve[i]];
      int healed = z.hp + z.maxHp / 4;
      z.hp = healed < z.maxHp ? healed : z.maxHp;
    }
  }
  int c = turn - 3;
  if (personColumns[c] != EMPTY_COLUMN) {
    PersonRecord& p = stageEntries[personColumns[c]];
    ZombieRecord& z = squad[zombieColumns[c]];
    p.row += 1;
    DrawField();
    DrawPanel();
    int damage = Vary(p.slaughter);
    z.hp -= damage;
    ShowMessage(Format("%sは%sに攻撃した:-%d", p.name, z.name, damage));
    MarkCue(Cue::Struck);
    if (p.row == 6) {
      frame::gameState = Story;
      ShowMessage("人々が遂にここに来てしまった…");
      MarkCue(Cue::Lost);
    }
  }
  NextTurn();
}

}  // namespace zombie
