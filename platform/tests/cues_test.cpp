// The cue table: clips opened in table order, each marked cue played once per step in
// index order, whatever order and how often the rules marked it.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "platform/cues.h"
#include "platform/system.h"

namespace {

std::vector<std::string> sent;
void Record(const char* command) { sent.push_back(command); }

constexpr plat::Cue kCues[] = {
    {"start", "data\\start.wav"},
    {"hit", "data\\hit.wav"},
    {"my clip", "data\\my clip.wav"},
    {"end", "data\\end.wav"},
};

class CueTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sent.clear();
    plat::mediaSink = Record;
  }
  void TearDown() override { plat::mediaSink = plat::SoundCommand; }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(sent);
    return out;
  }
  using V = std::vector<std::string>;
  plat::CueTable table{kCues, 4};
};

TEST_F(CueTableTest, OpensEveryClipInTableOrderQuotingFilesWithSpaces) {
  table.Open();
  EXPECT_EQ(Take(), (V{"open data\\start.wav alias start", "open data\\hit.wav alias hit",
                       "open \"data\\my clip.wav\" alias my clip", "open data\\end.wav alias end"}));
}

TEST_F(CueTableTest, SendsEachMarkedCueOnceInIndexOrderThenClears) {
  table.Send();
  EXPECT_TRUE(Take().empty());

  table.Mark(3);
  table.Mark(1);
  table.Mark(3);
  table.Mark(1);
  table.Mark(0);
  table.Send();
  EXPECT_EQ(Take(), (V{"play start from 0", "play hit from 0", "play end from 0"}));
  EXPECT_EQ(table.marked, 0u);
  table.Send();
  EXPECT_TRUE(Take().empty());

  // Marks outside the table are ignored rather than setting a bit of no clip.
  table.Mark(-1);
  table.Mark(4);
  table.Mark(31);
  table.Mark(32);
  EXPECT_EQ(table.marked, 0u);
  table.Send();
  EXPECT_TRUE(Take().empty());
}

TEST_F(CueTableTest, ANullSinkDropsCommandsAndTheMarksStillClear) {
  plat::mediaSink = nullptr;
  table.Open();
  table.Mark(2);
  table.Send();
  EXPECT_EQ(table.marked, 0u);
  plat::mediaSink = Record;
  table.Send();
  EXPECT_TRUE(Take().empty());
}

TEST_F(CueTableTest, ACommandTooLongForTheBufferIsDroppedNotCut) {
  const std::string longAlias(700, 'a');
  const plat::Cue cues[] = {{"ok", "data\\ok.wav"}, {longAlias.c_str(), "data\\x.wav"}};
  plat::CueTable t{cues, 2};
  t.Open();
  EXPECT_EQ(Take(), (V{"open data\\ok.wav alias ok"}));
  t.Mark(0);
  t.Mark(1);
  t.Send();
  EXPECT_EQ(Take(), (V{"play ok from 0"}));
}

TEST_F(CueTableTest, OnlyTheFirst32CuesOfALongerTableAreUsed) {
  std::vector<std::string> names;
  // Built by append: GCC 12 at -O3 warns falsely (-Wrestrict) on "c" + std::string.
  for (int i = 0; i < 40; ++i) names.push_back(std::string("c").append(std::to_string(i)));
  std::vector<plat::Cue> cues;
  for (const std::string& n : names) cues.push_back({n.c_str(), "f.wav"});
  plat::CueTable t{cues.data(), 40};
  t.Open();
  EXPECT_EQ(Take().size(), 32u);
  for (int i = 0; i < 40; ++i) t.Mark(i);
  t.Send();
  const V plays = Take();
  ASSERT_EQ(plays.size(), 32u);
  EXPECT_EQ(plays.front(), "play c0 from 0");
  EXPECT_EQ(plays.back(), "play c31 from 0");
}

}  // namespace
