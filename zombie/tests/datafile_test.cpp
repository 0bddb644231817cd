// Faulty data files are found at start-up (or when read later) and reported with the
// file, the line and the problem; the program then ends with status 1.
#include "zombie/tests/test_support.h"

namespace {

using namespace ztest;
using namespace zombie;

class DataFiles : public ZombieTest {
 protected:
  void SetUp() override {
    ZombieTest::SetUp();
    data = new TempData(PlainPeople(), PlainStage(), PlainStory());
  }
  void TearDown() override {
    delete data;
    ZombieTest::TearDown();
  }
  // The people file with line `line` (1-based) replaced.
  std::string PeopleWith(int line, const std::string& text) {
    std::string s;
    for (int k = 1; k <= 16; ++k)
      s += (k == line ? text : std::string("100,10,50,0,P") + std::to_string(k)) + "\n";
    return s;
  }
  std::string PeopleError(const std::string& text) {
    data->Write("people.txt", text);
    char err[320] = "";
    PersonRecord people[17];
    EXPECT_FALSE(ReadPeople(kPeopleFile, people, err, sizeof err));
    return err;
  }
  std::string StageError(const std::string& text) {
    data->Write("stage.txt", text);
    char err[320] = "";
    EXPECT_FALSE(CheckStageFile(kStageFile, err, sizeof err));
    return err;
  }
  TempData* data = nullptr;
};

TEST_F(DataFiles, GoodFilesPass) {
  char err[320] = "";
  PersonRecord people[17];
  EXPECT_TRUE(ReadPeople(kPeopleFile, people, err, sizeof err)) << err;
  EXPECT_TRUE(CheckStageFile(kStageFile, err, sizeof err)) << err;
  EXPECT_TRUE(CheckStoryFile(kStoryFile, err, sizeof err)) << err;
  // Blank lines and carriage returns are tolerated; names keep their bytes.
  data->Write("people.txt", "\r\n" + PeopleWith(3, " 7 , 8 ,9,1, 名前\r"));
  EXPECT_TRUE(ReadPeople(kPeopleFile, people, err, sizeof err)) << err;
  EXPECT_EQ(people[3].hp, 7);
  EXPECT_EQ(people[3].courage, 9);
  EXPECT_EQ(people[3].isProtected, 1);
  EXPECT_STREQ(people[3].name, "名前");
  // The least resistance, negative strengths, any non-zero protected flag, and a
  // protected placeholder (it is never struck) are all playable.
  std::string text = PeopleWith(4, "1,-3,-9999,2,Weak");
  text.replace(text.rfind("100,10,50,0,P16"), 15, "9999,9999,9999,1,P16");
  data->Write("people.txt", text);
  EXPECT_TRUE(ReadPeople(kPeopleFile, people, err, sizeof err)) << err;
  EXPECT_EQ(people[4].hp, 1);
  EXPECT_EQ(people[4].slaughter, -3);
  EXPECT_EQ(people[4].courage, -9999);
  EXPECT_EQ(people[4].isProtected, 1);
  EXPECT_EQ(people[16].isProtected, 1);
  EXPECT_EQ(people[16].hp, 9999);
}

TEST_F(DataFiles, MissingFilesAreNamed) {
  data->Remove("people.txt");
  data->Remove("stage.txt");
  data->Remove("story.txt");
  char err[320] = "";
  PersonRecord people[17];
  EXPECT_FALSE(ReadPeople(kPeopleFile, people, err, sizeof err));
  EXPECT_TRUE(Contains(err, "data/people.txt: cannot open the file")) << err;
  EXPECT_FALSE(CheckStageFile(kStageFile, err, sizeof err));
  EXPECT_TRUE(Contains(err, "data/stage.txt: cannot open")) << err;
  EXPECT_FALSE(CheckStoryFile(kStoryFile, err, sizeof err));
  EXPECT_TRUE(Contains(err, "data/story.txt: cannot open")) << err;
}

TEST_F(DataFiles, PeopleRecordFaultsNameTheLine) {
  EXPECT_EQ(PeopleError(PeopleWith(3, "100,10,50")),
            "data/people.txt, line 3: too few fields: 3, expected 5 (hp,slaughter,courage,protected,name)");
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(4, "100,10,50,0")), "line 4: too few fields: 4"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(4, "100,10,50,0,")), "line 4: too few fields: 4"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(2, "100,ten,50,0,X")), "line 2: field 2 (slaughter) is not a number"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(5, "100;10,50,0,X")), "line 5: a comma is missing after field 1 (hp)"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(6, "100,10,50,0,ABCDEFGHIJKLMNOPQRSTUVWXYZ012345")),
                       "line 6: the name is 32 bytes long; at most 31 fit"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(7, "0,10,50,0,X")), "line 7: the resistance (hp) is 0"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(7, "-5,10,50,0,X")), "line 7: the resistance (hp) is -5"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(7, "10000,10,50,0,X")),
                       "line 7: the resistance (hp) is 10000; it must be from 1 to 9999"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(8, "100,10,-10000,0,X")),
                       "line 8: courage is -10000; it must be from -9999 to 9999"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(9, "100,10,50,0,X Y")), "line 9: unexpected text after the name"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(10, "100,10,1234567890,0,X")), "line 10: field 3 (courage) is not a number"));
  EXPECT_TRUE(Contains(PeopleError("5,1,1,0,A\n6,2,2,0,B\n"), "line 3: the file ends after 2 records; 16 are needed"));
  EXPECT_TRUE(Contains(PeopleError(PeopleWith(1, "100,10,50,0," + std::string(300, 'x'))),
                       "line 1: the line is longer than 255 bytes"));
}

TEST_F(DataFiles, StageLineFaultsNameTheLine) {
  const std::string good = "1,2,3,4,0,5,0,0,0,0,0,0\n";
  EXPECT_EQ(StageError(good + "1,2,3,4\n" + good + good + good),
            "data/stage.txt, line 2: too few fields: 4, expected 12");
  EXPECT_TRUE(Contains(StageError(good + good + "1,2,17,4,0,5,0,0,0,0,0,0\n" + good + good),
                       "line 3: slot 3 is 17; a template number is 1 to 16, or 0 for none"));
  EXPECT_TRUE(Contains(StageError(good + good + good + "1,-2,3,4,0,5,0,0,0,0,0,0\n" + good),
                       "line 4: slot 2 is -2"));
  EXPECT_TRUE(Contains(StageError(good + "1,0,3,4,0,5,0,0,0,0,0,0\n" + good + good + good),
                       "line 2: slot 2 is 0; slots 1 to 3 start on the field"));
  EXPECT_TRUE(Contains(StageError(good + good + good + good + "1,2,3,4,0,5,0,0,0,0,0,0,9\n"),
                       "line 5: unexpected text after slot 12"));
  EXPECT_TRUE(Contains(StageError("\n\n"), "data/stage.txt, line 1: the file holds no stage line"));
  // The line after the fifth is read when the last stage is won.
  EXPECT_TRUE(Contains(StageError(good + good + good + good + good + "1,2,3\n"), "line 6: too few fields: 3"));
  // Fewer lines than stages: the later stages repeat the last line.
  data->Write("stage.txt", good + good + good);
  char err[320] = "";
  EXPECT_TRUE(CheckStageFile(kStageFile, err, sizeof err)) << err;
}

TEST_F(DataFiles, OverlongStoryTokensAreReported) {
  data->Write("story.txt", "T0 a0 b0 c0\n" + std::string(100, 'T') + " a1\n");
  char err[320] = "";
  EXPECT_FALSE(CheckStoryFile(kStoryFile, err, sizeof err));
  EXPECT_STREQ(err, "data/story.txt, line 2: the title of chapter 1 is 100 bytes long; at most 99 fit");
  data->Write("story.txt", "T0 a0 b0 c0\nT1 a1\n\n" + std::string(200, 'b') + "\n");
  EXPECT_FALSE(CheckStoryFile(kStoryFile, err, sizeof err));
  EXPECT_STREQ(err, "data/story.txt, line 4: line 2 of chapter 1 is 200 bytes long; at most 199 fit");
  std::string rest;
  for (int i = 2; i <= 5; ++i) rest += " T a b c";
  data->Write("story.txt", "T0 a0 b0 c0\n" + std::string(99, 'T') + " " + std::string(199, 'a') +
                               " b1 c1" + rest);
  EXPECT_TRUE(CheckStoryFile(kStoryFile, err, sizeof err)) << err;
}

// A word past the bound is refused without reading the rest: a sparse file of 2.2 GB of
// NUL bytes once wrapped the length count and wrote before the buffer.
TEST_F(DataFiles, HugeStoryWordsStopAtTheBound) {
  std::filesystem::path story = data->Dir() / "data" / "story.txt";
  data->Write("story.txt", "T0 a0 b0 c0\n");
  std::filesystem::resize_file(story, 2200ULL * 1024 * 1024);
  char err[320] = "";
  EXPECT_FALSE(CheckStoryFile(kStoryFile, err, sizeof err));
  EXPECT_STREQ(err, "data/story.txt, line 2: a word is longer than 65536 bytes");
  char title[kTitleCap], lines[3][kLineCap];
  EXPECT_FALSE(ReadStory(kStoryFile, 2, title, lines, err, sizeof err)) << "while skipping";
  EXPECT_STREQ(err, "data/story.txt, line 2: a word is longer than 65536 bytes");
  EXPECT_FALSE(ReadStory(kStoryFile, 1, title, lines, err, sizeof err)) << "while reading";
  data->Write("story.txt", "T0 a0 b0 c0\n" + std::string(65537, 'x'));
  EXPECT_FALSE(CheckStoryFile(kStoryFile, err, sizeof err));
  EXPECT_STREQ(err, "data/story.txt, line 2: a word is longer than 65536 bytes");
}

TEST_F(DataFiles, StoryWithTooFewWordsIsReported) {
  char err[320] = "";
  for (const char* text : {"", "\n \n", "garbage", "T0 a0 b0 c0 T1 a1"}) {
    data->Write("story.txt", text);
    EXPECT_FALSE(CheckStoryFile(kStoryFile, err, sizeof err)) << text;
    EXPECT_TRUE(Contains(err, "data/story.txt: the file holds")) << err;
    EXPECT_TRUE(Contains(err, "the 6 story pages need 24")) << err;
  }
  std::string full;
  for (int i = 0; i < 24; ++i) full += "w ";
  data->Write("story.txt", full);
  EXPECT_TRUE(CheckStoryFile(kStoryFile, err, sizeof err)) << err;
}

TEST_F(DataFiles, ShortStoriesGiveEmptyLines) {
  data->Write("story.txt", "T0 a0 b0 c0 T1 a1");
  char title[kTitleCap], lines[3][kLineCap], err[320];
  ASSERT_TRUE(ReadStory(kStoryFile, 1, title, lines, err, sizeof err));
  EXPECT_STREQ(title, "T1");
  EXPECT_STREQ(lines[0], "a1");
  EXPECT_STREQ(lines[1], "");
  EXPECT_STREQ(lines[2], "");
  ASSERT_TRUE(ReadStory(kStoryFile, 4, title, lines, err, sizeof err));
  EXPECT_STREQ(title, "");
  EXPECT_STREQ(lines[0], "");
}

using DataFilesDeathTest = DataFiles;

TEST_F(DataFilesDeathTest, StartUpCheckStopsWithStatusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT({
    CheckData();
    std::exit(0);
  }, testing::ExitedWithCode(0), "") << "good files pass";
  data->Write("people.txt", PeopleWith(3, "100,10"));
  EXPECT_EXIT(CheckData(), testing::ExitedWithCode(1), "data/people.txt, line 3: too few fields");
  data->Write("people.txt", PlainPeople());
  data->Write("stage.txt", "1,2,3,4,0,5,0,0,0,0,0,0\n1,2,3,4,0,5,0,0,0,0,0,99\n");
  EXPECT_EXIT(CheckData(), testing::ExitedWithCode(1), "data/stage.txt, line 2: slot 12 is 99");
  data->Write("stage.txt", PlainStage());
  data->Remove("story.txt");
  EXPECT_EXIT(CheckData(), testing::ExitedWithCode(1), "data/story.txt: cannot open the file");
}

TEST_F(DataFilesDeathTest, AFileRemovedWhilePlayingEndsTheProgramCleanly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  data->Remove("people.txt");
  EXPECT_EXIT(InitGame(), testing::ExitedWithCode(1), "data/people.txt: cannot open the file");
  data->Write("people.txt", PlainPeople());
  InitGame();
  chapter = 1;
  // Emptied after the start-up check: the same message as at start-up, not a stage of
  // nameless people.
  for (const char* text : {"", "\n\n  \n"}) {
    data->Write("stage.txt", text);
    EXPECT_EXIT(LoadStage(), testing::ExitedWithCode(1),
                "data/stage.txt, line 1: the file holds no stage line");
  }
  data->Remove("stage.txt");
  EXPECT_EXIT(LoadStage(), testing::ExitedWithCode(1), "data/stage.txt: cannot open the file");
  data->Remove("story.txt");
  EXPECT_EXIT(ShowStory(1), testing::ExitedWithCode(1), "data/story.txt: cannot open the file");
}

}  // namespace
