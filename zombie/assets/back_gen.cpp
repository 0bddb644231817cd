// Draws zombie's background, data/back.bmp: the battle field seen from above at night.
// Dark grass, three dirt roads down the lanes, the town wall with its gates at the top
// and the zombies' graveyard at the bottom. Kept dark and quiet so that the white lanes,
// the sprite cards and the black-on-white texts stand out. Also writes the sound cues
// (sound_gen.cpp).
#include <cmath>
#include <filesystem>
#include <cstdint>
#include <string>
#include "tools/assetkit.h"
#include "tools/picturekit.h"
#include "zombie/assets/sound_gen.h"

namespace {

using assets::Blend;
using assets::Colour;
using assets::Hash;
using assets::HashUnit;
using assets::Image;
using assets::Mix;
using assets::PackDown;
using assets::ValueNoise;

void Gravestone(Image& img, int x, int y, int kind) {
  const Colour stone{92, 96, 104}, dark{40, 42, 48}, light{128, 132, 140};
  if (kind == 0) {  // rounded stone, 12 x 16
    for (int j = 0; j < 16; ++j) {
      for (int i = 0; i < 12; ++i) {
        double dx = i - 5.5, dy = j - 5.5;
        bool inside = j >= 6 || dx * dx + dy * dy <= 36;
        if (!inside) continue;
        bool edge = i == 0 || i == 11 || j == 15 || (j < 6 && dx * dx + dy * dy > 25);
        Colour c = edge ? dark : (i < 3 ? light : stone);
        Blend(img, x + i, y + j, c, 0.85);
      }
    }
    for (int i = 3; i < 9; ++i) Blend(img, x + i, y + 7, dark, 0.6);  // engraving
    for (int i = 3; i < 9; ++i) Blend(img, x + i, y + 10, dark, 0.6);
  } else {  // cross, 11 x 16
    for (int j = 0; j < 16; ++j)
      for (int i = 4; i < 7; ++i) Blend(img, x + i, y + j, i == 4 ? light : stone, 0.85);
    for (int j = 4; j < 7; ++j)
      for (int i = 0; i < 11; ++i) Blend(img, x + i, y + j, j == 4 ? light : stone, 0.85);
  }
  for (int i = -2; i < 14; ++i) Blend(img, x + i, y + 16, dark, 0.5);  // shadow at the foot
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) assets::Fail("back_gen", "usage: back_gen OUTDIR [SRCDIR]");
  const int W = 640, H = 480;
  Image img(W, H);

  const Colour grassDark{24, 38, 26}, grassLight{40, 58, 36};
  const Colour earthDark{50, 42, 34}, earthLight{70, 60, 46};
  const int lanes[3] = {192, 320, 448};

  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      double n = ValueNoise(x, y, 48, 1) * 0.6 + ValueNoise(x, y, 12, 2) * 0.3 + HashUnit(x, y, 3) * 0.1;
      Colour c = Mix(grassDark, grassLight, n);
      // Dirt roads along the lanes, with wandering edges.
      for (int lane : lanes) {
        double half = 22 + (ValueNoise(lane, y, 20, 4) - 0.5) * 10;
        double d = std::fabs(x - lane - (ValueNoise(lane * 3, y, 60, 5) - 0.5) * 8);
        if (d < half + 3) {
          double t = assets::SoftEdge(d, half, 3);
          double e = ValueNoise(x, y, 6, 6) * 0.7 + HashUnit(x, y, 7) * 0.3;
          c = Mix(c, Mix(earthDark, earthLight, e), t * 0.9);
        }
      }
      // A soft vignette keeps the edges quiet.
      double vx = (x - W / 2.0) / (W / 2.0), vy = (y - H / 2.0) / (H / 2.0);
      double v = 1 - 0.35 * (vx * vx + vy * vy) / 2;
      img.Set(x, y, PackDown(assets::Scale(c, v)));
    }
  }

  // Grass tufts off the roads.
  for (int k = 0; k < 900; ++k) {
    int x = static_cast<int>(Hash(k, 0, 11) % W), y = static_cast<int>(Hash(k, 1, 11) % H);
    bool onRoad = false;
    for (int lane : lanes) onRoad = onRoad || std::abs(x - lane) < 30;
    if (onRoad) continue;
    Colour tuft{58, 84, 50};
    Blend(img, x, y, tuft, 0.6);
    Blend(img, x - 1, y + 1, tuft, 0.5);
    Blend(img, x + 1, y + 1, tuft, 0.5);
  }
  // Pebbles on the roads.
  for (int k = 0; k < 260; ++k) {
    int lane = lanes[Hash(k, 2, 12) % 3];
    int x = lane - 18 + static_cast<int>(Hash(k, 3, 12) % 36), y = 34 + static_cast<int>(Hash(k, 4, 12) % 400);
    Blend(img, x, y, {110, 100, 84}, 0.5);
  }

  // The town wall across the top, with a gate over each road.
  for (int y = 0; y < 26; ++y) {
    for (int x = 0; x < W; ++x) {
      bool gate = false;
      for (int lane : lanes) gate = gate || std::abs(x - lane) < 20;
      if (gate && y > 6) continue;
      int row = y / 6;
      int offset = (row % 2) * 10;
      bool mortar = y % 6 == 5 || (x + offset) % 20 == 19;
      double n = HashUnit(x / 20, row, 13) * 14;
      Colour brick{70 + n, 66 + n, 72 + n};
      Colour c = mortar ? Colour{36, 34, 40} : brick;
      if (y >= 24) c = {20, 20, 24};
      img.Set(x, y, PackDown(c));
    }
  }
  for (int lane : lanes) {  // dark gateways with a lintel
    for (int y = 7; y < 26; ++y)
      for (int x = lane - 19; x < lane + 20; ++x) Blend(img, x, y, {14, 12, 16}, 0.75);
    for (int x = lane - 22; x < lane + 23; ++x) {
      img.Set(x, 6, PackDown({98, 90, 84}));
      img.Set(x, 7, PackDown({40, 36, 34}));
    }
  }

  // The graveyard along the bottom, off the roads.
  const int stones[][3] = {{140, 452, 0}, {238, 446, 1}, {262, 458, 0}, {370, 450, 0},
                           {392, 460, 1}, {500, 446, 0}, {528, 456, 1}, {566, 444, 0},
                           {596, 458, 0}, {150, 380, 1}, {600, 392, 0}, {250, 392, 0},
                           {384, 388, 1}, {515, 384, 0}};
  for (const auto& s : stones) Gravestone(img, s[0], s[1], s[2]);

  std::filesystem::create_directories(std::string(argv[1]) + "/data");
  std::string out = std::string(argv[1]) + "/data/back.bmp";
  assets::WriteBmp(out, img);
  zombie_assets::WriteSounds(argv[1]);
  return 0;
}
