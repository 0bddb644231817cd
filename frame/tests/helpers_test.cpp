// Drawing and input helpers, checked pixel by pixel and latch by latch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "frame/frame.h"
#include "platform/system.h"
#include "platform/tests/row_paths.h"
#include "platform/text.h"

namespace {

using frame::Colour;
using plat::Surface;

class Helpers : public ::testing::Test {
 protected:
  void SetUp() override {
    frame::ResetFrame();
    plat::Options opts;
    opts.headless = true;
    opts.mute = true;
    ASSERT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
    settings.maskedLayout = frame::MaskedLayout::B;
    settings.scratchW = 640;
    settings.scratchH = 480;
    frame::CreateSurfaces(settings);
  }
  void TearDown() override { plat::CloseSystem(); }

  frame::FrameSettings settings;
};

// A target whose every pixel differs from its neighbours, so a stray write shows.
void FillPattern(Surface& s) {
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) s.Row(y)[x] = (x * 0x010307u + y * 0x0B0503u) & 0xFFFFFF;
}

// Glyph pixels of text in a font: 1 where DrawText puts ink, black on white.
Surface GlyphMask(const char* text, const plat::Font* font, int w, int h) {
  Surface m;
  m.Create(w, h);
  plat::FillRect(m, 0, 0, w, h, 0xFFFFFF);
  plat::DrawText(m, 0, 0, text, static_cast<int>(std::strlen(text)), 0, font);
  return m;
}

// Checks every pixel of target against the rule: inside the box (x, y, w, h), glyph
// pixels are rule(before); everything else is as before.
template <class Rule>
void ExpectMasked(const Surface& before, const Surface& after, const Surface& glyphs, int x, int y,
                  int w, int h, Rule rule) {
  int inked = 0, wrong = 0;
  for (int py = 0; py < after.height; ++py)
    for (int px = 0; px < after.width; ++px) {
      const int i = px - x, j = py - y;
      const bool inBox = i >= 0 && j >= 0 && i < w && j < h && i < glyphs.width && j < glyphs.height;
      const bool glyph = inBox && glyphs.At(i, j) == 0;
      const Colour old = before.At(px, py);
      const Colour want = glyph ? rule(old, j) : old;
      inked += glyph;
      if (after.At(px, py) != want && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << px << ", " << py << ") is " << std::hex << after.At(px, py)
                      << ", want " << want << (glyph ? " (glyph)" : " (untouched)");
    }
  EXPECT_GT(inked, 0) << "the text left no glyph pixels";
  EXPECT_EQ(wrong, 0);
}

TEST_F(Helpers, LayoutAPutsExactColourOnGlyphsOnly) {
  const char* text = "あA!";  // a double-byte character takes 18 pixels
  FillPattern(frame::backDC);
  const Surface before = frame::backDC;
  EXPECT_EQ(frame::DrawMaskedString(100, 50, text, 0x3366CC), 4);
  ExpectMasked(before, frame::backDC, GlyphMask(text, plat::DefaultFont(), 640, 480), 100, 50, 36, 18,
               [](Colour, int) { return Colour{0x3366CC}; });
}

TEST_F(Helpers, LayoutAClipsAtTheEdges) {
  FillPattern(frame::backDC);
  const Surface before = frame::backDC;
  frame::DrawMaskedString(630, 470, "WWWW", 0xFFFFFF);
  frame::DrawMaskedString(-20, -10, "WWWW", 0xFFFFFF);
  for (int y = 10; y < 460; ++y)
    for (int x = 20; x < 620; ++x) ASSERT_EQ(frame::backDC.At(x, y), before.At(x, y));
}

TEST_F(Helpers, LayoutBGivesTargetOrColour) {
  const char* text = "線B";
  FillPattern(frame::backDC);
  const Surface before = frame::backDC;
  EXPECT_EQ(frame::DrawMaskedString(40, 60, text, 0x0000FF, 48, 1), 3);
  // The box is n * (height + 4) / 2 = 78 pixels wide.
  ExpectMasked(before, frame::backDC, GlyphMask(text, plat::CreatedFont(48, 700), 640, 480), 40, 60, 78, 48,
               [](Colour old, int) { return old | 0x0000FF; });
}

TEST_F(Helpers, LayoutBDrawsOnTheGivenSlot) {
  frame::dcTable[3].Create(200, 100);
  const Surface back = frame::backDC;
  frame::DrawMaskedStringB(0, 0, "XY", 0xFFFFFF, 40, 3);
  EXPECT_EQ(frame::backDC.pixels, back.pixels);
  ExpectMasked(Surface{[] { Surface s; s.Create(200, 100); return s; }()}, frame::dcTable[3],
               GlyphMask("XY", plat::CreatedFont(40, 700), 640, 480), 0, 0, 44, 40,
               [](Colour, int) { return Colour{0xFFFFFF}; });
}

TEST_F(Helpers, LayoutBTallTextStopsAtTheScratchEdge) {
  // The inverted band starts at scratch row 320; only 160 rows of it exist. Below that
  // the glyphs keep only the AND mask, and nothing outside any surface is touched.
  const char* text = "─";
  FillPattern(frame::backDC);
  const Surface before = frame::backDC;
  frame::DrawMaskedString(0, 0, text, 0x00FF00, 200, 1);
  ExpectMasked(before, frame::backDC, GlyphMask(text, plat::CreatedFont(200, 700), 640, 480), 0, 0, 204, 200,
               [](Colour old, int row) { return row < 160 ? old | 0x00FF00 : old & ~Colour{0x00FF00} & 0xFFFFFF; });
  frame::DrawMaskedString(300, 200, "ABCDEFGHIJ", 0xFFFFFF, 300, 1);  // wider and taller than the scratch
}

TEST_F(Helpers, LayoutCPutsExactColourUpToFullHeight) {
  settings.maskedLayout = frame::MaskedLayout::C;
  settings.scratchH = 960;
  frame::CreateSurfaces(settings);
  ASSERT_EQ(frame::dcTable[2].height, 960);
  for (int height : {36, 480}) {
    const char* text = height == 480 ? "＠" : "耐久時間9秒";
    FillPattern(frame::backDC);
    const Surface before = frame::backDC;
    const int n = static_cast<int>(std::strlen(text));
    EXPECT_EQ(frame::DrawMaskedString(80, 0, text, 0xC08040, height, 1), n);
    ExpectMasked(before, frame::backDC, GlyphMask(text, plat::CreatedFont(height, 700), 640, 480), 80, 0,
                 n * height / 2, height, [](Colour, int) { return Colour{0xC08040}; });
  }
}

// The helpers refill only what they wrote before; the scratch surface must still end up
// exactly as the full sequence of white fill, texts and inverted copy leaves it.
TEST_F(Helpers, ScratchMatchesTheFullFillSequence) {
  settings.scratchH = 960;
  frame::CreateSurfaces(settings);
  Surface ref;
  ref.Create(640, 960);
  const plat::Font* def = plat::DefaultFont();
  auto refA = [&](const char* t, Colour c) {
    const int n = static_cast<int>(std::strlen(t));
    plat::FillRect(ref, 0, 0, 640, 480, 0xFFFFFF);
    plat::DrawText(ref, 0, 0, t, n, 0, def);
    plat::DrawText(ref, 0, 32, t, n, 0xFFFFFF - c, def);
    plat::Blit(ref, 0, 64, 9 * n, 18, ref, 0, 32, plat::Rop::NotCopy);
  };
  auto refB = [&](const char* t, Colour c, int h) {
    const int n = static_cast<int>(std::strlen(t));
    plat::FillRect(ref, 0, 0, 640, 480, 0xFFFFFF);
    plat::DrawText(ref, 0, 32, t, n, 0xFFFFFF - c, plat::CreatedFont(h, 700));
    plat::Blit(ref, 0, 320, n * (h + 4) / 2, h, ref, 0, 32, plat::Rop::NotCopy);
  };
  auto refC = [&](const char* t, Colour c, int h) {
    const int n = static_cast<int>(std::strlen(t));
    plat::FillRect(ref, 0, 0, 1280, 960, 0xFFFFFF);
    plat::DrawText(ref, 0, 0, t, n, 0, plat::CreatedFont(h, 700));
    plat::DrawText(ref, 0, 480, t, n, 0xFFFFFF - c, plat::CreatedFont(h, 700));
    plat::Blit(ref, 0, 480, n * h / 2, h, ref, 0, 480, plat::Rop::NotCopy);
  };
  frame::DrawMaskedStringB(0, 0, "tall", 0x00FF00, 300, 1);
  refB("tall", 0x00FF00, 300);
  EXPECT_EQ(frame::dcTable[2].pixels, ref.pixels);
  frame::DrawMaskedString(5, 5, "一行の文字", 0x123456);
  refA("一行の文字", 0x123456);
  EXPECT_EQ(frame::dcTable[2].pixels, ref.pixels);
  frame::DrawMaskedStringC(0, 0, "＠x", 0xFF00FF, 200, 1);
  refC("＠x", 0xFF00FF, 200);
  EXPECT_EQ(frame::dcTable[2].pixels, ref.pixels);
  frame::DrawMaskedStringB(0, 0, "short", 0xFFFFFF, 20, 1);
  refB("short", 0xFFFFFF, 20);
  EXPECT_EQ(frame::dcTable[2].pixels, ref.pixels);
  // A box drawn on the scratch surface by the program is filled over next time.
  frame::DrawBox(300, 100, 50, 600, 0x0000FF, 2);
  plat::FillRect(ref, 300, 100, 350, 700, 0x0000FF);
  for (int i = 0; i < 12; ++i) {  // more texts than the record holds
    frame::DrawMaskedString(0, 0, "A", 0xFF);
    refA("A", 0xFF);
  }
  frame::DrawMaskedStringC(0, 0, "end", 0xFF, 50, 1);
  refC("end", 0xFF, 50);
  EXPECT_EQ(frame::dcTable[2].pixels, ref.pixels);
}

// One masked text drawn by the helpers onto slot, and by the plain sequence of white fill,
// texts, inverted copy and the two transfers onto target with ref as the scratch surface.
void DrawBoth(int layout, int x, int y, const char* t, Colour c, int h, int slot, Surface& ref, Surface& target) {
  const int n = static_cast<int>(std::strlen(t));
  if (layout == 0) {
    frame::DrawMaskedString(x, y, t, c);
    plat::FillRect(ref, 0, 0, 640, 480, 0xFFFFFF);
    plat::DrawText(ref, 0, 0, t, n, 0, plat::DefaultFont());
    plat::DrawText(ref, 0, 32, t, n, 0xFFFFFF - c, plat::DefaultFont());
    plat::Blit(ref, 0, 64, 9 * n, 18, ref, 0, 32, plat::Rop::NotCopy);
    plat::Blit(target, x, y, 9 * n, 18, ref, 0, 0, plat::Rop::And);
    plat::Blit(target, x, y, 9 * n, 18, ref, 0, 64, plat::Rop::Invert);
  } else if (layout == 1) {
    frame::DrawMaskedStringB(x, y, t, c, h, slot);
    const int w = n * (h + 4) / 2;
    plat::FillRect(ref, 0, 0, 640, 480, 0xFFFFFF);
    plat::DrawText(ref, 0, 32, t, n, 0xFFFFFF - c, plat::CreatedFont(h, 700));
    plat::Blit(ref, 0, 320, w, h, ref, 0, 32, plat::Rop::NotCopy);
    plat::Blit(target, x, y, w, h, ref, 0, 32, plat::Rop::And);
    plat::Blit(target, x, y, w, h, ref, 0, 320, plat::Rop::Invert);
  } else {
    frame::DrawMaskedStringC(x, y, t, c, h, slot);
    const int w = n * h / 2;
    plat::FillRect(ref, 0, 0, 1280, 960, 0xFFFFFF);
    plat::DrawText(ref, 0, 0, t, n, 0, plat::CreatedFont(h, 700));
    plat::DrawText(ref, 0, 480, t, n, 0xFFFFFF - c, plat::CreatedFont(h, 700));
    plat::Blit(ref, 0, 480, w, h, ref, 0, 480, plat::Rop::NotCopy);
    plat::Blit(target, x, y, w, h, ref, 0, 0, plat::Rop::And);
    plat::Blit(target, x, y, w, h, ref, 0, 480, plat::Rop::Invert);
  }
}

// Texts drawn again come from the helpers' store of finished texts. On random sequences
// of new and repeated texts of every layout (and program writes to the scratch between
// them), target and scratch must match the plain sequence step by step.
TEST_F(Helpers, KeptTextsMatchThePlainSequence) {
  const struct { int w, h; } sizes[] = {{640, 480}, {640, 960}};
  for (const auto size : sizes) {
    settings.scratchW = size.w;
    settings.scratchH = size.h;
    frame::CreateSurfaces(settings);
    FillPattern(frame::backDC);
    Surface ref = frame::dcTable[2], target = frame::backDC;
    const char* texts[] = {"line", "dust", "\x84\x9f", "EXPERIMENTAL   ", "Ab", "数字123"};
    const int heights[] = {20, 72, 96, 200, 256, 448};
    const Colour colours[] = {0xFFFFFF, 0x00FF00, 0x123456};
    uint32_t seed = 99;
    const auto next = [&](int n) { seed = seed * 1103515245u + 12345u; return static_cast<int>((seed >> 16) % n); };
    // Ten texts, more than the store keeps, drawn again and again (often twice in a row).
    struct Item { const char* t; int h; Colour c; int layout; } pool[10];
    for (Item& it : pool) it = {texts[next(6)], heights[next(6)], colours[next(3)], size.h == 960 ? next(3) : next(2)};
    int last = 0;
    for (int step = 0; step < 120; ++step) {
      last = next(3) == 0 ? last : next(10);
      const char* t = pool[last].t;
      const int h = pool[last].h;
      const Colour c = pool[last].c;
      const int layout = pool[last].layout;  // C needs the tall scratch
      const int x = next(700) - 30, y = next(520) - 20;
      SCOPED_TRACE(testing::Message() << size.h << " step " << step << " layout " << layout << " " << t << " " << h);
      if (next(8) == 0) {  // the program draws on the scratch itself
        const int bx = next(600), by = next(700);
        frame::DrawBox(bx, by, 40, 300, 0x0000FF, 2);
        plat::FillRect(ref, bx, by, bx + 40, by + 300, 0x0000FF);
      }
      DrawBoth(layout, x, y, t, c, h, 1, ref, target);
      ASSERT_EQ(frame::backDC.pixels, target.pixels);
      // The scratch may be brought up to date late, but always before anyone reads it;
      // here it is read after two steps of three, so some texts pass unseen.
      if (step % 3 != 0) {
        frame::SyncScratch();
        ASSERT_EQ(frame::dcTable[2].pixels, ref.pixels);
      }
    }
    frame::SyncScratch();
    EXPECT_EQ(frame::dcTable[2].pixels, ref.pixels);
  }
}

// The same on every CPU path with random texts (single- and double-byte characters),
// heights up to past the scratch's last row, colours and places partly off the target,
// drawn onto the back buffer and onto a smaller surface, repeated often enough that most
// come from the store.
TEST_F(Helpers, RandomKeptTextsMatchThePlainSequenceOnEveryPath) {
  plat::OnEveryPath([&] {
    for (const int scratchH : {480, 960}) {
      settings.scratchH = scratchH;
      frame::CreateSurfaces(settings);
      frame::dcTable[3].Create(300, 200);
      FillPattern(frame::backDC);
      FillPattern(frame::dcTable[3]);
      Surface ref = frame::dcTable[2], targets[2] = {frame::backDC, frame::dcTable[3]};
      std::mt19937 rng(scratchH);
      const char* pieces[] = {"A", "g", "W", " ", "1", "\x82\xa0", "\x84\x9f", "\x81\x97", "\x90\xfc", "\xef\xbc\xa0"};
      struct Item {
        std::string text;
        int h, layout;
        Colour c;
      } pool[12];
      const auto fresh = [&](Item& it) {
        it.text.clear();
        for (int i = 1 + static_cast<int>(rng() % 6); i > 0; --i) it.text += pieces[rng() % 10];
        it.layout = static_cast<int>(rng() % (scratchH == 960 ? 3 : 2));
        it.h = 6 + static_cast<int>(rng() % (it.layout == 2 ? 475 : 443));
        it.c = rng() % 3 == 0 ? 0xFFFFFF : rng() & 0xFFFFFF;
      };
      for (Item& it : pool) fresh(it);
      for (int step = 0; step < 90; ++step) {
        Item& it = pool[rng() % 12];
        if (rng() % 10 == 0) fresh(it);
        const int slot = it.layout > 0 && rng() % 4 == 0 ? 3 : 1;
        const int x = static_cast<int>(rng() % 900) - 300, y = static_cast<int>(rng() % 700) - 250;
        SCOPED_TRACE(testing::Message() << scratchH << " step " << step << " layout " << it.layout << " height "
                                        << it.h << " at " << x << "," << y << " slot " << slot);
        DrawBoth(it.layout, x, y, it.text.c_str(), it.c, it.h, slot, ref, targets[slot == 3]);
        ASSERT_EQ(frame::backDC.pixels, targets[0].pixels);
        ASSERT_EQ(frame::dcTable[3].pixels, targets[1].pixels);
        if (rng() % 3 == 0) {
          frame::SyncScratch();
          ASSERT_EQ(frame::dcTable[2].pixels, ref.pixels);
        }
      }
      frame::SyncScratch();
      EXPECT_EQ(frame::dcTable[2].pixels, ref.pixels);
    }
  });
}

TEST_F(Helpers, BoxLineAndCirclePositions) {
  frame::DrawBox(10, 20, 5, 3, 0x123456);
  for (int y = 18; y < 26; ++y)
    for (int x = 8; x < 17; ++x) {
      const bool in = x >= 10 && x <= 14 && y >= 20 && y <= 22;
      EXPECT_EQ(frame::backDC.At(x, y), in ? 0x123456u : 0u) << x << "," << y;
    }
  frame::DrawBox(0, 0, 4, 4, 0xFFFFFF, 2);
  EXPECT_EQ(frame::dcTable[2].At(3, 3), 0xFFFFFFu);
  EXPECT_EQ(frame::backDC.At(3, 3), 0u);

  // The end point of a line is left out.
  frame::DrawLine(100, 100, 110, 100, 0xFF);
  EXPECT_EQ(frame::backDC.At(100, 100), 0xFFu);
  EXPECT_EQ(frame::backDC.At(109, 100), 0xFFu);
  EXPECT_EQ(frame::backDC.At(110, 100), 0u);
  frame::DrawLine(200, 100, 200, 90, 0xFF);
  EXPECT_EQ(frame::backDC.At(200, 91), 0xFFu);
  EXPECT_EQ(frame::backDC.At(200, 90), 0u);

  // The disc fills the box cx-r..cx+r-1.
  frame::DrawCircle(300, 300, 10, 0xFF00);
  int minX = 999, maxX = -1, minY = 999, maxY = -1;
  for (int y = 280; y < 320; ++y)
    for (int x = 280; x < 320; ++x)
      if (frame::backDC.At(x, y) == 0xFF00) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  EXPECT_EQ(frame::backDC.At(300, 300), 0xFF00u);
  EXPECT_EQ(frame::backDC.At(291, 291), 0u);  // outside the disc, inside its box
  EXPECT_GE(minX, 290);
  EXPECT_LE(maxX, 309);
  EXPECT_GE(minY, 290);
  EXPECT_LE(maxY, 309);
}

TEST_F(Helpers, DrawStringReturnsBytesAndDrawsAWhiteBox) {
  EXPECT_EQ(frame::DrawString(10, 10, "あいうA", 0), 7);
  EXPECT_EQ(frame::backDC.At(10, 10), 0xFFFFFFu);  // the box's corner, no ink there
  EXPECT_EQ(frame::backDC.At(9, 10), 0u);
}

TEST(Random, KnownSequenceAndBounds) {
  // state = state * 22695477 + 1, value = bits 16..30. Seeded with 1: state 22695478
  // gives 346, thrown away; then 130, 10982, 1090, 11656.
  frame::SeedRandom(1);
  EXPECT_EQ(frame::RandomBelow(32768), 130);
  EXPECT_EQ(frame::RandomBelow(100), 82);  // 10982
  EXPECT_EQ(frame::RandomBelow(7), 5);     // 1090
  EXPECT_EQ(frame::RandomBelow(20), 16);   // 11656
  EXPECT_EQ(frame::randomState, 0xAD889112u);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(frame::RandomBelow(1), 0);
    const int r = frame::RandomBelow(100000);
    ASSERT_TRUE(r >= 0 && r < 32768);
  }
  EXPECT_EQ(frame::RandomBelow(0), 0);  // no division by zero
}

TEST(Mouse, OverIsStrictOnAllFourSides) {
  frame::ResetFrame();
  int inside = 0;
  for (int x = 95; x < 115; ++x) {
    frame::mouseX = x;
    frame::mouseY = 55;
    if (frame::MouseOver(100, 50, 10, 10)) {
      ++inside;
      EXPECT_TRUE(x >= 101 && x <= 109) << x;
    }
  }
  EXPECT_EQ(inside, 9);
  frame::mouseX = 105;
  for (int y : {50, 60}) {
    frame::mouseY = y;
    EXPECT_FALSE(frame::MouseOver(100, 50, 10, 10)) << y;
  }
}

TEST(Mouse, ClickedLatches) {
  frame::ResetFrame();
  // Down at the first call: not a click until it has been seen up.
  frame::mouseDown[0] = 1;
  EXPECT_FALSE(frame::MouseClicked(frame::edge));
  frame::mouseDown[0] = 0;
  EXPECT_FALSE(frame::MouseClicked(frame::edge));
  frame::mouseDown[0] = 1;
  EXPECT_TRUE(frame::MouseClicked(frame::edge));
  EXPECT_FALSE(frame::MouseClicked(frame::edge));
  EXPECT_TRUE(frame::MouseClicked(frame::hold));
  // A hold-mode report clears the latch, so an edge call in the same press sees nothing.
  frame::mouseDown[0] = 0;
  frame::MouseClicked(frame::edge);
  frame::mouseDown[0] = 1;
  EXPECT_TRUE(frame::MouseClicked(frame::hold));
  EXPECT_FALSE(frame::MouseClicked(frame::edge));
  // The right button has its own flags.
  frame::mouseDown[1] = 0;
  EXPECT_FALSE(frame::MouseClicked(1, frame::edge));
  frame::mouseDown[1] = 1;
  EXPECT_TRUE(frame::MouseClicked(1, frame::edge));
  EXPECT_EQ(frame::clickArmed[0], 0);
  EXPECT_FALSE(frame::MouseClicked(2, frame::hold));
}

TEST_F(Helpers, TextButtonGatesAndSharesTheLatch) {
  // "ab" is 18x18: hot for cursor columns 101..117 and rows 201..217.
  frame::mouseX = 105;
  frame::mouseY = 205;
  frame::mouseDown[0] = 0;
  frame::buttonsEnabled = 0;
  EXPECT_FALSE(frame::TextButton(100, 200, "ab", 0));
  EXPECT_EQ(frame::clickArmed[0], 0) << "a disabled button consulted the latch";
  EXPECT_EQ(frame::backDC.At(100, 200), 0xFFFFFFu) << "a disabled button still draws";

  frame::buttonsEnabled = 1;
  frame::mouseX = 50;  // not over: the latch is left alone
  EXPECT_FALSE(frame::TextButton(100, 200, "ab", 0));
  EXPECT_EQ(frame::clickArmed[0], 0);

  frame::mouseX = 105;
  EXPECT_FALSE(frame::TextButton(100, 200, "ab", 0));  // seen up: armed
  EXPECT_EQ(frame::clickArmed[0], 1);
  // Pressed outside every button, then dragged onto one: a click there.
  frame::mouseDown[0] = 1;
  frame::mouseX = 50;
  EXPECT_FALSE(frame::TextButton(100, 200, "ab", 0));
  frame::mouseX = 105;
  EXPECT_TRUE(frame::TextButton(100, 200, "ab", 0));
  // Another button under the same press reports nothing.
  frame::mouseY = 225;
  EXPECT_FALSE(frame::TextButton(100, 220, "cd", 0));
}

TEST(KeyHitLatch, OutOfRangeCodesAreRefused) {
  frame::ResetFrame();
  EXPECT_FALSE(frame::KeyHit(200, frame::hold));
  EXPECT_FALSE(frame::KeyHit(-1, frame::edge));
}

TEST(WindowProc, MessagesSetTheInputGlobals) {
  frame::ResetFrame();
  frame::FrameSettings s;
  auto send = [&](plat::EventType t, int x = 0, int y = 0) {
    plat::Event e;
    e.type = t;
    e.x = x;
    e.y = y;
    frame::WindowProc(s, e);
  };
  send(plat::EventType::MouseMove, 123, 456);
  EXPECT_EQ(frame::mouseX, 123);
  EXPECT_EQ(frame::mouseY, 456);
  send(plat::EventType::MouseMove, -1, 2);  // the words are taken unsigned
  EXPECT_EQ(frame::mouseX, 65535);
  send(plat::EventType::LButtonDown);
  EXPECT_EQ(frame::mouseDown[0], 1);
  send(plat::EventType::LButtonUp);
  send(plat::EventType::LButtonDblClk);  // the second press of a double click
  EXPECT_EQ(frame::mouseDown[0], 0);
  send(plat::EventType::RButtonDown);
  EXPECT_EQ(frame::mouseDown[1], 0) << "right button tracked without rightButton";
  s.rightButton = true;
  send(plat::EventType::RButtonDown);
  EXPECT_EQ(frame::mouseDown[1], 1);
  send(plat::EventType::RButtonUp);
  EXPECT_EQ(frame::mouseDown[1], 0);
  send(plat::EventType::KeyDown);
  EXPECT_EQ(frame::mouseDown[0] | frame::mouseDown[1], 0);
}

}  // namespace
