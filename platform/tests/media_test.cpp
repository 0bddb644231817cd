// Media command strings, the double-click rule and the window-to-picture mapping.
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>
#include "platform/common/internal.h"

namespace {

using plat::detail::MediaCommand;

MediaCommand ParseOk(const char* text) {
  MediaCommand c;
  EXPECT_TRUE(plat::detail::ParseMediaCommand(text, c)) << text;
  return c;
}

TEST(MediaCommand, Open) {
  MediaCommand c = ParseOk("open data\\out_m1.wav alias fan1");
  EXPECT_EQ(c.kind, MediaCommand::Open);
  EXPECT_STREQ(c.path, "data/out_m1.wav");
  EXPECT_STREQ(c.alias, "fan1");

  c = ParseOk("OPEN \"data\\my sound.wav\" Type waveaudio ALIAS Hit");
  EXPECT_EQ(c.kind, MediaCommand::Open);
  EXPECT_STREQ(c.path, "data/my sound.wav");
  EXPECT_STREQ(c.alias, "Hit");
}

TEST(MediaCommand, PlayStopClose) {
  MediaCommand c = ParseOk("play bass2 from 0");
  EXPECT_EQ(c.kind, MediaCommand::Play);
  EXPECT_STREQ(c.alias, "bass2");
  EXPECT_EQ(ParseOk("Play hit").kind, MediaCommand::Play);
  EXPECT_EQ(ParseOk("stop hit").kind, MediaCommand::Stop);
  c = ParseOk("close fan1");
  EXPECT_EQ(c.kind, MediaCommand::Close);
  EXPECT_STREQ(c.alias, "fan1");
  EXPECT_EQ(ParseOk("close all").kind, MediaCommand::CloseAll);
  EXPECT_EQ(ParseOk("  CLOSE ALL  ").kind, MediaCommand::CloseAll);
}

TEST(MediaCommand, RefusesWhatItCannotDo) {
  const char* bad[] = {"", "   ", "open", "open data\\x.wav", "open data\\x.wav alias",
                       "open \"data\\x.wav alias x", "play", "close", "seek hit to start",
                       "status hit mode"};
  for (const char* text : bad) {
    MediaCommand c;
    std::memset(c.path, 'x', sizeof c.path);
    std::memset(c.alias, 'x', sizeof c.alias);
    EXPECT_FALSE(plat::detail::ParseMediaCommand(text, c)) << text;
    EXPECT_EQ(c.kind, MediaCommand::None) << text;
    // Nothing half-read is left behind, terminated or not.
    EXPECT_EQ(c.path[0], 0) << text;
    EXPECT_EQ(c.alias[0], 0) << text;
  }
  for (std::string text : {std::string("open \"data\\x.wav"), "open " + std::string(400, 'a') + " alias x",
                           "open a.wav alias " + std::string(100, 'a'), std::string("open a.wav alias \"x")}) {
    MediaCommand c;
    std::memset(c.path, 'x', sizeof c.path);
    std::memset(c.alias, 'x', sizeof c.alias);
    EXPECT_FALSE(plat::detail::ParseMediaCommand(text.c_str(), c)) << text;
    EXPECT_EQ(c.path[0], 0) << text;
    EXPECT_EQ(c.alias[0], 0) << text;
  }
  MediaCommand c;
  EXPECT_FALSE(plat::detail::ParseMediaCommand(nullptr, c));
  std::string longPath = "open " + std::string(400, 'a') + " alias x";
  EXPECT_FALSE(plat::detail::ParseMediaCommand(longPath.c_str(), c));
  std::string longAlias = "play " + std::string(100, 'a');
  EXPECT_FALSE(plat::detail::ParseMediaCommand(longAlias.c_str(), c));
}

TEST(MediaCommand, AliasesMatchInAnyCase) {
  EXPECT_TRUE(plat::detail::SameName("Fan1", "fAN1"));
  EXPECT_FALSE(plat::detail::SameName("fan1", "fan"));
  EXPECT_FALSE(plat::detail::SameName("fan", "fan1"));
}

TEST(DoubleClick, TimingAndDistance) {
  using plat::detail::PressIsDoubleClick;
  plat::detail::ClickTracker t;
  EXPECT_FALSE(PressIsDoubleClick(t, 0, 100, 100, 1000));
  EXPECT_TRUE(PressIsDoubleClick(t, 0, 104, 96, 1500));   // 500 ms, 4 px: still a pair
  EXPECT_FALSE(PressIsDoubleClick(t, 0, 104, 96, 1600));  // a third press starts afresh
  EXPECT_TRUE(PressIsDoubleClick(t, 0, 104, 96, 1700));

  plat::detail::ClickTracker slow;
  EXPECT_FALSE(PressIsDoubleClick(slow, 0, 10, 10, 0));
  EXPECT_FALSE(PressIsDoubleClick(slow, 0, 10, 10, 501));
  EXPECT_TRUE(PressIsDoubleClick(slow, 0, 10, 10, 600));  // pairs with the press at 501

  plat::detail::ClickTracker far;
  EXPECT_FALSE(PressIsDoubleClick(far, 0, 10, 10, 0));
  EXPECT_FALSE(PressIsDoubleClick(far, 0, 15, 10, 10));
  EXPECT_FALSE(PressIsDoubleClick(far, 0, 15, 15, 20));
  EXPECT_TRUE(PressIsDoubleClick(far, 0, 15, 11, 30));

  plat::detail::ClickTracker buttons;
  EXPECT_FALSE(PressIsDoubleClick(buttons, 0, 10, 10, 0));
  EXPECT_FALSE(PressIsDoubleClick(buttons, 1, 10, 10, 10));  // the other button
  EXPECT_TRUE(PressIsDoubleClick(buttons, 1, 10, 10, 20));

  plat::detail::ClickTracker wrap;  // the 32-bit clock wrapping between the presses
  EXPECT_FALSE(PressIsDoubleClick(wrap, 0, 0, 0, 0xFFFFFF00u));
  EXPECT_TRUE(PressIsDoubleClick(wrap, 0, 0, 0, 0x10u));
}

TEST(WindowLayout, LargestWholeScaleCentred) {
  using plat::detail::ComputeLayout;
  plat::detail::Layout l = ComputeLayout(640, 480);
  EXPECT_EQ(l.scale, 1);
  EXPECT_EQ(l.x, 0);
  EXPECT_EQ(l.y, 0);
  l = ComputeLayout(1920, 1080);
  EXPECT_EQ(l.scale, 2);
  EXPECT_EQ(l.x, 320);
  EXPECT_EQ(l.y, 60);
  l = ComputeLayout(1279, 2000);
  EXPECT_EQ(l.scale, 1);
  EXPECT_EQ(l.x, 319);
  l = ComputeLayout(300, 200);  // smaller than the picture: shown at 1, centred, cut
  EXPECT_EQ(l.scale, 1);
  EXPECT_EQ(l.x, -170);
  EXPECT_EQ(l.y, -140);
}

TEST(WindowLayout, OutputToPictureClamps) {
  plat::detail::Layout l = plat::detail::ComputeLayout(1920, 1080);  // scale 2 at (320, 60)
  int x = -1, y = -1;
  plat::detail::OutputToPicture(l, 320, 60, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  plat::detail::OutputToPicture(l, 321 + 2 * 100, 61 + 2 * 50, x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  plat::detail::OutputToPicture(l, 0, 0, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  plat::detail::OutputToPicture(l, 1919, 1079, x, y);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 479);
}

}  // namespace

namespace {
// A RIFF WAVE file of the given chunks (id, claimed length, bytes really present).
std::vector<unsigned char> Riff(std::initializer_list<std::tuple<const char*, uint32_t, uint32_t>> chunks,
                                long riffDelta = 0) {
  std::vector<unsigned char> f = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  for (auto [id, claimed, present] : chunks) {
    size_t at = f.size();
    f.resize(at + 8 + present);
    std::memcpy(&f[at], id, 4);
    put32(at + 4, claimed);
  }
  put32(4, static_cast<uint32_t>(static_cast<long>(f.size()) - 8 + riffDelta));
  return f;
}
bool Check(const std::vector<unsigned char>& f, std::string& problem) {
  char text[160] = "";
  bool ok = plat::detail::CheckRiff(f.data(), f.size(), text, sizeof text);
  problem = text;
  return ok;
}
}  // namespace

// A sound file whose chunk sizes claim more than the file holds is refused before the
// sound library allocates for it (a data chunk of 4 GiB once did).
TEST(SoundFile, ChunkSizesAreCheckedAgainstTheFile) {
  std::string problem;
  EXPECT_TRUE(Check(Riff({{"fmt ", 16, 16}, {"data", 100, 100}}), problem)) << problem;
  EXPECT_TRUE(Check(Riff({{"fmt ", 16, 16}, {"data", 99, 100}}), problem)) << "odd, padded";
  EXPECT_FALSE(Check(Riff({{"fmt ", 16, 16}, {"data", 0xFFFFFFF0u, 100}}), problem));
  EXPECT_EQ(problem, "the 'data' chunk claims 4294967280 bytes; only 100 follow");
  EXPECT_FALSE(Check(Riff({{"fmt ", 0xFFFFFFFFu, 16}}), problem));
  EXPECT_FALSE(Check(Riff({{"data", 10, 10}}, 1000), problem));
  EXPECT_EQ(problem, "the RIFF header claims 1030 bytes; the file has 30");
  // A header claiming less than the file (0 is common) still has every chunk checked.
  EXPECT_TRUE(Check(Riff({{"fmt ", 16, 16}, {"data", 100, 100}}, -136), problem)) << problem;
  EXPECT_FALSE(Check(Riff({{"fmt ", 16, 16}, {"data", 0xD1FF149Eu, 100}}, -136), problem));
  EXPECT_EQ(problem, "the 'data' chunk claims 3523155102 bytes; only 100 follow");
  EXPECT_FALSE(Check(Riff({{"fmt ", 16, 16}, {"data", 200, 100}}, -40), problem));
  std::vector<unsigned char> other = {'O', 'g', 'g', 'S', 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(Check(other, problem)) << "not RIFF: left to the sound library";
}
