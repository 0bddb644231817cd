// Bitmap files written byte by byte in the test, read back through LoadBitmap; damaged
// and missing files; PNG output and path conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace plat {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

// A BITMAPINFOHEADER file: header, optional masks and palette, then rows as given (each
// row already padded to four bytes).
Bytes MakeBmp(int w, int h, int bpp, uint32_t compression, const std::vector<uint32_t>& extra,
              const Bytes& rows) {
  Bytes b(54);
  b[0] = 'B';
  b[1] = 'M';
  const uint32_t off = static_cast<uint32_t>(54 + 4 * extra.size());
  Put32(b, 2, static_cast<uint32_t>(off + rows.size()));
  Put32(b, 10, off);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(w));
  Put32(b, 22, static_cast<uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<uint32_t>(bpp));
  Put32(b, 30, compression);
  Put32(b, 34, static_cast<uint32_t>(rows.size()));
  for (uint32_t v : extra) {
    b.resize(b.size() + 4);
    Put32(b, b.size() - 4, v);
  }
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

class BitmapFiles : public ::testing::Test {
 protected:
  std::filesystem::path dir;
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("surface_bmp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Write(const std::string& name, const Bytes& b) {
    const std::string p = (dir / name).string();
    FILE* f = std::fopen(p.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (f != nullptr) {
      if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
      std::fclose(f);
    }
    return p;
  }
  // Loads and expects failure with a blank fallback surface and one warning naming p.
  void ExpectRefused(const std::string& p) {
    Surface s;
    s.Create(2, 2);
    s.Row(0)[0] = 0x123456;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadBitmap(s, p.c_str(), 7, 5));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(p), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(s.width, 7);
    EXPECT_EQ(s.height, 5);
    for (Colour c : s.pixels) EXPECT_EQ(c, 0u);
  }
};

TEST_F(BitmapFiles, TwentyFourBitBottomUpWithPadding) {
  // 3x2: each row 9 bytes + 3 padding; the file's first row is the picture's bottom row.
  const Bytes rows = {
      0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0, 0,  // bottom: red green blue
      0x10, 0x20, 0x30, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0, 0, 0,  // top
  };
  Surface s;
  ASSERT_TRUE(LoadBitmap(s, Write("a.bmp", MakeBmp(3, 2, 24, 0, {}, rows)).c_str()));
  ASSERT_EQ(s.width, 3);
  ASSERT_EQ(s.height, 2);
  EXPECT_EQ(s.At(0, 1), 0x0000FFu);  // red as 0x00BBGGRR
  EXPECT_EQ(s.At(1, 1), 0x00FF00u);
  EXPECT_EQ(s.At(2, 1), 0xFF0000u);
  EXPECT_EQ(s.At(0, 0), 0x102030u);  // bytes B G R = 10 20 30
  EXPECT_EQ(s.At(1, 0), 0xFFFFFFu);
}

TEST_F(BitmapFiles, PalettedDepths) {
  const std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
  // 1 bit, 10x1: bits 1010000011 padded to 4 bytes.
  {
    Surface s;
    ASSERT_TRUE(LoadBitmap(s, Write("b1.bmp", MakeBmp(10, 1, 1, 0, {0xFFFFFF, 0x0000FF}, {0xA0, 0xC0, 0, 0})).c_str()));
    const int bits[] = {1, 0, 1, 0, 0, 0, 0, 0, 1, 1};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(s.At(x, 0), bits[x] ? 0xFF0000u : 0xFFFFFFu) << x;
  }
  // 4 bits, 3x1: nibbles 1 2 4.
  {
    Bytes b = MakeBmp(3, 1, 4, 0, pal, {0x12, 0x40, 0, 0});
    Put32(b, 46, 5);  // five palette entries instead of sixteen
    Surface s;
    ASSERT_TRUE(LoadBitmap(s, Write("b4.bmp", b).c_str()));
    EXPECT_EQ(s.At(0, 0), 0x0000FFu);  // palette 0xFF0000 is RGB red
    EXPECT_EQ(s.At(1, 0), 0x00FF00u);
    EXPECT_EQ(s.At(2, 0), 0x808080u);
  }
  // 8 bits, 2x2 top-down (negative height), with a short palette (biClrUsed).
  {
    Bytes b = MakeBmp(2, -2, 8, 0, pal, {3, 0, 0, 0, 1, 2, 0, 0});
    Put32(b, 46, 5);
    Surface s;
    ASSERT_TRUE(LoadBitmap(s, Write("b8.bmp", b).c_str()));
    EXPECT_EQ(s.At(0, 0), 0xFF0000u);
    EXPECT_EQ(s.At(1, 0), 0x000000u);
    EXPECT_EQ(s.At(0, 1), 0x0000FFu);
    EXPECT_EQ(s.At(1, 1), 0x00FF00u);
  }
}

TEST_F(BitmapFiles, ThirtyTwoAndSixteenBit) {
  {
    Surface s;
    ASSERT_TRUE(LoadBitmap(s, Write("c32.bmp", MakeBmp(2, 1, 32, 0, {}, {1, 2, 3, 0xFF, 4, 5, 6, 0x7F})).c_str()));
    EXPECT_EQ(s.At(0, 0), 0x010203u);  // the fourth byte is ignored
    EXPECT_EQ(s.At(1, 0), 0x040506u);
  }
  {
    // Bit fields in an unusual order: red in the low byte.
    Surface s;
    Bytes b = MakeBmp(1, 1, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, {0x11, 0x22, 0x33, 0});
    ASSERT_TRUE(LoadBitmap(s, Write("f32.bmp", b).c_str()));
    EXPECT_EQ(s.At(0, 0), 0x332211u);
  }
  {
    // 5-6-5 bit fields: white and pure green; plain 16-bit is 5-5-5.
    Surface s;
    Bytes b = MakeBmp(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {0xFF, 0xFF, 0xE0, 0x07});
    ASSERT_TRUE(LoadBitmap(s, Write("f16.bmp", b).c_str()));
    EXPECT_EQ(s.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(s.At(1, 0), 0x00FF00u);
    ASSERT_TRUE(LoadBitmap(s, Write("p16.bmp", MakeBmp(1, 1, 16, 0, {}, {0x00, 0x7C, 0, 0})).c_str()));
    EXPECT_EQ(s.At(0, 0), 0x0000FFu);
  }
}

TEST_F(BitmapFiles, BackslashPathIsOpenedWithSlashes) {
  std::filesystem::create_directories(dir / "data");
  Write("data/x.bmp", MakeBmp(1, 1, 24, 0, {}, {9, 8, 7, 0}));
  const std::string p = dir.string() + "\\data\\x.bmp";
  Surface s;
  ASSERT_TRUE(LoadBitmap(s, p.c_str()));
  EXPECT_EQ(s.At(0, 0), 0x090807u);
  char out[8];
  NativePath("a\\bc\\defgh", out, sizeof out);
  EXPECT_STREQ(out, "a/bc/de");
  NativePath("x", out, 1);
  EXPECT_STREQ(out, "");
}

TEST_F(BitmapFiles, RelativeDataPathsAreTakenFromTheDataFolder) {
  std::filesystem::create_directories(dir / "data");
  Write("data/y.bmp", MakeBmp(1, 1, 24, 0, {}, {1, 2, 3, 0}));
  SetDataFolder(dir.string().c_str());  // the working directory is elsewhere
  Surface s;
  EXPECT_TRUE(LoadBitmap(s, "data\\y.bmp"));
  EXPECT_EQ(s.At(0, 0), 0x010203u);
  char out[64];
  DataPath("/abs\\z.bmp", out, sizeof out);  // an absolute path stays as it is
  EXPECT_STREQ(out, "/abs/z.bmp");
  SetDataFolder("/opt/k");
  DataPath("data\\a.wav", out, sizeof out);
  EXPECT_STREQ(out, "/opt/k/data/a.wav");
  DataPath("data\\a.wav", out, 8);  // cut, still terminated
  EXPECT_STREQ(out, "/opt/k/");
  SetDataFolder(nullptr);
  DataPath("data\\a.wav", out, sizeof out);
  EXPECT_STREQ(out, "data/a.wav");
}

TEST_F(BitmapFiles, MissingFileGivesBlankSurfaceAndOneWarning) {
  ExpectRefused((dir / "missing.bmp").string());
  ExpectRefused(dir.string());  // a directory, not a file
}

TEST_F(BitmapFiles, DamagedFilesAreRefusedWithoutReadingPastTheEnd) {
  const Bytes good = MakeBmp(4, 4, 24, 0, {}, Bytes(48, 0x55));
  ExpectRefused(Write("empty.bmp", {}));
  ExpectRefused(Write("short.bmp", Bytes(good.begin(), good.begin() + 20)));
  ExpectRefused(Write("truncated.bmp", Bytes(good.begin(), good.end() - 1)));
  Bytes b = good;
  b[0] = 'P';
  ExpectRefused(Write("magic.bmp", b));
  b = good;
  Put32(b, 10, 0xFFFFFFF0);  // pixel data offset far past the end
  ExpectRefused(Write("offset.bmp", b));
  b = good;
  Put32(b, 14, 0x7FFFFFFF);  // info header larger than the file
  ExpectRefused(Write("header.bmp", b));
  b = good;
  Put32(b, 18, 0x40000000);  // enormous width
  ExpectRefused(Write("width.bmp", b));
  b = good;
  Put32(b, 22, 0x80000000);  // height INT_MIN
  ExpectRefused(Write("height.bmp", b));
  b = good;
  Put32(b, 18, 0);
  ExpectRefused(Write("zero.bmp", b));
  b = good;
  Put16(b, 28, 7);
  ExpectRefused(Write("depth.bmp", b));
  b = good;
  Put32(b, 30, 1);  // run-length compression
  ExpectRefused(Write("rle.bmp", b));
  // A palette that claims more entries than the file holds.
  Bytes p = MakeBmp(1, 1, 8, 0, {0, 0}, {0, 0, 0, 0});
  Put32(p, 46, 200);
  Put32(p, 10, 54);
  p.resize(60);
  ExpectRefused(Write("palette.bmp", p));
}

TEST_F(BitmapFiles, WritePngAndReportFailure) {
  Surface s;
  s.Create(3, 2);
  s.Row(1)[2] = 0x0000FF;
  const std::string p = (dir / "shot.png").string();
  ASSERT_TRUE(WritePng(s, p.c_str()));
  FILE* f = std::fopen(p.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  unsigned char sig[8] = {};
  EXPECT_EQ(std::fread(sig, 1, 8, f), 8u);
  std::fclose(f);
  EXPECT_EQ(sig[1], 'P');
  EXPECT_EQ(sig[2], 'N');
  EXPECT_EQ(sig[3], 'G');

  const std::string bad = (dir / "no_such_dir" / "shot.png").string();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(WritePng(s, bad.c_str()));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(bad), std::string::npos) << err;
}

}  // namespace
}  // namespace plat
