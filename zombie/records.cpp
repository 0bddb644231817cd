// The squad, the people's templates and the set-up of a game and of a stage.
#include <cstring>
#include "frame/frame.h"
#include "zombie/zombie.h"

namespace zombie {

ZombieRecord squad[7];
PersonRecord templates[kTemplateCount + 1];
PersonRecord stageEntries[kTemplateCount + 1];
int stageSlots[kSlotCount + 1];
int zombieColumns[3];
int reserve[3];
int personColumns[3];
int nextSlot;
int chapter;
char chapterTitle[kTitleCap];
int turn;
int selectedZombie;
int selectedPerson;
int returnState;
char textBuffer[256];

void ResetGame() {
  std::memset(squad, 0, sizeof squad);
  std::memset(templates, 0, sizeof templates);
  std::memset(stageEntries, 0, sizeof stageEntries);
  std::memset(stageSlots, 0, sizeof stageSlots);
  std::memset(zombieColumns, 0, sizeof zombieColumns);
  std::memset(reserve, 0, sizeof reserve);
  std::memset(personColumns, 0, sizeof personColumns);
  nextSlot = 0;
  chapter = 0;
  std::memset(chapterTitle, 0, sizeof chapterTitle);
  turn = 0;
  selectedZombie = 0;
  selectedPerson = 0;
  returnState = 0;
  std::memset(textBuffer, 0, sizeof textBuffer);
}

int SlotAt(int k) { return k >= 1 && k <= kSlotCount ? stageSlots[k] : 0; }

int Vary(int v) { return v * (frame::RandomBelow(50) + 75) / 100; }

void MakeName(char* out) {
  static const char kCapitals[] = "BCDFGHJKLMNPQRSTVWXYZ";
  static const char kVowels[] = "aiueo";
  static const char kConsonants[] = "bcdfghklmnprsvt";
  int length = frame::RandomBelow(5) + 3;
  int n = 0;
  out[n++] = kCapitals[frame::RandomBelow(21)];
  for (int j = 0; j < length; ++j) {
    out[n++] = (j % 2 == 0) ? kVowels[frame::RandomBelow(5)] : kConsonants[frame::RandomBelow(15)];
  }
  out[n] = 0;
}

void InitGame() {
  char err[320];
  if (!ReadPeople(kPeopleFile, templates, err, sizeof err)) DataFault(err);
  for (int m = 1; m <= 6; ++m) {
    ZombieRecord& z = squad[m];
    z.maxHp = frame::RandomBelow(40) + 80;
    z.hp = z.maxHp;
    z.slaughter = frame::RandomBelow(20) + 10;
    z.panic = frame::RandomBelow(40) + 60;
    MakeName(z.name);
  }
}

void LoadStage() {
  for (int& s : stageSlots) s = 0;
  char err[320];
  if (!ReadStageLines(kStageFile, chapter, stageSlots, err, sizeof err)) DataFault(err);
  for (int k = 1; k <= kSlotCount; ++k) {
    PersonRecord& e = stageEntries[k];
    if (stageSlots[k] != 0) {
      e = templates[stageSlots[k]];
      e.row = 0;
      e.present = 1;
      e.maxHp = e.hp;
    } else {
      e.present = 0;
    }
  }
  stageEntries[EMPTY_COLUMN] = templates[EMPTY_COLUMN];
  stageEntries[EMPTY_COLUMN].maxHp = stageEntries[EMPTY_COLUMN].hp;
  nextSlot = 3;
  zombieColumns[0] = 1, zombieColumns[1] = 2, zombieColumns[2] = 3;
  personColumns[0] = 1, personColumns[1] = 2, personColumns[2] = 3;
  reserve[0] = 4, reserve[1] = 5, reserve[2] = 6;
  frame::gameState = Battle;
  for (int m = 1; m <= 6; ++m) squad[m].hp = squad[m].maxHp;
  for (int k = 1; k <= kSlotCount; ++k) {
    PersonRecord& e = stageEntries[k];
    e.hp = Vary(e.hp);
    e.maxHp = e.hp;
    e.slaughter = Vary(e.slaughter);
    e.courage = Vary(e.courage);
  }
  turn = 6;
  NextTurn();
}

}  // namespace zombie
