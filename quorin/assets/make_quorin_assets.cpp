// Draws quorin's two bitmaps (the ground texture sheet and the title picture) and
// synthesises its four sound cues. Run as `make_quorin_assets OUTDIR SRCDIR`.
//
// The game draws each tile as a colour block and then ANDs a 64x32 cell of the sheet over
// it, so the sheet's red and green channels are AND masks: values made of leading one
// bits (0xFF, 0xFE, 0xFC, ... 0x80, 0) darken the block step by step without changing
// its hue at random, and 0 cuts a black crack. Blue is never seen in the game.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>
#include "tools/assetkit.h"
#include "tools/picturekit.h"
#include "tools/soundkit.h"

namespace {

using assets::Colour;
using assets::Image;

constexpr double kPi = 3.14159265358979323846;
constexpr int kSheetW = 1280, kSheetH = 960;

// ---------------------------------------------------------------- the texture sheet

// AND masks from no bits to all eight, each keeping the top bits of a channel.
constexpr uint32_t kLevels[9] = {0x00, 0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF};

uint32_t Level(double t) {  // t in 0..1 to one of the masks
  return kLevels[std::clamp(static_cast<int>(t * 8.999), 0, 8)];
}

double Fractal(double x, double y, double cell, int seed) {
  return 0.55 * assets::ValueNoise(x, y, cell, seed) + 0.3 * assets::ValueNoise(x, y, cell / 2, seed + 1) +
         0.15 * assets::ValueNoise(x, y, cell / 4, seed + 2);
}

// A thin line where smooth noise crosses one half: the cracks of rock and dry ground.
bool Crack(double x, double y, double cell, int seed, double width) {
  return std::fabs(Fractal(x, y, cell, seed) - 0.5) < width;
}

uint32_t SheetTexel(int x, int y) {
  const double terrain = Fractal(x, y, 90, 10);  // grass, rock or dry earth
  const double detail = Fractal(x, y, 7, 20);
  const double grain = assets::HashUnit(x, y, 30);
  uint32_t r, g, b;
  if (terrain > 0.56) {
    // Grass: tufts where the red is taken away entirely, so they read green (or dark, on
    // low ground) at every height; the green kept, with darker blades.
    const double tufts = Fractal(x * 1.0, y * 2.0, 4, 40);
    r = tufts > 0.5 ? 0x00 : Level(0.12 + 0.25 * detail);
    g = Level(0.8 + 0.2 * detail - (grain < 0.08 ? 0.3 : 0));
    b = 0x30 + static_cast<uint32_t>(40 * detail);
  } else if (terrain > 0.42) {
    // Rock: both channels kept in grey-brown steps, split by dark cracks.
    const double shade = 0.6 + 0.4 * detail;
    r = Level(shade);
    g = Level(shade - 0.1 + 0.1 * grain);
    b = g;
    if (Crack(x, y, 40, 50, 0.012) || Crack(x, y, 17, 55, 0.008)) r = g = b = 0;
  } else {
    // Dry earth: red kept, green cut down in steps; fine cracks.
    r = Level(0.8 + 0.2 * detail);
    g = Level(0.3 + 0.3 * detail + 0.1 * grain);
    b = 0x40;
    if (Crack(x, y, 28, 60, 0.008)) r = g = b = 0;
  }
  // Stones: small darker lumps with a shadow on their lower right.
  const int px = x / 9, py = y / 9;
  if (assets::HashUnit(px, py, 70) < 0.1) {
    const double cx = px * 9 + 2 + 5 * assets::HashUnit(px, py, 71);
    const double cy = py * 9 + 2 + 5 * assets::HashUnit(px, py, 72);
    const double d = std::hypot(x - cx, (y - cy) * 1.3);
    const double shadow = std::hypot(x - cx - 0.8, (y - cy - 0.8) * 1.3);
    if (d < 1.8) r = g = b = 0xC0;
    else if (shadow < 2.2) r = g = b = 0x80;
  }
  return (b & 0xFF) << 16 | g << 8 | r;
}

Image DrawSheet() {
  Image img(kSheetW, kSheetH);
  for (int y = 0; y < kSheetH; ++y)
    for (int x = 0; x < kSheetW; ++x) img.Set(x, y, SheetTexel(x, y));
  return img;
}

// ---------------------------------------------------------------- the title picture

// The game's own view of a level: tiles of a 20x20 height map with mountains, drawn as
// colour blocks with a texture cell ANDed over them, seen from the given height.
void DrawGround(Image& img, const Image& sheet, float camZ) {
  uint32_t state = 4242;
  auto below = [&](int n) {
    state = state * 22695477u + 1;
    return static_cast<int>((state >> 16) & 0x7FFF) % n;
  };
  int height[20][20], ox[20][20], oy[20][20];
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      height[x][y] = below(32);
      ox[x][y] = below(1216);
      oy[x][y] = below(928);
    }
  const int peaks[3][2] = {{3, 4}, {14, 9}, {8, 16}};
  for (const auto& p : peaks)
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const int d = 36 - 6 * std::abs(x - p[0]) - 6 * std::abs(y - p[1]);
        if (d > 0) height[x][y] = std::min(32, height[x][y] + d);
      }
  const float D = 200 - camZ;
  const int boxW = static_cast<int>(2560 / D * 2 - 2), boxH = static_cast<int>(1280 / D * 2 - 2);
  const int sw = static_cast<int>(4800 / D * 2), sh = static_cast<int>(2240 / D * 2);
  for (int ty = -480; ty < 480; ty += 8) {
    for (int tx = -640; tx < 640; tx += 16) {
      const int X = tx + 8 * ((ty / 8) % 2);
      const int L = static_cast<int>((X / D + 1) * 320), T = static_cast<int>((ty / D + 1) * 320 - 80);
      if (L + sw < 0 || L >= 640 || T + sh < 0 || T >= 480) continue;
      const int cn = ((tx + 640) / 16 + 1) % 20, rn = ((ty + 480) / 8 + 1) % 20;
      const uint32_t red = static_cast<uint32_t>(64 * camZ * 4.0 * 0.005) & 0xFF;
      const uint32_t green = static_cast<uint32_t>(height[cn][rn] * 4.0 * camZ * 0.005) & 0xFF;
      img.Fill(L, T, boxW, boxH, red | green << 8);
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
          if (L + x < 0 || L + x >= img.width || T + y < 0 || T + y >= img.height) continue;
          const uint32_t tex = sheet.Get(ox[cn][rn] + x * 64 / sw, oy[cn][rn] + y * 32 / sh);
          img.Set(L + x, T + y, img.Get(L + x, T + y) & tex);
        }
    }
  }
}

// Capital letters as strokes in a box one unit high (x right, y down).
struct Stroke {
  double x0, y0, x1, y1;
};
struct Glyph {
  char c;
  double width;
  std::vector<Stroke> strokes;
};

void Arc(std::vector<Stroke>& s, double cx, double cy, double rx, double ry, double from, double to) {
  const int n = 28;
  for (int i = 0; i < n; ++i) {
    const double a0 = (from + (to - from) * i / n) * kPi / 180, a1 = (from + (to - from) * (i + 1) / n) * kPi / 180;
    s.push_back({cx + rx * std::cos(a0), cy + ry * std::sin(a0), cx + rx * std::cos(a1), cy + ry * std::sin(a1)});
  }
}

std::vector<Glyph> Font() {
  std::vector<Glyph> f;
  auto glyph = [&](char c, double w) -> std::vector<Stroke>& {
    f.push_back({c, w, {}});
    return f.back().strokes;
  };
  Arc(glyph('O', 0.86), 0.43, 0.5, 0.37, 0.47, 0, 360);
  {
    auto& q = glyph('Q', 0.9);
    Arc(q, 0.43, 0.5, 0.37, 0.47, 0, 360);
    q.push_back({0.52, 0.72, 0.86, 1.04});
  }
  {
    auto& u = glyph('U', 0.8);
    u.push_back({0.06, 0, 0.06, 0.62});
    Arc(u, 0.4, 0.62, 0.34, 0.36, 180, 0);  // the bottom half: y grows with the sine
    u.push_back({0.74, 0.62, 0.74, 0});
  }
  {
    auto& r = glyph('R', 0.76);
    r.push_back({0.06, 1, 0.06, 0});
    r.push_back({0.06, 0, 0.42, 0});
    Arc(r, 0.42, 0.25, 0.26, 0.25, -90, 90);
    r.push_back({0.42, 0.5, 0.06, 0.5});
    r.push_back({0.38, 0.5, 0.7, 1});
  }
  glyph('I', 0.12).push_back({0.06, 0, 0.06, 1});
  {
    auto& n = glyph('N', 0.8);
    n.push_back({0.06, 1, 0.06, 0});
    n.push_back({0.06, 0, 0.72, 1});
    n.push_back({0.72, 1, 0.72, 0});
  }
  Arc(glyph('C', 0.8), 0.44, 0.5, 0.38, 0.47, 42, 318);
  {
    auto& l = glyph('L', 0.62);
    l.push_back({0.06, 0, 0.06, 1});
    l.push_back({0.06, 1, 0.6, 1});
  }
  {
    auto& k = glyph('K', 0.72);
    k.push_back({0.06, 0, 0.06, 1});
    k.push_back({0.68, 0, 0.06, 0.62});
    k.push_back({0.3, 0.42, 0.7, 1});
  }
  return f;
}

double SegmentDistance(double px, double py, const Stroke& s) {
  const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - s.x0 - t * dx, py - s.y0 - t * dy);
}

// The strokes of a word laid out with its top-left at (x, y), `size` pixels high.
std::vector<Stroke> Layout(const std::string& word, double x, double y, double size, double gap) {
  static const std::vector<Glyph> font = Font();
  std::vector<Stroke> out;
  for (char c : word) {
    const Glyph* g = nullptr;
    for (const Glyph& candidate : font)
      if (candidate.c == c) g = &candidate;
    if (!g) assets::Fail("title.bmp", std::string("no glyph for ") + c);
    for (const Stroke& s : g->strokes)
      out.push_back({x + s.x0 * size, y + s.y0 * size, x + s.x1 * size, y + s.y1 * size});
    x += (g->width + gap) * size;
  }
  return out;
}

double WordWidth(const std::string& word, double size, double gap) {
  const std::vector<Stroke> s = Layout(word, 0, 0, size, gap);
  double right = 0;
  for (const Stroke& st : s) right = std::max({right, st.x0, st.x1});
  return right;
}

// Paints strokes of half-width `radius` in colour `c` (alpha-blended, soft edged).
template <typename ColourAt>
void PaintStrokes(Image& img, const std::vector<Stroke>& strokes, double radius, ColourAt colourAt) {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const Stroke& s : strokes) {
    x0 = std::min({x0, s.x0, s.x1});
    x1 = std::max({x1, s.x0, s.x1});
    y0 = std::min({y0, s.y0, s.y1});
    y1 = std::max({y1, s.y0, s.y1});
  }
  for (int y = static_cast<int>(y0 - radius - 2); y <= static_cast<int>(y1 + radius + 2); ++y)
    for (int x = static_cast<int>(x0 - radius - 2); x <= static_cast<int>(x1 + radius + 2); ++x) {
      double d = 1e9;
      for (const Stroke& s : strokes) d = std::min(d, SegmentDistance(x + 0.5, y + 0.5, s));
      const double a = assets::SoftEdge(d, radius, 1.2);
      if (a > 0) assets::Blend(img, x, y, colourAt(x, y), a);
    }
}

// Darkens rows y0..y1-1 down to `keep` of their light, fading in over `soft` rows at
// the band's inner edge (below it for a band at the top, above it for one at the bottom).
void DarkBand(Image& img, int y0, int y1, double keep, int soft, bool top) {
  for (int y = y0; y < y1; ++y) {
    const int inside = top ? y1 - 1 - y : y - y0;
    const double t = std::min(1.0, (inside + 1.0) / soft);
    for (int x = 0; x < img.width; ++x) assets::Blend(img, x, y, {0, 0, 0}, (1 - keep) * t);
  }
}

// A key cap with an arrow pointing at `angle` degrees (0 right, 90 down).
void ArrowKey(Image& img, double cx, double cy, double angle) {
  const double half = 15;
  for (int y = static_cast<int>(cy - half - 2); y <= cy + half + 2; ++y)
    for (int x = static_cast<int>(cx - half - 2); x <= cx + half + 2; ++x) {
      const double dx = std::max(0.0, std::fabs(x + 0.5 - cx) - (half - 4));
      const double dy = std::max(0.0, std::fabs(y + 0.5 - cy) - (half - 4));
      const double d = std::hypot(dx, dy);
      const double a = assets::SoftEdge(d, 4, 1.2);
      if (a <= 0) continue;
      const double lit = 0.75 + 0.25 * (cy - y) / half;
      assets::Blend(img, x, y, assets::Scale({235, 225, 205}, lit), a);
      if (d > 2.6) assets::Blend(img, x, y, {40, 30, 20}, a * 0.8);
    }
  const double c = std::cos(angle * kPi / 180), s = std::sin(angle * kPi / 180);
  auto at = [&](double u, double v) { return std::pair{cx + u * c - v * s, cy + u * s + v * c}; };
  const auto [tx, ty] = at(8, 0);
  const auto [lx, ly] = at(-1, -7);
  const auto [rx, ry] = at(-1, 7);
  const auto [bx, by] = at(-8, 0);
  const std::vector<Stroke> arrow = {{bx, by, tx, ty}, {lx, ly, tx, ty}, {rx, ry, tx, ty}};
  PaintStrokes(img, arrow, 1.6, [](int, int) { return Colour{40, 30, 20}; });
}

// A word with a dark outline and a lit fill, centred on cx.
void Word(Image& img, const std::string& word, double cx, double y, double size, double stroke, Colour top,
          Colour bottom) {
  const double gap = 0.16;
  const std::vector<Stroke> s = Layout(word, cx - WordWidth(word, size, gap) / 2, y, size, gap);
  PaintStrokes(img, s, stroke + 3.5, [](int, int) { return Colour{10, 6, 0}; });
  PaintStrokes(img, s, stroke, [&](int, int py) { return assets::Mix(top, bottom, std::clamp((py - y) / size, 0.0, 1.0)); });
}

Image DrawTitle(const Image& sheet) {
  Image img(640, 480);
  DrawGround(img, sheet, 150);
  // Falling: streaks rushing out from the point below the camera, and a vignette.
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const double dx = x - 320, dy = y - 240, r = std::hypot(dx, dy);
      const double angle = std::atan2(dy, dx);
      const double streak = assets::ValueNoise(angle * 60, 0, 1, 90, 377);
      const double rush = std::clamp((r - 120) / 260, 0.0, 1.0) * std::pow(streak, 6) * 0.8;
      assets::Blend(img, x, y, {255, 240, 200}, rush * 0.5);
      assets::Blend(img, x, y, {0, 0, 0}, std::clamp((r - 200) / 300, 0.0, 0.7));
    }
  // The target under the camera: a ring with four ticks.
  const Colour aim{255, 250, 210};
  std::vector<Stroke> ring;
  Arc(ring, 320, 240, 34, 34, 0, 360);
  ring.push_back({320, 190, 320, 212});
  ring.push_back({320, 268, 320, 290});
  ring.push_back({270, 240, 292, 240});
  ring.push_back({348, 240, 370, 240});
  PaintStrokes(img, ring, 2.2, [&](int, int) { return aim; });

  DarkBand(img, 0, 150, 0.45, 24, true);
  Word(img, "QUORIN", 320, 34, 84, 7, {255, 236, 150}, {220, 120, 30});

  // The invitation: a mouse with its left button lit and the word CLICK; beside them the
  // arrow keys that steer.
  DarkBand(img, 372, 480, 0.45, 24, false);
  Word(img, "CLICK", 300, 402, 40, 3.6, {255, 255, 255}, {255, 210, 120});
  const double mx = 180, my = 396;
  std::vector<Stroke> mouse;
  Arc(mouse, mx, my + 26, 17, 26, 0, 360);
  mouse.push_back({mx - 17, my + 20, mx + 17, my + 20});
  mouse.push_back({mx, my, mx, my + 20});
  for (int y = static_cast<int>(my) + 1; y < my + 20; ++y)
    for (int x = static_cast<int>(mx - 16); x < mx; ++x) {
      const double ex = (x + 0.5 - mx) / 17, ey = (y + 0.5 - my - 26) / 26;
      if (ex * ex + ey * ey < 1) assets::Blend(img, x, y, {255, 200, 80}, 0.9);
    }
  PaintStrokes(img, mouse, 1.6, [](int, int) { return Colour{255, 255, 255}; });
  ArrowKey(img, 506, 406, -90);
  ArrowKey(img, 472, 440, 180);
  ArrowKey(img, 506, 440, 90);
  ArrowKey(img, 540, 440, 0);
  return img;
}

// ---------------------------------------------------------------- sounds

void WriteSound(const std::string& dir, const std::string& name, const assets::Wave& w, double peak) {
  assets::WriteWav(dir + "/data/" + name, assets::Finish(w, {.peak = peak}, name));
}

// A level starts: wind rising as the fall begins, under a soft two-note chime.
assets::Wave LevelSound() {
  assets::Wave w = assets::Silence(1.1);
  assets::Noise noise;
  assets::Resonant wind;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = assets::Time(i);
    const double f = assets::GlideExp(t, 300, 900, 1.0);
    w[i] += 0.6 * wind.Band(noise(), f, 3) * assets::Rise(t, 0.5) * assets::Fall(t, 1.1, 0.5);
  }
  assets::AddBell(w, {.start = 0.02, .freq = 660, .ratio = 2.0, .index = 0.8, .decay = 0.25, .gain = 0.35});
  assets::AddBell(w, {.start = 0.16, .freq = 990, .ratio = 2.0, .index = 0.8, .decay = 0.3, .gain = 0.3});
  return w;
}

// A landing on low ground: a soft thud and a little grit.
assets::Wave TouchdownSound() {
  assets::Wave w = assets::Silence(0.45);
  assets::AddTone(w, {.f0 = 110, .f1 = 45, .glide = 0.12, .attack = 0.002, .decay = 0.09, .partials = {1, 0.3}});
  assets::Noise noise;
  assets::LowPass lp;
  assets::AddFrom(w, 0, [&](double t) { return lp(noise(), 1800) * assets::Decay(t, 0.03); }, 0.5);
  return w;
}

// A landing that costs life: a heavy crunch, rocks rattling and a low rumble.
assets::Wave CrashSound() {
  assets::Wave w = assets::Silence(0.9);
  assets::AddTone(w, {.f0 = 80, .f1 = 30, .glide = 0.3, .attack = 0.002, .decay = 0.25, .partials = {1, 0.5, 0.25}});
  assets::Noise noise;
  assets::LowPass lp;
  assets::AddFrom(w, 0, [&](double t) { return lp(noise(), 2600) * assets::Decay(t, 0.12); }, 0.9);
  for (int k = 0; k < 7; ++k) {
    const double start = 0.05 + 0.08 * k + 0.03 * std::sin(k * 2.3);
    assets::AddFrom(w, start, [&](double t) { return noise() * assets::Decay(t, 0.012); }, 0.35 / (1 + 0.3 * k));
  }
  assets::Saturate(w, 1.8);
  return w;
}

// The game ends: three falling tones, the last one long.
assets::Wave GameOverSound() {
  assets::Wave w = assets::Silence(1.8);
  const double notes[3] = {392, 311, 196};
  for (int i = 0; i < 3; ++i)
    assets::AddTone(w, {.start = 0.28 * i, .f0 = notes[i], .f1 = notes[i] * (i == 2 ? 0.94 : 1), .glide = 0.8,
                        .attack = 0.01, .decay = i == 2 ? 0.6 : 0.22, .gain = 0.7,
                        .partials = {1, 0.4, 0.2, 0.1}});
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) assets::Fail("make_quorin_assets", "usage: make_quorin_assets OUTDIR [SRCDIR]");
  const std::string out = argv[1];
  const Image sheet = DrawSheet();
  assets::WriteBmp(out + "/data/d2.bmp", sheet);
  assets::WriteBmp(out + "/data/title.bmp", DrawTitle(sheet));
  WriteSound(out, "level.wav", LevelSound(), 0.4);
  WriteSound(out, "touchdown.wav", TouchdownSound(), 0.5);
  WriteSound(out, "crash.wav", CrashSound(), 0.6);
  WriteSound(out, "gameover.wav", GameOverSound(), 0.45);
  return 0;
}
