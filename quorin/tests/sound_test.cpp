// Sound cues: which moments mark which clip, and that sound changes nothing drawn.
#include <string>
#include <vector>
#include "quorin/tests/harness.h"

namespace quorintest {
namespace {

using namespace quorin;

std::vector<std::string> sent;
void Record(const char* command) { sent.push_back(command); }

uint64_t Hash(const plat::Surface& s) {
  uint64_t h = 1469598103934665603ull;
  for (plat::Colour c : s.pixels) h = (h ^ c) * 1099511628211ull;
  return h;
}

TEST_F(QuorinTest, EachMomentOfTheGameSendsItsClipAfterTheFrame) {
  sent.clear();
  plat::mediaSink = Record;
  cues.Open();
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[0], "open data\\level.wav alias level");
  sent.clear();

  frame::gameState = Title;
  ClickTitle();
  EXPECT_EQ(sent, std::vector<std::string>{"play level from 0"});
  sent.clear();

  FlattenGround(16);
  EXPECT_EQ(PlayUntilPhase(Rising), 92);
  EXPECT_EQ(sent, std::vector<std::string>{"play touchdown from 0"});
  sent.clear();
  PlayLevel();
  EXPECT_EQ(sent, std::vector<std::string>{"play level from 0"});
  sent.clear();

  FlattenGround(17);
  PlayUntilPhase(Rising);
  EXPECT_EQ(sent, std::vector<std::string>{"play crash from 0"});
  PlayLevel();
  sent.clear();

  FlattenGround(32);
  PlayLevel();
  EXPECT_EQ(sent, (std::vector<std::string>{"play crash from 0", "play gameover from 0"}));
}

TEST_F(QuorinTest, PicturesAndStateAreTheSameWithSoundOnOrOff) {
  std::vector<uint64_t> runs[2];
  for (int run = 0; run < 2; ++run) {
    plat::mediaSink = run == 0 ? nullptr : Record;
    frame::SeedRandom(777);
    ResetGame();
    frame::gameState = Playing;
    HoldKeys({plat::VK_LEFT});
    for (int i = 0; i < 400; ++i) {
      Step();
      runs[run].push_back(Hash(frame::backDC) ^ static_cast<uint64_t>(life) << 40 ^ frame::randomState);
    }
  }
  EXPECT_EQ(runs[0], runs[1]);
}

}  // namespace
}  // namespace quorintest
