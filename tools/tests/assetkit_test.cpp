#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/assetkit.h"

namespace {

TEST(PixelArt, PaletteRowsAndPlacement) {
  const char* src =
      "; a two-cell sheet\n"
      "palette\n"
      ". 000000\n"
      "r ff0000\n"
      "b 0000ff\n"
      "size 4 2\n"
      "r.\n"
      "at 1 1\n"
      "b b\n";
  assets::Image img = assets::ParsePixelArt(src, "test");
  ASSERT_EQ(img.width, 4);
  ASSERT_EQ(img.height, 2);
  EXPECT_EQ(img.Get(0, 0), 0x0000FFu);  // red in 0x00BBGGRR
  EXPECT_EQ(img.Get(1, 0), 0u);
  EXPECT_EQ(img.Get(1, 1), 0xFF0000u);  // blue
  EXPECT_EQ(img.Get(2, 1), 0u);         // a space leaves the pixel alone
  EXPECT_EQ(img.Get(3, 1), 0xFF0000u);
}

TEST(PixelArt, MistakesStopWithFileAndLine) {
  EXPECT_EXIT(assets::ParsePixelArt("palette\n. 000000\nsize 2 1\n.x\n", "art.txt"),
              testing::ExitedWithCode(1), "art.txt:4: character 'x' is not in the palette");
  EXPECT_EXIT(assets::ParsePixelArt("palette\n. 000000\nsize 2 1\n...\n", "art.txt"),
              testing::ExitedWithCode(1), "art.txt:4: pixel outside the picture");
  EXPECT_EXIT(assets::ParsePixelArt("..\n", "art.txt"), testing::ExitedWithCode(1),
              "art.txt:1: pixel row before");
}

TEST(MaskOf, BlackWhereOpaque) {
  assets::Image pic(2, 1, 0);
  pic.Set(1, 0, 0x123456);
  assets::Image mask = assets::MaskOf(pic);
  EXPECT_EQ(mask.Get(0, 0), 0xFFFFFFu);
  EXPECT_EQ(mask.Get(1, 0), 0u);
}

TEST(WriteBmp, BottomUpBgrWithPaddedRows) {
  assets::Image img(3, 2, 0);
  img.Set(0, 0, assets::Rgb(0x102030));  // top-left
  img.Set(2, 1, assets::Rgb(0xA0B0C0));  // bottom-right
  const std::string path = testing::TempDir() + "/t.bmp";
  assets::WriteBmp(path, img);
  std::string b = assets::ReadFile(path);
  ASSERT_EQ(b.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(b[28]), 24);
  // First stored row is the bottom one: bottom-right pixel at bytes 6..8 as B, G, R.
  EXPECT_EQ(static_cast<unsigned char>(b[54 + 6]), 0xC0);
  EXPECT_EQ(static_cast<unsigned char>(b[54 + 8]), 0xA0);
  // Second stored row is the top one.
  EXPECT_EQ(static_cast<unsigned char>(b[54 + 12]), 0x30);
  EXPECT_EQ(static_cast<unsigned char>(b[54 + 14]), 0x10);
}

TEST(WriteWav, HeaderAndSamples) {
  assets::Sound s;
  s.rate = 8000;
  s.samples = {0, 1000, -1000};
  const std::string path = testing::TempDir() + "/t.wav";
  assets::WriteWav(path, s);
  std::string b = assets::ReadFile(path);
  ASSERT_EQ(b.size(), 44u + 6);
  EXPECT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(static_cast<unsigned char>(b[24]) | (static_cast<unsigned char>(b[25]) << 8), 8000);
  EXPECT_EQ(static_cast<int16_t>(static_cast<unsigned char>(b[46]) | (static_cast<unsigned char>(b[47]) << 8)),
            1000);
}

TEST(Utf8ToCp932, JapaneseAndLineEnds) {
  // "ソ" is 0x83 0x5C in code page 932: its second byte is a backslash.
  std::string out = assets::Utf8ToCp932("A\xE3\x82\xBD\nB\n", "t.txt");
  EXPECT_EQ(out, std::string("A\x83\x5C\r\nB\r\n"));
  EXPECT_EXIT(assets::Utf8ToCp932("ok\n\xF0\x9F\x98\x80\n", "t.txt"), testing::ExitedWithCode(1),
              "t.txt:2: text that code page 932 cannot hold");
}

}  // namespace
