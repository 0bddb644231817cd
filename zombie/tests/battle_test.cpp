// The battle: the turn cycle, the commands and their formulas, winning and losing.
#include <cstring>
#include "zombie/tests/test_support.h"

namespace {

using namespace ztest;
using namespace zombie;

class Battle : public StageTest {
 protected:
  // Column 0's person and zombie, at the player's turn for column 0.
  PersonRecord& P() { return stageEntries[personColumns[0]]; }
  ZombieRecord& Z() { return squad[zombieColumns[0]]; }
  void AtTurn(int t) {
    turn = t;
    frame::gameState = zombie::Battle;
  }
};

TEST_F(Battle, IntroductionNamesTheChapterAndStartsAtTurnZero) {
  std::strcpy(chapterTitle, "T1");
  ASSERT_EQ(turn, 7);
  BattleStep();
  EXPECT_STREQ(textBuffer, "ゾンビ群VST1");
  EXPECT_EQ(frame::gameState, Waiting);
  EXPECT_EQ(returnState, zombie::Battle);
  EXPECT_EQ(turn, 0);
  EXPECT_EQ(selectedZombie, zombieColumns[0]);
}

TEST_F(Battle, ScareChanceTruncatesTheDivisionTowardZero) {
  AtTurn(0);
  Z().panic = 50;
  P().courage = 7;
  P().hp = 5;
  P().maxHp = 3;
  EXPECT_EQ(ScareChance(0), 50 - 11);  // 35 / 3
  P().hp = -5;
  EXPECT_EQ(ScareChance(0), 50 + 11);  // -35 / 3 truncates to -11
  personColumns[0] = EMPTY_COLUMN;      // the placeholder's values are shown
  EXPECT_EQ(ScareChance(0), 50 - 50);
}

TEST_F(Battle, ScareSucceedsBelowTheChanceAndBringsTheNextPersonOn) {
  AtTurn(0);
  Lcg r{frame::randomState};
  int roll = r.Below(100);
  P().courage = 0;
  Z().panic = roll + 1;
  Scare(0);
  EXPECT_STREQ(textBuffer, "P1は逃げ出した!");
  EXPECT_EQ(nextSlot, 4);
  EXPECT_EQ(personColumns[0], 4);
  EXPECT_EQ(turn, 1);
  EXPECT_EQ(frame::gameState, Waiting);

  frame::gameState = zombie::Battle;  // column 1 holds the protected P2
  Lcg r2{frame::randomState};
  roll = r2.Below(100);
  squad[zombieColumns[1]].panic = roll;  // chance equal to the roll fails
  stageEntries[personColumns[1]].courage = 0;
  Scare(1);
  EXPECT_STREQ(textBuffer, "しかし、P2は逃げ出さない!");
  EXPECT_EQ(personColumns[1], 2);
  EXPECT_EQ(turn, 2);
}

TEST_F(Battle, ScareNeverWorksAtZeroAndAlwaysAtOneHundred) {
  P().courage = 0;
  for (int i = 0; i < 200; ++i) {
    AtTurn(0);
    Z().panic = 0;
    Scare(0);
    ASSERT_EQ(personColumns[0], 1);
  }
  AtTurn(0);
  Z().panic = 100;
  Scare(0);
  EXPECT_EQ(personColumns[0], 4);
  AtTurn(1);  // protected people can be scared away without penalty
  squad[zombieColumns[1]].panic = 100;
  stageEntries[2].courage = 0;
  Scare(1);
  EXPECT_EQ(personColumns[1], EMPTY_COLUMN);  // slot 5 is empty
  EXPECT_EQ(nextSlot, 5);
}

TEST_F(Battle, AttacksDealVariedDamageAndReportThePercentage) {
  for (int k = 1; k <= 2; ++k) {
    AtTurn(0);
    Z().slaughter = 21;
    P().hp = 90;
    P().maxHp = 90;
    Lcg r{frame::randomState};
    int damage = r.Vary(21) * k;
    Attack(0, k);
    EXPECT_EQ(stageEntries[1].hp, 90 - damage);
    char expected[128];
    std::snprintf(expected, sizeof expected, "%sはP1に攻撃した:-%d%%", squad[1].name, damage * 100 / 90 + 1);
    EXPECT_STREQ(textBuffer, expected);
    EXPECT_EQ(personColumns[0], 1);
    EXPECT_EQ(turn, 1);
  }
}

TEST_F(Battle, BeatingAnOrdinaryPersonToZeroRemovesIt) {
  AtTurn(0);
  Lcg r{frame::randomState};
  P().hp = r.Vary(Z().slaughter);  // exactly zero after the blow
  Attack(0, 1);
  EXPECT_EQ(stageEntries[1].hp, 0);
  EXPECT_EQ(personColumns[0], 4);
  EXPECT_EQ(nextSlot, 4);
}

TEST_F(Battle, BeatingAProtectedPersonLosesAfterTheMessage) {
  AtTurn(1);
  stageEntries[2].hp = 1;
  Attack(1, 2);
  EXPECT_LE(stageEntries[2].hp, 0);
  EXPECT_EQ(personColumns[1], 2);  // stays in its column
  EXPECT_EQ(frame::gameState, Waiting);
  EXPECT_EQ(returnState, zombie::Battle);
  frame::gameState = returnState;  // the message is clicked away
  BattleStep();
  EXPECT_EQ(frame::gameState, Waiting);
  EXPECT_EQ(returnState, Story);
}

TEST_F(Battle, RemovingWithAnEmptyQueueSlotLeavesTheColumnEmpty) {
  nextSlot = 4;  // slot 5 is 0
  RemovePerson(2);
  EXPECT_EQ(personColumns[2], EMPTY_COLUMN);
  EXPECT_EQ(nextSlot, 5);
  RemovePerson(0);  // slot 6 names P5
  EXPECT_EQ(personColumns[0], 6);
  nextSlot = 12;
  RemovePerson(0);  // past the last slot
  EXPECT_EQ(personColumns[0], EMPTY_COLUMN);
}

TEST_F(Battle, SwapRotatesTheReserveQueueAndPassOnlyMovesOn) {
  AtTurn(1);
  Swap(1);
  EXPECT_EQ(zombieColumns[1], 4);
  EXPECT_EQ(reserve[0], 5);
  EXPECT_EQ(reserve[1], 6);
  EXPECT_EQ(reserve[2], 2);
  EXPECT_EQ(turn, 2);
  EXPECT_EQ(selectedZombie, zombieColumns[2]);
  uint32_t state = frame::randomState;
  Pass();
  EXPECT_EQ(turn, 3);
  EXPECT_EQ(frame::randomState, state);
  EXPECT_EQ(frame::gameState, zombie::Battle);
}

TEST_F(Battle, ButtonsOfScareAndAttacksNeedAPersonAndAnAbleZombie) {
  AtTurn(0);
  EXPECT_TRUE(CommandsUsable(0));
  Z().hp = 0;
  EXPECT_FALSE(CommandsUsable(0));
  Z().hp = 1;
  personColumns[0] = EMPTY_COLUMN;
  EXPECT_FALSE(CommandsUsable(0));
}

TEST_F(Battle, ClicksCarryOutOneCommandAndOnlyWhenEnabled) {
  AtTurn(0);
  Z().hp = 0;
  int hp = P().hp;
  PressOn(18, 72, 6);  // 弱攻撃, disabled
  BattleStep();
  EXPECT_EQ(P().hp, hp);
  EXPECT_EQ(turn, 0);
  EXPECT_EQ(frame::clickArmed[0], 1);  // a disabled button leaves the latch alone
  PressOn(18, 126, 4);                 // パス
  BattleStep();
  EXPECT_EQ(turn, 1);
  PressOn(18, 108, 4);  // still held, now on 交代: the shared latch is used up
  BattleStep();
  EXPECT_EQ(turn, 1);
  EXPECT_EQ(zombieColumns[1], 2);
  Release();
  frame::mouseX = frame::mouseY = 0;
  BattleStep();  // released away from the buttons: nothing sees it up
  PressOn(18, 108, 4);
  BattleStep();
  EXPECT_EQ(zombieColumns[1], 2);
  Release();
  BattleStep();  // released over an enabled button: the latch re-arms
  PressOn(18, 108, 4);
  BattleStep();
  EXPECT_EQ(zombieColumns[1], 4);
  EXPECT_EQ(turn, 2);
}

TEST_F(Battle, ClickingANameSelectsWithoutUsingTheTurn) {
  AtTurn(0);
  PressOn(18, 420, 4);  // the second reserve zombie's line
  BattleStep();
  EXPECT_EQ(selectedZombie, reserve[1]);
  EXPECT_EQ(turn, 0);
  Release();
  BattleStep();
  frame::clickArmed[0] = 1;
  PressOn(532, 20 + 20 * (6 - nextSlot), 2);  // P5 in the waiting list (slot 6)
  BattleStep();
  EXPECT_EQ(selectedPerson, 6);
  EXPECT_EQ(turn, 0);
}

TEST_F(Battle, ThePressOfTheLastCommandDoesNotActInThePeoplesTurn) {
  AtTurn(2);
  PressOn(18, 126, 4);  // パス, held on into the people's first turn
  BattleStep();
  EXPECT_EQ(turn, 3);
  EXPECT_EQ(frame::buttonsEnabled, 1);
  BattleStep();
  EXPECT_EQ(stageEntries[1].row, 1);
  EXPECT_EQ(turn, 4);
  EXPECT_EQ(frame::gameState, Waiting);
  EXPECT_EQ(returnState, zombie::Battle);
}

TEST_F(Battle, AFullResistanceVariedToZeroCountsAsOne) {
  templates[1].hp = 1;  // Vary(1) is 0 or 1
  for (int tries = 0; stageEntries[1].maxHp != 0; ++tries) {
    ASSERT_LT(tries, 100);
    LoadStage();
  }
  AtTurn(0);
  Z().panic = 60;
  P().courage = 40;
  EXPECT_EQ(ScareChance(0), 60);
  BattleStep();  // the panel shows the person's share of resistance
  EXPECT_EQ(turn, 0);
  Z().slaughter = 10;
  Lcg r{frame::randomState};
  int damage = r.Vary(10);
  Attack(0, 1);
  char expected[128];
  std::snprintf(expected, sizeof expected, "%sはP1に攻撃した:-%d%%", Z().name, damage * 100 + 1);
  EXPECT_STREQ(textBuffer, expected);
  EXPECT_EQ(personColumns[0], 4);
}

TEST_F(Battle, PeopleAdvanceAndStrikeInTheirTurns) {
  AtTurn(6);  // wraps to 0: the player's turn, nothing happens by itself
  BattleStep();
  EXPECT_EQ(turn, 0);
  AtTurn(3);
  int hp = Z().hp;
  Lcg r{frame::randomState};
  int damage = r.Vary(P().slaughter);
  BattleStep();
  EXPECT_EQ(stageEntries[1].row, 1);
  EXPECT_EQ(squad[1].hp, hp - damage);
  char expected[128];
  std::snprintf(expected, sizeof expected, "P1は%sに攻撃した:-%d", squad[1].name, damage);
  EXPECT_STREQ(textBuffer, expected);
  EXPECT_EQ(frame::gameState, Waiting);
  EXPECT_EQ(returnState, zombie::Battle);
  EXPECT_EQ(turn, 4);
}

TEST_F(Battle, AnEmptyColumnIsPassedOverInThePeoplesTurn) {
  AtTurn(4);
  personColumns[1] = EMPTY_COLUMN;
  uint32_t state = frame::randomState;
  BattleStep();
  EXPECT_EQ(turn, 5);
  EXPECT_EQ(frame::gameState, zombie::Battle);
  EXPECT_EQ(frame::randomState, state);
}

TEST_F(Battle, APersonReachingRowSixLosesTheStageInItsSixthTurn) {
  for (int cycle = 1; cycle <= 6; ++cycle) {
    AtTurn(3);
    BattleStep();
    ASSERT_EQ(stageEntries[1].row, cycle);
    EXPECT_EQ(returnState, cycle < 6 ? zombie::Battle : Story) << "cycle " << cycle;
    EXPECT_EQ(frame::gameState, Waiting);
  }
}

// The command buttons are enabled by their flag alone, also in the frames drawn under a
// message. A command there would show a second message and leave the first one waiting
// on itself for ever; random pressing over the buttons must never get there.
TEST_F(Battle, RandomClicksNeverLeaveAMessageWaitingOnItself) {
  const int targets[][2] = {{45, 63},  {45, 81},   {45, 99},  {36, 117}, {36, 135},
                            {40, 409}, {220, 433}, {220, 49}, {540, 49}, {600, 470}};
  Lcg input = Lcg::Seeded(7);
  int battleFrames = 0;
  for (int f = 0; f < 30000; ++f) {
    if (input.Below(3) == 0) frame::mouseDown[0] = !frame::mouseDown[0];
    if (input.Below(2) == 0) {
      const int* t = targets[input.Below(10)];
      frame::mouseX = t[0];
      frame::mouseY = t[1];
    }
    battleFrames += frame::gameState == zombie::Battle;
    Step();
    ASSERT_FALSE(frame::gameState == Waiting && returnState == Waiting) << "frame " << f;
    ASSERT_NE(frame::gameState, Quit);
  }
  EXPECT_GT(battleFrames, 3000);
}

TEST_F(Battle, ReserveZombiesHealAQuarterAtTurnThree) {
  squad[4].hp = 0;
  squad[4].maxHp = 103;
  squad[5].hp = 95;
  squad[5].maxHp = 100;
  AtTurn(4);
  BattleStep();
  EXPECT_EQ(squad[4].hp, 0);
  AtTurn(3);
  BattleStep();
  EXPECT_EQ(squad[4].hp, 25);  // 103 / 4 truncated
  EXPECT_EQ(squad[5].hp, 100);
  AtTurn(3);
  BattleStep();
  EXPECT_EQ(squad[4].hp, 50);
}

TEST_F(Battle, TheStageIsWonWhenAllColumnsAreEmpty) {
  AtTurn(1);
  personColumns[0] = personColumns[1] = personColumns[2] = EMPTY_COLUMN;
  BattleStep();
  EXPECT_EQ(frame::gameState, Waiting);
  EXPECT_EQ(returnState, StageWon);
}

TEST_F(Battle, EscapeAbandonsTheStage) {
  AtTurn(0);
  OpenWithKeys("1 down escape\n");
  frame::keyLatch[plat::VK_ESCAPE] = 1;
  BattleStep();
  EXPECT_EQ(frame::gameState, Story);
}

TEST_F(Battle, TheStageSkipChordWinsTheStage) {
  AtTurn(0);
  OpenWithKeys("1 down q\n1 down j\n");
  frame::keyLatch['K'] = 1;
  BattleStep();  // Q and J alone do nothing
  EXPECT_EQ(frame::gameState, zombie::Battle);
  OpenWithKeys("1 down j\n1 down k\n");
  BattleStep();  // without Q
  EXPECT_EQ(frame::gameState, zombie::Battle);
  OpenWithKeys("1 down q\n1 down j\n1 down k\n");
  BattleStep();
  EXPECT_EQ(frame::gameState, StageWon);
}

}  // namespace

namespace {

using namespace ztest;
using namespace zombie;

TEST_F(StageTest, FieldLayoutLanesMarksAndSprites) {
  stageEntries[2].row = 2;  // the protected P2
  DrawField();
  const plat::Surface& back = frame::backDC;
  const plat::Surface& chara = frame::dcTable[4];
  for (int c = 0; c < 3; ++c) {
    int x0 = 128 * c;
    EXPECT_EQ(back.At(192 + x0, 100), 0xFFFFFFu) << "lane " << c;
    EXPECT_NE(back.At(192 + x0, 432), 0xFFFFFFu) << "the lane's end point is left out";
    EXPECT_EQ(back.At(188 + x0, 236), 0xFFFFFFu) << "row mark 3";
    EXPECT_EQ(back.At(195 + x0, 243), 0xFFFFFFu);
    EXPECT_NE(back.At(196 + x0, 243), 0xFFFFFFu);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(back.At(184 + x0 + i, 424 + i), chara.At(i, i)) << "zombie";
  }
  for (int i = 0; i < 16; ++i) {
    ASSERT_EQ(back.At(184 + 128 + i, 168 + i), chara.At(16 + i, i)) << "protected person at row 2";
    ASSERT_EQ(back.At(184 + i, 40 + i), chara.At(32 + i, i)) << "ordinary person at row 0";
  }
  EXPECT_EQ(back.At(18, 9), 0xFFFFFFu);  // the message line
  EXPECT_EQ(back.At(337, 26), 0xFFFFFFu);
  EXPECT_NE(back.At(338, 26), 0xFFFFFFu);
}

}  // namespace
