// Draws talvex's six bitmaps (the platform, the masks, the climber's four poses, the
// tower wall, the ending picture and its mask) and synthesises its four sound cues. Run
// as `make_talvex_assets OUTDIR SRCDIR`.
//
// Sprites are drawn with an AND mask then an XOR picture, so every picture is black
// outside its mask's shape and every mask is black where the picture is opaque.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>
#include "tools/assetkit.h"
#include "tools/picturekit.h"
#include "tools/soundkit.h"

namespace {

using assets::Colour;
using assets::ColourOf;
using assets::Image;
using assets::Mix;
using assets::Pack;
using assets::Scale;

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kWhite = 0xFFFFFF;

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// Distance from (px, py) to the segment (ax, ay)-(bx, by).
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double vx = bx - ax, vy = by - ay;
  const double len2 = vx * vx + vy * vy;
  const double t = len2 > 0 ? Clamp01(((px - ax) * vx + (py - ay) * vy) / len2) : 0;
  const double dx = px - (ax + t * vx), dy = py - (ay + t * vy);
  return std::sqrt(dx * dx + dy * dy);
}

// ---------------------------------------------------------------- the climber

struct Point {
  double x, y;
};

// A stick figure: a head, a torso, two arms and two legs, each limb two segments, and a
// scarf whose end trails with the motion.
struct Figure {
  Point head;
  double headR;
  Point neck, hip;
  Point elbow[2], hand[2];
  Point knee[2], foot[2];
  Point scarfEnd;
};

// Which part of the figure covers (x, y): 0 none, 1 skin, 2 jacket, 3 trousers, 4 boots,
// 5 scarf, 6 hair. `grow` widens every part (for the outline).
int FigurePart(const Figure& f, double x, double y, double scale, double grow) {
  const double limb = 1.25 * scale + grow, torso = 2.0 * scale + grow;
  const double hx = x - f.head.x, hy = y - f.head.y;
  const double headD = std::sqrt(hx * hx + hy * hy);
  if (headD < f.headR + grow) return hy < -0.25 * f.headR && grow == 0 ? 6 : 1;
  if (SegmentDistance(x, y, f.neck.x, f.neck.y, f.scarfEnd.x, f.scarfEnd.y) < 0.9 * scale + grow)
    return 5;
  for (int i = 0; i < 2; ++i) {
    if (SegmentDistance(x, y, f.elbow[i].x, f.elbow[i].y, f.hand[i].x, f.hand[i].y) < limb) {
      const double dx = x - f.hand[i].x, dy = y - f.hand[i].y;
      return dx * dx + dy * dy < 2.0 * scale * scale ? 1 : 2;
    }
    if (SegmentDistance(x, y, f.neck.x, f.neck.y + scale, f.elbow[i].x, f.elbow[i].y) < limb) return 2;
  }
  if (SegmentDistance(x, y, f.neck.x, f.neck.y, f.hip.x, f.hip.y) < torso) return 2;
  for (int i = 0; i < 2; ++i) {
    if (SegmentDistance(x, y, f.knee[i].x, f.knee[i].y, f.foot[i].x, f.foot[i].y) < limb + 0.15 * scale) {
      const double dx = x - f.foot[i].x, dy = y - f.foot[i].y;
      return dx * dx + dy * dy < 3.0 * scale * scale ? 4 : 3;
    }
    if (SegmentDistance(x, y, f.hip.x, f.hip.y, f.knee[i].x, f.knee[i].y) < limb + 0.15 * scale) return 3;
  }
  return 0;
}

Colour PartColour(int part) {
  switch (part) {
    case 1: return ColourOf(0xF2C9A0);  // skin
    case 2: return ColourOf(0xE8402A);  // red jacket
    case 3: return ColourOf(0x3A5BC8);  // blue trousers
    case 4: return ColourOf(0x5A3A22);  // boots
    case 5: return ColourOf(0xFFD23A);  // yellow scarf
    case 6: return ColourOf(0x3A2416);  // hair
    default: return {0, 0, 0};
  }
}

// Draws the figure into picture and mask at (ox, oy) with the given scale: parts in
// their colours, lit from the top left, inside a dark one-pixel outline.
void DrawFigure(Image& picture, Image* mask, const Figure& f, int ox, int oy, int w, int h, double scale) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const int part = FigurePart(f, px, py, scale, 0);
      const int outline = part ? part : FigurePart(f, px, py, scale, 1.0);
      if (!outline) continue;
      uint32_t c = Pack(ColourOf(0x141018));
      if (part) {
        // A little light from the upper left on every part.
        const double lit = 1.0 + 0.18 * (FigurePart(f, px + 1, py + 1, scale, 0) != part) -
                           0.22 * (FigurePart(f, px - 1, py - 1, scale, 0) != part);
        c = Pack(Scale(PartColour(part), lit));
        if (c == 0) c = 0x010101;
      }
      picture.Set(ox + x, oy + y, c);
      if (mask) mask->Set(ox + x, oy + y, 0);
    }
  }
}

Figure Mirror(Figure f, double width) {
  auto m = [width](Point& p) { p.x = width - p.x; };
  m(f.head), m(f.neck), m(f.hip), m(f.scarfEnd);
  for (int i = 0; i < 2; ++i) m(f.elbow[i]), m(f.hand[i]), m(f.knee[i]), m(f.foot[i]);
  return f;
}

// The four poses in a 32x32 cell: standing, moving left, moving right, holding on.
Figure Pose(int p) {
  Figure f{};
  switch (p) {
    case 0:  // standing, arms relaxed, feet apart
      f = {{16, 6}, 3.6, {16, 10.5}, {16, 20}, {{12.5, 15}, {19.5, 15}}, {{11.5, 20}, {20.5, 20}},
           {{14, 25}, {18, 25}}, {{12.5, 29.5}, {19.5, 29.5}}, {19.5, 13}};
      break;
    case 1:  // walking to the left: leaning in, long stride, scarf streaming behind
    case 2:
      f = {{13.5, 6.5}, 3.6, {14.5, 11}, {16.5, 20}, {{11, 14.5}, {19.5, 15.5}}, {{8, 17.5}, {21.5, 19.5}},
           {{12.5, 24}, {20, 24.5}}, {{9, 29.5}, {23, 28.5}}, {24, 10}};
      if (p == 2) f = Mirror(f, 32);
      break;
    default:  // holding on: both hands up on the ledge, legs hanging
      f = {{16, 9}, 3.6, {16, 13.5}, {16, 22}, {{12, 8}, {20, 8}}, {{11, 2.5}, {21, 2.5}},
           {{14.5, 26.5}, {18.5, 26}}, {{14, 30.5}, {19.5, 30.5}}, {18.5, 18}};
      break;
  }
  return f;
}

// ---------------------------------------------------------------- the platform

// A wooden ledge with an iron bracket beneath, seen from the front: a lit top face, the
// plank's front with its grain, and the bracket's wedge. Returns whether (x, y) is inside.
bool PlatformPixel(int x, int y, uint32_t& out) {
  const double px = x + 0.5, py = y + 0.5;
  // Top face: rows 24..28, slightly narrower at the back.
  if (py >= 24 && py < 29 && px >= 4 + (29 - py) * 0.6 && px < 60 - (29 - py) * 0.6) {
    const double grain = 0.5 + 0.5 * std::sin(px * 0.9 + 3 * assets::ValueNoise(px, py, 6, 7));
    out = Pack(Mix(ColourOf(0xE2A866), ColourOf(0xF4C98A), grain * 0.6 + (py - 24) * 0.04));
    return true;
  }
  // Front of the plank: rows 29..38.
  if (py >= 29 && py < 39 && px >= 3 && px < 61) {
    const double grain = assets::ValueNoise(px * 0.25, py * 2.2, 1.5, 11);
    double shade = 0.75 + 0.25 * grain - (py - 29) * 0.025;
    if (px < 5 || px > 59 || py > 37.5) shade *= 0.7;  // rounded edges
    Colour c = Scale(ColourOf(0xB0713A), shade);
    if (std::fabs(px - 21) < 0.8 || std::fabs(px - 43) < 0.8) c = Scale(c, 0.6);  // plank joints
    out = Pack(c);
    return true;
  }
  // Iron bracket: a wedge from the plank's underside to the wall, rows 39..53.
  if (py >= 39 && py < 54) {
    const double half = 18 * (54 - py) / 15 + 3;
    if (std::fabs(px - 32) < half) {
      const double edge = half - std::fabs(px - 32);
      const bool rim = edge < 1.6 || py > 52.5;
      const bool hole = std::fabs(px - 32) < half * 0.45 && py < 49 && py > 41 && !rim;
      if (hole) return false;
      Colour c = rim ? ColourOf(0x6A7078) : ColourOf(0x4A4F58);
      if (px < 32) c = Scale(c, 1.15);
      out = Pack(c);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------- the tower wall

constexpr int kTowerW = 320, kTowerH = 480;
constexpr int kBrickW = 40, kBrickH = 24;  // 8 bricks across, 20 courses: the tile repeats

Colour StoneAt(double x, double y) {
  const int course = static_cast<int>(y) / kBrickH;
  const double shift = (course % 2) * (kBrickW / 2.0);
  const double bx = std::fmod(x + shift, kTowerW);
  const int brick = static_cast<int>(bx) / kBrickW;
  const double u = bx - brick * kBrickW, v = y - course * kBrickH;  // inside the brick
  // Mortar joints, slightly uneven.
  const double joint = 1.6 + 0.6 * assets::ValueNoise(x, y, 8, 3, kTowerW / 8, kTowerH / 8);
  const double edge = std::min({u, kBrickW - u, v, kBrickH - v});
  const double grit = assets::ValueNoise(x, y, 4, 5, kTowerW / 4, kTowerH / 4);
  if (edge < joint) return Scale(ColourOf(0x3C3A44), 0.8 + 0.3 * grit);
  // Each stone its own shade; a rough surface; a lit top-left bevel and a dark lower rim.
  const double tone = assets::HashUnit(brick, course, 17);
  Colour base = Mix(ColourOf(0x8C8A98), ColourOf(0xA89A86), tone);
  const double rough = assets::ValueNoise(x, y, 16, 9, kTowerW / 16, kTowerH / 16);
  base = Scale(base, 0.82 + 0.22 * rough + 0.12 * (grit - 0.5));
  if (u - joint < 2 || v - joint < 2) base = Scale(base, 1.18);
  if (kBrickW - u - joint < 2 || kBrickH - v - joint < 2) base = Scale(base, 0.72);
  // Moss where a slow noise runs high, thicker toward the bottom of a stone.
  const double moss = assets::ValueNoise(x, y, 40, 21, kTowerW / 40, kTowerH / 40) + v / kBrickH * 0.15;
  if (moss > 0.72) base = Mix(base, ColourOf(0x4F7A3A), Clamp01((moss - 0.72) * 5) * 0.75);
  return base;
}

// Narrow arched windows with a warm light inside, at whole-brick places of the tile.
bool WindowAt(double x, double y, Colour& out) {
  struct Win {
    double cx, top, bottom;
  };
  static const Win wins[] = {{100, 72, 120}, {260, 312, 360}};
  for (const Win& w : wins) {
    const double dx = x - w.cx;
    const double halfW = 8;
    const double archY = w.top + halfW;
    const bool inside = std::fabs(dx) < halfW && y < w.bottom &&
                        (y >= archY || dx * dx + (y - archY) * (y - archY) < halfW * halfW);
    const bool frame = std::fabs(dx) < halfW + 3 && y < w.bottom + 3 &&
                       (y >= archY || dx * dx + (y - archY) * (y - archY) < (halfW + 3) * (halfW + 3));
    if (inside) {
      const double glow = 1 - std::fabs(dx) / halfW * 0.5 - (y - w.top) / (w.bottom - w.top) * 0.3;
      out = Mix(ColourOf(0x6A3A10), ColourOf(0xFFD070), glow);
      return true;
    }
    if (frame) {
      out = Scale(ColourOf(0xB8B0A0), y > w.bottom ? 0.8 : 1.0);
      return true;
    }
  }
  return false;
}

Image MakeTower() {
  Image img(kTowerW, kTowerH);
  for (int y = 0; y < kTowerH; ++y) {
    for (int x = 0; x < kTowerW; ++x) {
      Colour c;
      if (!WindowAt(x + 0.5, y + 0.5, c)) c = StoneAt(x + 0.5, y + 0.5);
      img.Set(x, y, Pack(c));
    }
  }
  return img;
}

// ---------------------------------------------------------------- the ending

constexpr int kEndW = 640, kEndH = 480;

// The summit at night: a great moon with its halo, a sea of moonlit clouds, and the top
// of the tower with its battlements, a flag, and the climber cheering. The sky is left
// black and transparent so the stars drift behind it.
void MakeEnding(Image& picture, Image& mask) {
  picture = Image(kEndW, kEndH, 0);
  mask = Image(kEndW, kEndH, kWhite);
  auto put = [&](int x, int y, Colour c) {
    uint32_t p = Pack(c);
    if (p == 0) p = 0x010101;  // opaque black still hides the stars
    picture.Set(x, y, p);
    mask.Set(x, y, 0);
  };

  // Moon and halo.
  const double mx = 470, my = 120, mr = 62;
  for (int y = 0; y < 300; ++y) {
    for (int x = 300; x < kEndW; ++x) {
      const double dx = x + 0.5 - mx, dy = y + 0.5 - my;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d < mr) {
        const double craters = assets::ValueNoise(x, y, 14, 31) * 0.6 + assets::ValueNoise(x, y, 5, 32) * 0.4;
        Colour c = Mix(ColourOf(0xFFF6D8), ColourOf(0xD8C8A0), Clamp01((craters - 0.35) * 1.6));
        c = Scale(c, 1.0 - 0.25 * std::pow(d / mr, 3));  // darker toward the limb
        put(x, y, c);
      } else {
        const double glow = std::exp(-(d - mr) / 26.0);
        if (glow > 0.035) put(x, y, Scale(ColourOf(0x6A78A8), glow));
      }
    }
  }

  // Sea of clouds: three layered bands, lit from the moon above right.
  for (int y = 300; y < kEndH; ++y) {
    for (int x = 0; x < kEndW; ++x) {
      Colour c{0, 0, 0};
      bool any = false;
      for (int layer = 0; layer < 3; ++layer) {
        const double base = 330 + layer * 45;
        const double top = base - 26 * assets::ValueNoise(x, layer * 100, 48 - layer * 10, 40 + layer) -
                           10 * assets::ValueNoise(x, layer * 100, 12, 50 + layer);
        if (y + 0.5 < top) continue;
        const double depth = (y + 0.5 - top) / 40.0;
        const double lit = Clamp01(1 - depth) * (0.7 + 0.3 * x / kEndW);
        const Colour dark = Scale(ColourOf(0x28304C), 1 + layer * 0.25);
        c = Mix(dark, ColourOf(0xC8D2F0), lit * (0.75 + layer * 0.1));
        any = true;
      }
      if (any) put(x, y, c);
    }
  }

  // The tower's top: a stone cylinder in the middle with battlements, shaded round.
  const double tx = 220, tr = 120, wallTop = 326, merlonTop = 298;
  for (int y = 290; y < kEndH; ++y) {
    for (int x = static_cast<int>(tx - tr); x < tx + tr; ++x) {
      const double u = (x + 0.5 - tx) / tr;  // -1..1 across the tower
      const double theta = std::asin(std::clamp(u, -1.0, 1.0));
      const double texX = std::fmod((theta * 180 / kPi) * 16 / 9 + 160 + 640, kTowerW);
      const double yy = y + 0.5;
      bool inside = yy >= wallTop;
      if (!inside && yy >= merlonTop) {
        const double m = std::fmod(texX, 40.0);
        inside = m >= 4 && m < 26;  // merlons and the gaps between them
      }
      if (!inside) continue;
      Colour c = StoneAt(texX, std::fmod(yy + 4 * kTowerH, kTowerH));
      if (yy >= wallTop && yy < wallTop + 8) c = Scale(ColourOf(0xB4AEA4), yy < wallTop + 2 ? 1.15 : 0.9);
      const double light = 0.35 + 0.75 * Clamp01(0.55 + 0.6 * u);  // the moon is to the right
      put(x, y, Scale(c, light));
    }
  }

  // Flag on a pole at the left of the top.
  for (int y = 200; y < 320; ++y) {
    for (int x = 140; x < 200; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (std::fabs(px - 146) < 1.6 && py < 318) {
        put(x, y, ColourOf(py < 203 ? 0xFFE080 : 0xC8C8D0));
        continue;
      }
      const double wave = 4 * std::sin((px - 148) * 0.16);
      if (px > 147.5 && px < 196 && py > 206 + wave && py < 238 + wave) {
        const double shade = 0.8 + 0.2 * std::sin((px - 148) * 0.16 + 1.2);
        const bool stripe = py > 219 + wave && py < 225 + wave;
        put(x, y, Scale(ColourOf(stripe ? 0xFFD23A : 0xE8402A), shade));
      }
    }
  }

  // "THE SUMMIT" in gold block letters over the clouds' left.
  static const char* const kGlyphs[][7] = {
      {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."},   // T
      {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},   // H
      {"#####", "#....", "#....", "####.", "#....", "#....", "#####"},   // E
      {".....", ".....", ".....", ".....", ".....", ".....", "....."},   // space
      {".####", "#....", "#....", ".###.", "....#", "....#", "####."},   // S
      {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},   // U
      {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"},   // M
      {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"},   // M
      {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"},   // I
      {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."},   // T
  };
  const int cellPx = 5, left = 40, top = 48;
  for (int g = 0; g < 10; ++g) {
    for (int gy = 0; gy < 7; ++gy) {
      for (int gx = 0; gx < 5; ++gx) {
        if (kGlyphs[g][gy][gx] != '#') continue;
        for (int y = 0; y < cellPx + 1; ++y) {
          for (int x = 0; x < cellPx + 1; ++x) {
            const int px = left + g * 6 * cellPx + gx * cellPx + x, py = top + gy * cellPx + y;
            // Gold lit from above, with a dark rim on the lower right of each block.
            const bool rim = x == cellPx || y == cellPx;
            const double t = (gy * cellPx + y) / (7.0 * cellPx);
            put(px, py, rim ? ColourOf(0x5A3A08) : Mix(ColourOf(0xFFF0A0), ColourOf(0xE09A20), t));
          }
        }
      }
    }
  }

  // The climber on top, cheering with both arms up, three times the sprite's size.
  Figure f = {{16, 7}, 3.6, {16, 11.5}, {16, 21}, {{11.5, 8.5}, {20.5, 8.5}}, {{9, 3}, {23, 3}},
              {{13.5, 25.5}, {18.5, 25.5}}, {{12, 30.5}, {20, 30.5}}, {22, 14}};
  const double s = 3;
  Figure big = f;
  auto scale = [&](Point& p) { p.x *= s, p.y *= s; };
  scale(big.head), scale(big.neck), scale(big.hip), scale(big.scarfEnd);
  for (int i = 0; i < 2; ++i) scale(big.elbow[i]), scale(big.hand[i]), scale(big.knee[i]), scale(big.foot[i]);
  big.headR *= s;
  Image fig(96, 96, 0);
  Image figMask(96, 96, kWhite);
  DrawFigure(fig, &figMask, big, 0, 0, 96, 96, s);
  // A face: two eyes and a wide smile.
  const double r = big.headR;
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      const double px = x + 0.5 - big.head.x, py = y + 0.5 - big.head.y;
      const bool eye = std::hypot(std::fabs(px) - 0.38 * r, py - 0.05 * r) < 0.14 * r;
      const double d = std::hypot(px, py + 0.05 * r);
      const bool smile = py > 0.2 * r && d > 0.46 * r && d < 0.6 * r && std::fabs(px) < 0.45 * r;
      if (eye) fig.Set(x, y, Pack(ColourOf(0x2A1A10)));
      if (smile) fig.Set(x, y, Pack(ColourOf(0x8A2A1A)));
    }
  }
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x)
      if (figMask.Get(x, y) == 0) put(230 + x - 48, 330 - 94 + y, assets::Unpack(fig.Get(x, y)));
}

// ---------------------------------------------------------------- sounds

// A hop: a short rising square blip with a soft thump under it.
assets::Sound MakeJump() {
  assets::Wave w = assets::Silence(0.16);
  assets::Phase ph;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = assets::Time(i);
    const double f = assets::GlideExp(t, 260, 760, 0.11);
    w[i] = 0.5 * assets::Square(ph(f)) * assets::Envelope(t, 0.004, 0.05, 0.16, 0.03);
  }
  assets::LowPassAll(w, 3200);
  assets::AddTone(w, {.f0 = 120, .f1 = 70, .glide = 0.05, .attack = 0.002, .decay = 0.03, .gain = 0.8});
  return assets::Finish(w, {.peak = 0.35}, "jump.wav");
}

// A grip: a dry scrape of hands on wood, then a knock.
assets::Sound MakeGrip() {
  assets::Wave w = assets::Silence(0.14);
  assets::Noise noise;
  assets::Resonant band;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = assets::Time(i);
    w[i] = band.Band(noise(), 1800 - 6000 * t, 2.0) * assets::Envelope(t, 0.002, 0.03, 0.14, 0.02);
  }
  assets::AddTone(w, {.start = 0.004, .f0 = 320, .f1 = 240, .glide = 0.03, .attack = 0.001, .decay = 0.025,
                      .gain = 0.7, .partials = {1.0, 0.4, 0.2}});
  return assets::Finish(w, {.peak = 0.32}, "grip.wav");
}

// A push-off: an upward whoosh of filtered noise with a rising tone inside it.
assets::Sound MakePushOff() {
  assets::Wave w = assets::Silence(0.28);
  assets::Noise noise;
  assets::Resonant band;
  assets::Phase ph;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = assets::Time(i);
    const double f = assets::GlideExp(t, 400, 2400, 0.22);
    const double env = assets::Rise(t, 0.06) * assets::Fall(t, 0.28, 0.16);
    w[i] = (band.Band(noise(), f, 3.0) * 0.9 + 0.25 * assets::Sine(ph(f * 0.5))) * env;
  }
  return assets::Finish(w, {.peak = 0.34}, "pushoff.wav");
}

// The ending: a rising fanfare of bells over a held major chord.
assets::Sound MakeEnding() {
  assets::Wave w = assets::Silence(2.6);
  const double notes[] = {523.25, 659.25, 783.99, 1046.5, 1318.5};
  for (int i = 0; i < 5; ++i) {
    assets::AddBell(w, {.start = 0.13 * i, .freq = notes[i], .ratio = 2.0, .index = 1.0, .indexDecay = 0.1,
                        .decay = 0.5, .gain = 0.6});
  }
  const double chord[] = {261.63, 329.63, 392.0, 523.25};
  for (double f : chord) {
    assets::AddTone(w, {.start = 0.65, .f0 = f, .f1 = f, .attack = 0.08, .decay = 0.9, .gain = 0.35,
                        .partials = {1.0, 0.35, 0.2, 0.1}});
  }
  assets::AddBell(w, {.start = 0.65, .freq = 2093, .ratio = 3.5, .index = 0.8, .decay = 0.7, .gain = 0.4});
  return assets::Finish(w, {.peak = 0.4, .fadeOut = 0.2}, "ending.wav");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) assets::Fail("make_talvex_assets", "usage: make_talvex_assets OUTDIR [SRCDIR]");
  const std::string out = std::string(argv[1]) + "/data/";
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec) assets::Fail(out, "cannot create the folder: " + ec.message());

  // Platform picture and mask.
  Image boko(64, 64, 0);
  Image mask(192, 64, kWhite);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      uint32_t c = 0;
      if (!PlatformPixel(x, y, c)) continue;
      boko.Set(x, y, c == 0 ? 0x010101 : c);
      mask.Set(x, y, 0);
    }
  }
  assets::CheckAgainstMask(boko, mask, 0, 64, "boko.bmp");

  // The four poses: mask cells at x = 64 + 32p.
  Image stick(128, 32, 0);
  for (int p = 0; p < 4; ++p) {
    Image cell(32, 32, 0), cellMask(32, 32, kWhite);
    DrawFigure(cell, &cellMask, Pose(p), 0, 0, 32, 32, 1.0);
    stick.Paste(cell, 32 * p, 0);
    mask.Paste(cellMask, 64 + 32 * p, 0);
    assets::CheckAgainstMask(cell, mask, 2 + p, 32, "stick.bmp");
  }

  Image end, endMask;
  MakeEnding(end, endMask);
  assets::CheckAgainstMask(end, endMask, 0, kEndW, "end.bmp");

  assets::WriteBmp(out + "boko.bmp", boko);
  assets::WriteBmp(out + "mask.bmp", mask);
  assets::WriteBmp(out + "stick.bmp", stick);
  assets::WriteBmp(out + "tower.bmp", MakeTower());
  assets::WriteBmp(out + "end.bmp", end);
  assets::WriteBmp(out + "endmask.bmp", endMask);
  assets::WriteWav(out + "jump.wav", MakeJump());
  assets::WriteWav(out + "grip.wav", MakeGrip());
  assets::WriteWav(out + "pushoff.wav", MakePushOff());
  assets::WriteWav(out + "ending.wav", MakeEnding());
  return 0;
}
