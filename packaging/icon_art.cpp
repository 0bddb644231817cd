// The programs' icons, drawn by code in each game's look.
#include "packaging/icon_art.h"

using plat::Colour;
using plat::Surface;

namespace kobako {
namespace {

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>(r) | static_cast<Colour>(g) << 8 | static_cast<Colour>(b) << 16;
}

// A disc of radius r (in 1/256 of the icon) at (x, y), in the icon's own scale.
void Disc(Surface& s, int x, int y, int r, Colour c) {
  const int n = s.width;
  plat::FillEllipse(s, (x - r) * n / 256, (y - r) * n / 256, (x + r) * n / 256 + 1,
                    (y + r) * n / 256 + 1, c);
}

void Box(Surface& s, int l, int t, int r, int b, Colour c) {
  const int n = s.width;
  plat::FillRect(s, l * n / 256, t * n / 256, r * n / 256, b * n / 256, c);
}

void Line(Surface& s, int x1, int y1, int x2, int y2, int thick, Colour c) {
  const int n = s.width;
  for (int d = -thick / 2; d <= thick / 2; ++d)
    plat::DrawLineTo(s, x1 * n / 256 + d, y1 * n / 256, x2 * n / 256 + d, y2 * n / 256, c);
}

// ball: a launcher firing white balls up a dark course at a red enemy.
void Ball(Surface& s) {
  Box(s, 0, 0, 256, 256, Rgb(16, 24, 64));
  for (int y = 0; y < 256; y += 64) Box(s, 0, y, 256, y + 4, Rgb(40, 56, 120));
  Disc(s, 180, 70, 34, Rgb(210, 40, 40));
  Disc(s, 170, 60, 8, Rgb(255, 255, 255));
  Disc(s, 190, 60, 8, Rgb(255, 255, 255));
  Disc(s, 110, 130, 22, Rgb(250, 250, 250));
  Disc(s, 80, 180, 16, Rgb(250, 220, 90));
  Box(s, 96, 210, 160, 240, Rgb(120, 200, 255));
  Line(s, 128, 210, 128, 170, 6, Rgb(120, 200, 255));
}

// volley: cells of drifting hues, a charged shot and a bullet.
void Volley(Surface& s) {
  static const Colour hues[6] = {Rgb(230, 60, 60),  Rgb(230, 200, 50), Rgb(60, 200, 80),
                                 Rgb(50, 200, 220), Rgb(60, 80, 230),  Rgb(200, 60, 220)};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) Box(s, x * 64, y * 64, x * 64 + 64, y * 64 + 64, hues[(x + y) % 6]);
  Disc(s, 128, 128, 44, Rgb(255, 255, 255));
  Disc(s, 128, 128, 28, Rgb(40, 40, 40));
  Disc(s, 60, 196, 14, Rgb(255, 255, 255));
}

// zombie: a green face on the night road.
void Zombie(Surface& s) {
  Box(s, 0, 0, 256, 256, Rgb(30, 20, 40));
  Box(s, 0, 200, 256, 256, Rgb(80, 70, 60));
  Disc(s, 128, 120, 84, Rgb(110, 170, 90));
  Disc(s, 96, 100, 18, Rgb(250, 240, 120));
  Disc(s, 160, 100, 18, Rgb(250, 240, 120));
  Disc(s, 96, 100, 7, Rgb(20, 20, 20));
  Disc(s, 160, 100, 7, Rgb(20, 20, 20));
  Box(s, 86, 158, 170, 170, Rgb(40, 60, 30));
  for (int x = 92; x < 170; x += 20) Box(s, x, 150, x + 8, 178, Rgb(40, 60, 30));
}

// ostel: a mosaic of lit squares around a red glowing body and a green bomb.
void Ostel(Surface& s) {
  Box(s, 0, 0, 256, 256, Rgb(0, 0, 0));
  unsigned r = 7;
  for (int i = 0; i < 40; ++i) {
    r = r * 1103515245u + 12345u;
    const int x = static_cast<int>(r >> 8) % 240, y = static_cast<int>(r >> 20) % 240;
    const int v = 90 + static_cast<int>(r >> 4) % 140;
    Box(s, x, y, x + 16, y + 16, Rgb(v, v, v));
  }
  Disc(s, 128, 150, 40, Rgb(230, 40, 30));
  Disc(s, 128, 150, 22, Rgb(255, 140, 110));
  Disc(s, 200, 70, 16, Rgb(40, 220, 60));
}

// boundary: the blue line, the green bundle with its yellow charge, orange dust.
void Boundary(Surface& s) {
  Box(s, 0, 0, 256, 256, Rgb(0, 0, 0));
  Box(s, 0, 124, 256, 132, Rgb(60, 110, 255));
  Box(s, 80, 112, 176, 144, Rgb(230, 220, 40));
  Box(s, 110, 104, 146, 152, Rgb(40, 210, 60));
  static const int dust[][2] = {{40, 60}, {70, 200}, {190, 50}, {220, 190}, {150, 220}, {100, 40}};
  for (const auto& d : dust) Disc(s, d[0], d[1], 10, Rgb(250, 170, 40));
  Line(s, 30, 90, 60, 110, 4, Rgb(190, 80, 240));
}

// quorin: tiles of red low ground and yellow-green heights seen from above.
void Quorin(Surface& s) {
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const int h = (x * 37 + y * 53 + x * y * 11) % 100;
      Box(s, x * 32, y * 32, x * 32 + 32, y * 32 + 32, Rgb(200 - h, 60 + h * 18 / 10, 30));
    }
  Box(s, 120, 120, 136, 136, Rgb(255, 255, 255));
}

// talvex: the wooden ledges of a tower against the sky, and the climber.
void Talvex(Surface& s) {
  Box(s, 0, 0, 256, 256, Rgb(90, 150, 230));
  Box(s, 64, 0, 192, 256, Rgb(120, 110, 100));
  for (int i = 0; i < 5; ++i) {
    const int y = 30 + i * 48, x = 40 + (i * 53) % 130;
    Box(s, x, y, x + 70, y + 12, Rgb(160, 100, 40));
  }
  Disc(s, 128, 200, 14, Rgb(240, 240, 90));
}

// gattrin: the square gate with a door on each side, two of them barred.
void Gattrin(Surface& s) {
  Box(s, 0, 0, 256, 256, Rgb(20, 30, 20));
  Box(s, 64, 64, 192, 192, Rgb(110, 80, 50));
  Box(s, 100, 100, 156, 156, Rgb(60, 200, 230));
  Box(s, 104, 52, 152, 64, Rgb(200, 160, 90));
  Box(s, 192, 104, 204, 152, Rgb(200, 160, 90));
  Line(s, 0, 30, 100, 30, 4, Rgb(240, 220, 60));
  Disc(s, 20, 220, 14, Rgb(220, 60, 60));
}

// The launcher: a box holding eight coloured tiles.
void Kobako(Surface& s) {
  Box(s, 0, 0, 256, 256, Rgb(120, 80, 40));
  Box(s, 16, 16, 240, 240, Rgb(60, 36, 16));
  static const Colour tiles[8] = {Rgb(230, 60, 60),  Rgb(230, 200, 50), Rgb(60, 200, 80),
                                  Rgb(50, 200, 220), Rgb(60, 80, 230),  Rgb(200, 60, 220),
                                  Rgb(240, 140, 40), Rgb(220, 220, 220)};
  for (int i = 0; i < 8; ++i) {
    const int x = 28 + (i % 4) * 52, y = 60 + (i / 4) * 76;
    Box(s, x, y, x + 44, y + 60, tiles[i]);
  }
}

// A game without a picture of its own yet: rings in a colour taken from its name.
void Rings(Surface& s, const std::string& name) {
  unsigned h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  const Colour a = Rgb(40 + h % 160, 40 + (h >> 8) % 160, 40 + (h >> 16) % 160);
  Box(s, 0, 0, 256, 256, Rgb(20, 20, 28));
  for (int r = 110; r > 0; r -= 24) {
    Disc(s, 128, 128, r, a);
    Disc(s, 128, 128, r - 10, Rgb(20, 20, 28));
  }
  Disc(s, 128, 128, 16, Rgb(250, 250, 250));
}

}  // namespace

void DrawIcon(Surface& s, const std::string& name) {
  if (name == "ball") Ball(s);
  else if (name == "volley") Volley(s);
  else if (name == "zombie") Zombie(s);
  else if (name == "ostel") Ostel(s);
  else if (name == "boundary") Boundary(s);
  else if (name == "quorin") Quorin(s);
  else if (name == "talvex") Talvex(s);
  else if (name == "gattrin") Gattrin(s);
  else if (name == "kobako") Kobako(s);
  else Rings(s, name);
}

}  // namespace kobako

