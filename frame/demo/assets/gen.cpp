// Makes the frame demonstration's pictures: a 640x480 background drawn by code, and the
// sprite sheet (with its mask) from pixel art scaled twice.
#include <cmath>
#include <filesystem>
#include <string>

#include "tools/assetkit.h"
#include "tools/picturekit.h"

namespace {

assets::Image Background() {
  assets::Image img(640, 480);
  // Evening sky: deep blue at the top to a warm rose at the bottom, under a faint grid
  // every 32 pixels.
  const assets::Colour top{40, 60, 140}, bottom{210, 130, 100}, grid{18, 18, 24};
  for (int y = 0; y < 480; ++y) {
    const assets::Colour sky = assets::Mix(top, bottom, y / 479.0);
    for (int x = 0; x < 640; ++x) {
      const bool onGrid = x % 32 == 0 || y % 32 == 0;
      img.Set(x, y, assets::PackDown(onGrid ? sky + grid : sky));
    }
  }
  // Stars in the upper half, from a fixed generator so every build is the same.
  uint32_t s = 12345;
  for (int i = 0; i < 90; ++i) {
    s = s * 1103515245u + 12345u;
    const int x = static_cast<int>((s >> 8) % 640);
    s = s * 1103515245u + 12345u;
    const int y = static_cast<int>((s >> 8) % 220);
    img.Set(x, y, assets::Rgb(0xFFFFE0));
    if (i % 7 == 0) {
      img.Set(x + 1, y, assets::Rgb(0xC0C0FF));
      img.Set(x, y + 1, assets::Rgb(0xC0C0FF));
    }
  }
  // Rolling hills at the bottom.
  for (int x = 0; x < 640; ++x) {
    const int top = 400 + static_cast<int>(std::sin(x * 0.02) * 18 + std::sin(x * 0.051) * 9);
    for (int y = top; y < 480; ++y)
      img.Set(x, y, assets::Rgb(y == top ? 0x70C060 : (y - top) % 8 < 4 ? 0x2E6A30 : 0x2A6230));
  }
  return img;
}

assets::Image ScaleTwice(const assets::Image& src) {
  assets::Image out(src.width * 2, src.height * 2);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.Set(x, y, src.Get(x / 2, y / 2));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) assets::Fail("framedemo_assetgen", "usage: framedemo_assetgen OUTDIR SRCDIR");
  const std::string out = argv[1];
  const std::string src = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(out + "/data", ec);
  if (ec) assets::Fail(out + "/data", "cannot create the folder: " + ec.message());
  assets::WriteBmp(out + "/data/back.bmp", Background());
  const assets::Image chara = ScaleTwice(assets::ReadPixelArt(src + "/demo/assets/chara.txt"));
  assets::WriteBmp(out + "/data/chara.bmp", chara);
  assets::WriteBmp(out + "/data/mask.bmp", assets::MaskOf(chara));
  return 0;
}
