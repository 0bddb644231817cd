// The squad generator, Vary and the stage set-up.
#include <cstring>
#include "zombie/tests/test_support.h"

namespace {

using namespace ztest;
using namespace zombie;

const char kCapitals[] = "BCDFGHJKLMNPQRSTVWXYZ";
const char kVowels[] = "aiueo";
const char kConsonants[] = "bcdfghklmnprsvt";

class Records : public ZombieTest {};

TEST_F(Records, SquadFollowsTheDrawOrderOfAKnownSeed) {
  TempData data(PlainPeople(), PlainStage(), PlainStory());
  frame::SeedRandom(20240);
  InitGame();
  Lcg r = Lcg::Seeded(20240);
  for (int m = 1; m <= 6; ++m) {
    const ZombieRecord& z = squad[m];
    int maxHp = r.Below(40) + 80;
    EXPECT_EQ(z.maxHp, maxHp);
    EXPECT_EQ(z.hp, maxHp);
    EXPECT_EQ(z.slaughter, r.Below(20) + 10);
    EXPECT_EQ(z.panic, r.Below(40) + 60);
    int length = r.Below(5) + 3;
    std::string name(1, kCapitals[r.Below(21)]);
    for (int j = 0; j < length; ++j) name += j % 2 == 0 ? kVowels[r.Below(5)] : kConsonants[r.Below(15)];
    EXPECT_EQ(std::string(z.name), name) << "member " << m;
  }
  EXPECT_EQ(frame::randomState, r.state);
  EXPECT_STREQ(templates[3].name, "P3");
  EXPECT_EQ(templates[2].isProtected, 1);
}

TEST_F(Records, NamesAndValuesStayInRangeGameAfterGame) {
  TempData data(PlainPeople(), PlainStage(), PlainStory());
  int shortest = 99, longest = 0;
  for (int game = 0; game < 300; ++game) {
    InitGame();
    for (int m = 1; m <= 6; ++m) {
      const ZombieRecord& z = squad[m];
      ASSERT_GE(z.maxHp, 80);
      ASSERT_LE(z.maxHp, 119);
      ASSERT_GE(z.slaughter, 10);
      ASSERT_LE(z.slaughter, 29);
      ASSERT_GE(z.panic, 60);
      ASSERT_LE(z.panic, 99);
      int n = static_cast<int>(std::strlen(z.name));
      ASSERT_GE(n, 4);
      ASSERT_LE(n, 8);
      shortest = std::min(shortest, n);
      longest = std::max(longest, n);
      ASSERT_NE(std::strchr(kCapitals, z.name[0]), nullptr) << z.name;
      for (int i = 1; i < n; ++i) {
        const char* set = i % 2 == 1 ? kVowels : kConsonants;
        ASSERT_NE(std::strchr(set, z.name[i]), nullptr) << z.name;
      }
    }
  }
  EXPECT_EQ(shortest, 4);
  EXPECT_EQ(longest, 8);
}

TEST_F(Records, VaryGivesSeventyFiveToOneHundredTwentyFourPercent) {
  Lcg r = Lcg::Seeded(1);
  int low = 999, high = 0;
  for (int i = 0; i < 3000; ++i) {
    int v = Vary(10);
    ASSERT_EQ(v, r.Vary(10));
    low = std::min(low, v);
    high = std::max(high, v);
  }
  EXPECT_EQ(low, 7);
  EXPECT_EQ(high, 12);
  low = 999, high = 0;
  for (int i = 0; i < 3000; ++i) {
    int v = Vary(100);
    low = std::min(low, v);
    high = std::max(high, v);
  }
  EXPECT_EQ(low, 75);
  EXPECT_EQ(high, 124);
  EXPECT_EQ(Vary(0), 0);
}

std::string NumberedStage() {
  std::string s;
  for (int line = 1; line <= 5; ++line)
    s += std::to_string(line) + ",6,7," + (line == 2 ? "0" : "8") + ",9,0,0,0,0,0,0,10\n";
  return s;
}

TEST_F(Records, LoadStageUsesTheChapterLineAndKeepsTheLastLineRead) {
  TempData data(PlainPeople(), NumberedStage(), PlainStory());
  InitGame();
  chapter = 3;
  LoadStage();
  EXPECT_EQ(stageSlots[1], 3);
  EXPECT_EQ(stageSlots[12], 10);
  EXPECT_STREQ(stageEntries[1].name, "P3");
  chapter = 6;  // after the last stage: the file has only five lines
  LoadStage();
  EXPECT_EQ(stageSlots[1], 5);
}

TEST_F(Records, EmptyQueueSlotsLeaveTheirEntryButClearPresent) {
  TempData data(PlainPeople(), NumberedStage(), PlainStory());
  InitGame();
  chapter = 1;
  LoadStage();
  EXPECT_EQ(stageEntries[4].present, 1);
  EXPECT_STREQ(stageEntries[4].name, "P8");
  chapter = 2;  // slot 4 is empty on line 2
  LoadStage();
  EXPECT_EQ(stageEntries[4].present, 0);
  EXPECT_STREQ(stageEntries[4].name, "P8");
  EXPECT_EQ(stageSlots[4], 0);
  EXPECT_EQ(stageEntries[6].present, 0);
}

TEST_F(Records, LoadStageSetsUpTheFieldAndDrawsFreshValues) {
  TempData data(PlainPeople(), PlainStage(), PlainStory());
  InitGame();
  chapter = 1;
  squad[1].hp = 3;
  squad[5].hp = -20;
  for (int round = 0; round < 2; ++round) {
    Lcg r{frame::randomState};
    LoadStage();
    for (int k = 1; k <= 12; ++k) {
      // Every entry is varied, present or not: three draws each, in this order.
      const PersonRecord& e = stageEntries[k];
      int hp = r.Vary(k <= 4 || k == 6 ? 100 : 0);
      int slaughter = r.Vary(k <= 4 || k == 6 ? 10 : 0);
      int courage = r.Vary(k <= 4 || k == 6 ? 50 : 0);
      if (k <= 4 || k == 6) {
        EXPECT_EQ(e.hp, hp) << "entry " << k;
        EXPECT_EQ(e.maxHp, hp);
        EXPECT_EQ(e.slaughter, slaughter);
        EXPECT_EQ(e.courage, courage);
        EXPECT_EQ(e.row, 0);
      }
    }
    EXPECT_EQ(frame::randomState, r.state);
  }
  EXPECT_EQ(squad[1].hp, squad[1].maxHp);
  EXPECT_EQ(squad[5].hp, squad[5].maxHp);
  EXPECT_EQ(nextSlot, 3);
  EXPECT_EQ(zombieColumns[0], 1);
  EXPECT_EQ(zombieColumns[2], 3);
  EXPECT_EQ(reserve[0], 4);
  EXPECT_EQ(reserve[2], 6);
  EXPECT_EQ(personColumns[1], 2);
  EXPECT_EQ(turn, 7);
  EXPECT_EQ(selectedZombie, 2);
  EXPECT_EQ(selectedPerson, 2);
  EXPECT_EQ(frame::gameState, Battle);
  EXPECT_STREQ(stageEntries[EMPTY_COLUMN].name, "P16");
  EXPECT_EQ(stageEntries[EMPTY_COLUMN].maxHp, 100);
}

}  // namespace
