// The sound cues: the clips opened at start-up exist as gentle, short wav files, and each
// game event asks for its own clip.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "zombie/tests/test_support.h"

namespace {

using namespace ztest;
using namespace zombie;

std::vector<std::string> sent;
void Record(const char* command) { sent.push_back(command); }

uint32_t Le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
  return v;
}

// Checks data/NAME.wav as the game ships it: 22050 Hz mono 16-bit PCM, 0.05 to 0.8 s,
// a gentle peak, silent at both ends.
void CheckClip(const std::string& name) {
  std::ifstream in("data/" + name + ".wav", std::ios::binary);
  ASSERT_TRUE(in) << name << ".wav is missing";
  std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(s.size(), 44u) << name;
  EXPECT_EQ(s.substr(0, 4), "RIFF");
  EXPECT_EQ(Le(s, 20, 2), 1u) << name;  // PCM
  EXPECT_EQ(Le(s, 22, 2), 1u) << name;  // mono
  EXPECT_EQ(Le(s, 24, 4), 22050u) << name;
  EXPECT_EQ(Le(s, 34, 2), 16u) << name;
  size_t count = (s.size() - 44) / 2;
  EXPECT_GE(count, 22050u / 20) << name;
  EXPECT_LE(count, 22050u * 8 / 10 + 1) << name;
  int peak = 0;
  for (size_t i = 0; i < count; ++i) {
    int v = static_cast<int16_t>(Le(s, 44 + 2 * i, 2));
    peak = std::max(peak, std::abs(v));
  }
  EXPECT_GE(peak, 32767 / 4) << name;
  EXPECT_LE(peak, 32767 * 45 / 100) << name;
  EXPECT_LT(std::abs(static_cast<int16_t>(Le(s, 44, 2))), 64) << name;
  EXPECT_LT(std::abs(static_cast<int16_t>(Le(s, 44 + 2 * (count - 1), 2))), 64) << name;
}

class SoundCues : public StageTest {
 protected:
  void SetUp() override {
    StageTest::SetUp();
    sent.clear();
    soundCues.marked = 0;  // cues left marked by rules run in other tests
    plat::mediaSink = Record;
  }
  void TearDown() override {
    plat::mediaSink = plat::SoundCommand;
    StageTest::TearDown();
  }
  // The commands sent since the last call, with the cues still marked sent first (as
  // after a step).
  std::vector<std::string> Take() {
    soundCues.Send();
    std::vector<std::string> out;
    out.swap(sent);
    return out;
  }
  using V = std::vector<std::string>;
};

TEST(SoundClips, StartUpOpensEveryClipAfterTheDataCheckAndTheFilesAreGentle) {
  // The build folder's data: the shipped files pass the check.
  ztest::OpenWithKeys("");
  sent.clear();
  plat::mediaSink = Record;
  StartUp();
  plat::mediaSink = plat::SoundCommand;
  plat::CloseSystem();
  ASSERT_EQ(sent.size(), static_cast<size_t>(Cue::Count));
  for (size_t i = 0; i < sent.size(); ++i) {
    const std::string& c = sent[i];
    ASSERT_EQ(c.rfind("open data\\", 0), 0u) << c;
    size_t dot = c.find(".wav alias ");
    ASSERT_NE(dot, std::string::npos) << c;
    std::string file = c.substr(10, dot - 10), alias = c.substr(dot + 11);
    EXPECT_EQ(file, alias) << c;
    for (size_t j = 0; j < i; ++j) EXPECT_NE(sent[j], c);
    CheckClip(file);
  }
}

TEST_F(SoundCues, EachEventPlaysItsClip) {
  frame::gameState = zombie::Battle;
  turn = 0;
  squad[zombieColumns[0]].panic = 100;
  stageEntries[personColumns[0]].courage = 0;
  Scare(0);  // succeeds: the person runs off
  EXPECT_EQ(Take(), (V{"play scare from 0", "play leave from 0"}));
  squad[zombieColumns[1]].panic = 0;
  Scare(1);  // fails
  EXPECT_EQ(Take(), (V{"play scare from 0"}));

  squad[zombieColumns[2]].slaughter = 1;
  Attack(2, 1);  // P3 stays
  EXPECT_EQ(Take(), (V{"play weak from 0"}));
  stageEntries[personColumns[0]].hp = 1;
  Attack(0, 2);  // beaten off
  EXPECT_EQ(Take(), (V{"play strong from 0", "play leave from 0"}));
  squad[zombieColumns[1]].slaughter = 1000;
  Attack(1, 1);  // the protected P2 at 0 stays on the field
  EXPECT_EQ(Take(), (V{"play weak from 0"}));
  Swap(2);
  EXPECT_EQ(Take(), (V{"play swap from 0"}));
  Pass();
  EXPECT_EQ(Take(), (V{"play pass from 0"}));

  // The message is clicked away; then the killed protected person loses the stage.
  frame::gameState = Waiting;
  returnState = zombie::Battle;
  turn = 0;
  frame::mouseDown[0] = 1;
  Step();
  frame::mouseDown[0] = 0;
  EXPECT_EQ(Take(), (V{"play click from 0"}));
  Step();
  EXPECT_EQ(frame::gameState, Waiting);
  EXPECT_EQ(returnState, Story);
  EXPECT_EQ(Take(), (V{"play lost from 0"}));
}

TEST_F(SoundCues, PeopleStrikeAndTheStageEnds) {
  frame::gameState = zombie::Battle;
  turn = 3;
  BattleStep();  // P1 steps down and strikes
  EXPECT_EQ(Take(), (V{"play struck from 0"}));
  frame::gameState = zombie::Battle;
  turn = 4;
  stageEntries[personColumns[1]].row = 5;
  BattleStep();  // P2 reaches the zombies
  EXPECT_EQ(Take(), (V{"play struck from 0", "play lost from 0"}));

  frame::gameState = zombie::Battle;
  turn = 0;
  personColumns[0] = personColumns[1] = personColumns[2] = EMPTY_COLUMN;
  BattleStep();
  EXPECT_EQ(Take(), (V{"play won from 0"}));

  // Story pages go on with a page turn.
  frame::gameState = StoryWait;
  frame::clickArmed[0] = 1;
  frame::mouseDown[0] = 1;
  Step();
  frame::mouseDown[0] = 0;
  EXPECT_EQ(frame::gameState, SetUpStage);
  EXPECT_EQ(Take(), (V{"play page from 0"}));
}

}  // namespace
