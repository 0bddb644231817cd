// Code-page-932 decoding and text rendering on surfaces. Texts are written as byte
// escapes because this file is compiled as UTF-8.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/tests/alloc_counter.h"
#include "platform/text.h"

namespace plat {
namespace {

std::u32string Decode(const char* bytes, int n) {
  char32_t out[64];
  const int k = DecodeCp932(bytes, n, out, 64);
  return std::u32string(out, out + k);
}

TEST(Cp932, DecodesEachKindOfCharacter) {
  EXPECT_EQ(Decode("Ab\\~", 4), U"Ab\\~");
  EXPECT_EQ(Decode("\xB1\xDF", 2), U"\uFF71\uFF9F");            // half-width katakana
  EXPECT_EQ(Decode("\x8A\xBF\x8E\x9A", 4), U"\u6F22\u5B57");    // kanji
  EXPECT_EQ(Decode("\x82\xA0\x81\x40", 4), U"\u3042\u3000");    // hiragana, full-width space
  EXPECT_EQ(Decode("\x95\x5C\x5C", 3), U"\u8868\\");           // trail byte 0x5C is no backslash
  EXPECT_EQ(Decode("\x87\x40\xED\x40", 4), U"\u2460\u7E8A");    // Windows extensions
}

TEST(Cp932, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Decode("\x80\xA0\xFD\xFF", 4), U"\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Decode("A\x82", 2), U"A\uFFFD");        // lead byte at the end
  EXPECT_EQ(Decode("\x82 B", 3), U"\uFFFD B");      // lead byte before a non-trail byte
  EXPECT_EQ(Decode("\x82\x7F", 2), U"\uFFFD\x7F");  // 0x7F is never a trail byte
  EXPECT_EQ(Decode("\x85\x40", 2), U"\uFFFD");      // a valid pair with no character
  char32_t out[2];
  EXPECT_EQ(DecodeCp932("ABCDEF", 6, out, 2), 2);
  EXPECT_EQ(DecodeCp932("ABC", 0, out, 2), 0);
}

TEST(Cp932, ToUtf8TruncatesAtCharacterBoundary) {
  char out[64];
  Cp932ToUtf8("\x8A\xBF\xB1" "x", out, sizeof out);
  EXPECT_STREQ(out, "\xE6\xBC\xA2\xEF\xBD\xB1x");
  Cp932ToUtf8("\x8A\xBF\x8E\x9A", out, 6);  // room for one three-byte character only
  EXPECT_STREQ(out, "\xE6\xBC\xA2");
  Cp932ToUtf8("abc", out, 1);
  EXPECT_STREQ(out, "");
}

class Text : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(InitText()); }
  Surface s;
  void SetUp() override {
    s.Create(200, 80);
    FillRect(s, 0, 0, 200, 80, 0x00FF00);  // green, so the white box shows
  }
  int CountIn(Colour c, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += s.At(x, y) == c;
    return n;
  }
};

TEST_F(Text, DefaultFontCells) {
  const Font* f = DefaultFont();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(DefaultFont(), f);
  EXPECT_EQ(FontHeight(f), 16);
  EXPECT_EQ(TextWidth(f, "Score 10", 8), 64);
  EXPECT_EQ(TextWidth(f, "\x82\xA0\x8A\xBF", 4), 32);  // full-width: 16 each
  EXPECT_EQ(TextWidth(f, "\xB1\xB2", 2), 16);          // half-width katakana: 8 each
}

TEST_F(Text, GlyphsInExactColourOverWhiteBox) {
  const char* text = "Hit \x82\xA0\x8A\xBF";
  const int n = static_cast<int>(std::strlen(text));
  const Colour colour = 0x3366CC;
  const int w = DrawText(s, 10, 20, text, n, colour, DefaultFont());
  EXPECT_EQ(w, 64);
  int ink = 0;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const Colour c = s.At(x, y);
      const bool inBox = x >= 10 && x < 10 + w && y >= 20 && y < 36;
      if (!inBox) {
        ASSERT_EQ(c, 0x00FF00u) << x << "," << y;
      } else {
        ASSERT_TRUE(c == 0xFFFFFF || c == colour) << std::hex << c << " at " << x << "," << y;
        ink += c == colour;
      }
    }
  EXPECT_GT(ink, 40);
  // Every character puts ink in its own cell.
  const int cells[][2] = {{0, 8}, {8, 16}, {16, 24}, {32, 48}, {48, 64}};
  for (const auto& cell : cells) EXPECT_GT(CountIn(colour, 10 + cell[0], 20, 10 + cell[1], 36), 0) << cell[0];
}

TEST_F(Text, ClippedAtSurfaceEdges) {
  const char* text = "\x8A\xBF\x8E\x9A ABC";
  for (int x : {-30, -1000000, 190, 1000000000}) {
    for (int y : {-10, 75, -2000000000, 2000000000}) {
      DrawText(s, x, y, text, 8, 0, DefaultFont());
    }
  }
  DrawText(s, 2147483600, 2147483600, text, 8, 0, DefaultFont());
  EXPECT_GT(CountIn(0x00FF00, 0, 0, 200, 80), 0);
}

TEST_F(Text, MaskedCompositionLeavesGlyphsInExactColour) {
  // An AND mask of black glyphs and an inverted copy of complementary glyphs, combined
  // into a picture, change only the glyph pixels, and those to exactly the colour.
  const Font* f = CreatedFont(24, 700);
  const char* text = "\x8E\x80 Hit";
  const Colour colour = 0x1E90FF;
  Surface scratch;
  scratch.Create(200, 80);
  FillRect(scratch, 0, 0, 200, 80, 0xFFFFFF);
  DrawText(scratch, 0, 0, text, 6, 0, f);
  DrawText(scratch, 0, 40, text, 6, 0xFFFFFF - colour, f);
  Blit(scratch, 0, 40, 72, 24, scratch, 0, 40, Rop::NotCopy);
  const Surface before = s;
  Blit(s, 5, 5, 72, 24, scratch, 0, 0, Rop::And);
  Blit(s, 5, 5, 72, 24, scratch, 0, 40, Rop::Invert);
  int glyph = 0;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const bool ink = scratch.At(x - 5, y - 5) == 0 && x >= 5 && y >= 5 && x < 77 && y < 29;
      ASSERT_EQ(s.At(x, y), ink ? colour : before.At(x, y)) << x << "," << y;
      glyph += ink;
    }
  EXPECT_GT(glyph, 50);
}

TEST_F(Text, CreatedFontsAreCachedMonochromeAndBold) {
  const Font* a = CreatedFont(32, 700);
  EXPECT_EQ(CreatedFont(32, 700), a);
  EXPECT_NE(CreatedFont(32, 400), a);
  EXPECT_NE(CreatedFont(24, 700), a);
  EXPECT_EQ(FontHeight(a), 32);
  EXPECT_EQ(FontHeight(CreatedFont(48, 700)), 48);
  // A half-width character of a created font fits half its height, as the masked text's
  // box widths expect.
  EXPECT_LE(TextWidth(a, "W", 1), 16);
  EXPECT_LE(TextWidth(a, "\x82\xA0", 2), 32);

  const char* text = "\x83\x51\x81\x5B\x83\x80 OK";
  const int n = static_cast<int>(std::strlen(text));
  const int w = DrawText(s, 0, 0, text, n, 0x0000FF, a);
  EXPECT_EQ(w, TextWidth(a, text, n));
  int boldInk = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < w; ++x) {
      const Colour c = s.At(x, y);
      ASSERT_TRUE(c == 0xFFFFFF || c == 0x0000FF) << std::hex << c;
      boldInk += c == 0x0000FF;
    }
  FillRect(s, 0, 0, 200, 80, 0x00FF00);
  DrawText(s, 0, 0, text, n, 0x0000FF, CreatedFont(32, 400));
  const int normalInk = CountIn(0x0000FF, 0, 0, 200, 32);
  EXPECT_GT(boldInk, normalInk + normalInk / 5);
}

TEST_F(Text, SmoothTextBlendsAndClipsToRectangle) {
  const Font* f = SmoothFont(36);
  EXPECT_EQ(SmoothFont(36), f);
  EXPECT_EQ(FontHeight(f), 36);
  FillRect(s, 0, 0, 200, 80, 0);
  // White text at full alpha: some pixels fully white, some partly covered.
  DrawSmoothText(s, 0, 0, 200, 80, "\x83\x51 Ag", 0xFFFFFFFF, f);
  int full = 0, partial = 0;
  for (Colour c : s.pixels) {
    full += c == 0xFFFFFF;
    partial += c != 0 && c != 0xFFFFFF;
    ASSERT_EQ(c & 0xFF, (c >> 8) & 0xFF);  // grey levels only
  }
  EXPECT_GT(full, 20);
  EXPECT_GT(partial, 20);
  // Half alpha never reaches full white; alpha 0 draws nothing.
  FillRect(s, 0, 0, 200, 80, 0);
  DrawSmoothText(s, 0, 0, 200, 80, "\x83\x51 Ag", 0x80FFFFFF, f);
  for (Colour c : s.pixels) ASSERT_LE(c & 0xFF, 0x80u);
  FillRect(s, 0, 0, 200, 80, 0);
  DrawSmoothText(s, 0, 0, 200, 80, "\x83\x51 Ag", 0x00FFFFFF, f);
  EXPECT_EQ(CountIn(0, 0, 0, 200, 80), 200 * 80);
  // The second line starts one font height lower; the rectangle clips.
  DrawSmoothText(s, 20, 10, 60, 60, "II\nII\nII", 0xFF0000FF, f);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 200; ++x)
      if (x < 20 || x >= 60 || y < 10 || y >= 60) {
        ASSERT_EQ(s.At(x, y), 0u) << x << "," << y;
      }
  EXPECT_LT(CountIn(0, 20, 10, 60, 46), 40 * 36);  // ink on the first line
  EXPECT_LT(CountIn(0, 20, 46, 60, 60), 40 * 14);  // and on the clipped second
  EXPECT_GT(CountIn(0xFF0000, 20, 10, 60, 60), 0);  // argb blue is 0xFF0000 on a surface
  DrawSmoothText(s, -100000, -100000, 100000, 100000, "\x83\x51\n\n\n\nA", 0xFFFFFFFF, f);
}

TEST_F(Text, SmoothTextWrapsWhatIsTooWide) {
  const Font* f = SmoothFont(16);
  const int h = FontHeight(f);
  const char* words = "wide words wrap onto the next line";
  const int w = TextWidth(f, words, static_cast<int>(std::strlen(words)));
  ASSERT_GT(w, 120);
  // Too wide for 120 pixels: it goes on below, never past the right edge.
  FillRect(s, 0, 0, 200, 80, 0);
  DrawSmoothText(s, 0, 0, 120, 80, words, 0xFFFFFFFF, f);
  EXPECT_EQ(CountIn(0, 120, 0, 200, 80), 80 * 80);
  EXPECT_LT(CountIn(0, 0, h, 120, 2 * h), 120 * h);  // ink on the second line
  // Wide enough: one line, nothing below it.
  FillRect(s, 0, 0, 200, 80, 0);
  DrawSmoothText(s, 0, 0, w + 1, 80, words, 0xFFFFFFFF, f);
  EXPECT_EQ(CountIn(0, 0, h, 200, 80), 200 * (80 - h));
  // Text without spaces (Japanese) breaks between characters.
  FillRect(s, 0, 0, 200, 80, 0);
  DrawSmoothText(s, 0, 0, 40, 80, "\x83\x51\x83\x51\x83\x51\x83\x51", 0xFFFFFFFF, f);
  EXPECT_EQ(CountIn(0, 40, 0, 200, 80), 160 * 80);
  EXPECT_LT(CountIn(0, 0, h, 40, 2 * h), 40 * h);
}

TEST_F(Text, DrawingCachedGlyphsAllocatesNothing) {
  const char* text = "Score 123 \x83\x51\x81\x5B\x83\x80";
  const int n = static_cast<int>(std::strlen(text));
  const Font* fonts[] = {DefaultFont(), CreatedFont(20, 700), SmoothFont(24)};
  for (const Font* f : fonts) DrawText(s, 0, 0, text, n, 0, f);  // first use renders
  DrawSmoothText(s, 0, 0, 200, 80, text, 0xFFFFFFFF, SmoothFont(24));
  const long before = alloc_counter::Allocations();
  for (int i = 0; i < 10; ++i) {
    for (const Font* f : fonts) DrawText(s, 0, 0, text, n, 0, f);
    DrawSmoothText(s, 0, 0, 200, 80, text, 0xFFFFFFFF, SmoothFont(24));
    EXPECT_EQ(CreatedFont(20, 700), fonts[1]);
    TextWidth(fonts[0], text, n);
  }
  EXPECT_EQ(alloc_counter::Allocations(), before);
}

}  // namespace
}  // namespace plat
