// Draws ball's four bitmaps (the balls: eight types and the flash, the two sprite masks,
// the course tile and the enemies) and synthesises its eight sound cues. Run as
// `make_ball_assets OUTDIR SRCDIR`.
//
// Sprites are drawn with an AND mask then an XOR picture, so every picture is black
// outside its mask's shape and every mask is black where the sprite is opaque. All balls
// share mask cell 0 and all enemies share mask cell 1, so each family is drawn inside
// one common silhouette.
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
using assets::kPi;
using assets::Mix;
using assets::Pack;
using assets::Rgb;
using assets::Scale;

constexpr int kCell = 32;
constexpr double kCentre = 15.5;

// ---------------------------------------------------------------- shapes

// The ball silhouette: a disc of radius 15 in the 32x32 cell.
bool InBall(int x, int y) {
  const double dx = x - kCentre, dy = y - kCentre;
  return dx * dx + dy * dy <= 15.2 * 15.2;
}

// The enemy silhouette: a body of radius 11 with eight spikes reaching the cell's edge.
double SpikeReach(double angle) {
  const double sector = kPi / 4;
  double a = std::fmod(angle + kPi / 8 + 4 * kPi, sector) - sector / 2;  // -sector/2..sector/2
  const double t = 1 - std::fabs(a) / (sector / 2);                      // 1 at a spike's tip
  return 12.0 + 4.0 * std::pow(t, 1.6);
}

bool InEnemy(int x, int y) {
  const double dx = x - kCentre, dy = y - kCentre;
  return std::sqrt(dx * dx + dy * dy) <= SpikeReach(std::atan2(dy, dx));
}


// ---------------------------------------------------------------- symbols
// Small pictures drawn over a ball: 'o' is the symbol's colour, 'p' the outline colour
// inside it, '.' nothing. Stamp rings every symbol with a one-pixel outline so that it
// reads on any ball colour, and centres it in the cell.

// Drift: the left arrow; the right arrow is this one mirrored.
const char* const kArrow[] = {
    "....o.......",
    "...oo.......",
    "..ooo.......",
    ".oooooooooo.",
    "ooooooooooo.",
    ".oooooooooo.",
    "..ooo.......",
    "...oo.......",
    "....o.......",
};
// Boost: chevrons up; brake is this one flipped.
const char* const kChevrons[] = {
    ".....o.....",
    "....ooo....",
    "...ooooo...",
    "..ooo.ooo..",
    ".ooo...ooo.",
    "ooo..o..ooo",
    "oo..ooo..oo",
    "...ooooo...",
    "..ooo.ooo..",
    ".ooo...ooo.",
    "ooo.....ooo",
};
// Bomb: a burst.
const char* const kBurst[] = {
    "o....o....o",
    ".o...o...o.",
    "..o.ooo.o..",
    "...ooooo...",
    "..ooooooo..",
    "ooooooooooo",
    "..ooooooo..",
    "...ooooo...",
    "..o.ooo.o..",
    ".o...o...o.",
    "o....o....o",
};
// Pierce: crossed blades.
const char* const kBlades[] = {
    "oo.......oo",
    "ooo.....ooo",
    ".ooo...ooo.",
    "..ooo.ooo..",
    "...ooooo...",
    "....ooo....",
    "...ooooo...",
    "..ooo.ooo..",
    ".ooo...ooo.",
    "ooo.....ooo",
    "oo.......oo",
};
// Stealth: a watching eye.
const char* const kEye[] = {
    "....ooooo....",
    "..ooooooooo..",
    ".oooopppoooo.",
    "ooooopppooooo",
    ".oooopppoooo.",
    "..ooooooooo..",
    "....ooooo....",
};

template <size_t N>
void Stamp(Image& img, int cellX, const char* const (&rows)[N], uint32_t fg, uint32_t outline,
           bool mirror = false, bool flip = false) {
  int w = 0;
  for (const char* r : rows) w = std::max(w, int(std::string(r).size()));
  const int h = int(N);
  auto at = [&](int i, int j) -> char {  // pattern character at symbol pixel (i, j)
    if (i < 0 || j < 0 || i >= w || j >= h) return '.';
    const std::string row = rows[flip ? h - 1 - j : j];
    const int k = mirror ? w - 1 - i : i;
    return k < int(row.size()) ? row[k] : '.';
  };
  const int x0 = cellX + (kCell - w) / 2;
  const int y0 = (kCell - h) / 2;
  for (int j = -1; j <= h; ++j) {
    for (int i = -1; i <= w; ++i) {
      const char c = at(i, j);
      if (c == 'o') {
        img.Set(x0 + i, y0 + j, fg);
      } else if (c == 'p') {
        img.Set(x0 + i, y0 + j, outline);
      } else {
        bool edge = false;
        for (int dj = -1; dj <= 1; ++dj)
          for (int di = -1; di <= 1; ++di) edge = edge || at(i + di, j + dj) == 'o';
        if (edge) img.Set(x0 + i, y0 + j, outline);
      }
    }
  }
}

// ---------------------------------------------------------------- balls

void DrawBall(Image& img, int cell, uint32_t base, double dither = 0) {
  const Colour b = ColourOf(base);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      if (!InBall(x, y)) continue;
      const double dx = x - kCentre, dy = y - kCentre;
      const double r = std::sqrt(dx * dx + dy * dy);
      Colour c = assets::ShadeSphere(x - kCentre, y - kCentre, 15.5, b);
      if (r > 14.0) c = Scale(b, 0.35);  // dark rim so a ball reads on any background
      if (dither > 0 && ((x + y) & 1)) c = Scale(c, dither);
      img.Set(32 * cell + x, y, Pack(c));
    }
  }
}

Image MakeBalls() {
  Image img(9 * kCell, kCell, 0);
  const uint32_t white = Rgb(0xFFFFFF), ink = Rgb(0x101018);
  DrawBall(img, 0, 0xD8DCE8);  // 1 normal: plain silver
  DrawBall(img, 1, 0x18B4F0);  // 2 drift left: sky blue
  Stamp(img, 32 * 1, kArrow, white, ink);
  DrawBall(img, 2, 0x30D040);  // 3 drift right: green
  Stamp(img, 32 * 2, kArrow, white, ink, true);
  DrawBall(img, 3, 0xFF7A10);  // 4 boost: orange
  Stamp(img, 32 * 3, kChevrons, white, ink);
  DrawBall(img, 4, 0xF0D818);  // 5 brake: yellow
  Stamp(img, 32 * 4, kChevrons, Rgb(0x5A1800), Rgb(0xFFF8C0), false, true);
  DrawBall(img, 5, 0x58585F);  // 6 bomb: charcoal with a spark
  Stamp(img, 32 * 5, kBurst, Rgb(0xFFB020), Rgb(0xC01010));
  DrawBall(img, 6, 0xE02030);  // 7 pierce: red with a spike
  Stamp(img, 32 * 6, kBlades, white, ink);
  DrawBall(img, 7, 0xA060F0, 0.55);  // 8 stealth: violet, half there
  Stamp(img, 32 * 7, kEye, Rgb(0xF0E8FF), Rgb(0x300850));

  // Cell 8: the flash shown every other step while an effect runs.
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      if (!InBall(x, y)) continue;
      const double dx = x - kCentre, dy = y - kCentre;
      const double r = std::sqrt(dx * dx + dy * dy) / 15.5;
      const double a = std::atan2(dy, dx);
      const double rays = 0.5 + 0.5 * std::cos(8 * a);
      Colour c = Mix({255, 255, 255}, {255, 200, 40}, std::clamp(r * r * (1.2 - 0.5 * rays), 0.0, 1.0));
      img.Set(256 + x, y, Pack(c));
    }
  }
  return img;
}

// ---------------------------------------------------------------- enemies

struct EnemyLook {
  uint32_t body, spike;
};

void DrawEnemyBody(Image& img, int cell, const EnemyLook& look) {
  const Colour body = ColourOf(look.body), spike = ColourOf(look.spike);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      if (!InEnemy(x, y)) continue;
      const double dx = x - kCentre, dy = y - kCentre;
      const double r = std::sqrt(dx * dx + dy * dy);
      Colour c;
      if (r <= 12.5) {
        c = assets::ShadeSphere(x - kCentre, y - kCentre, 13.0, body);
        if (r > 11.6) c = Scale(body, 0.3);
      } else {
        const double t = (r - 12.0) / 4.0;
        c = Mix(spike, Scale(spike, 0.35), t);
      }
      img.Set(32 * cell + x, y, Pack(c));
    }
  }
}

void Dot(Image& img, int cx, int cy, double radius, uint32_t c) {
  for (int y = int(cy - radius - 1); y <= int(cy + radius + 1); ++y) {
    for (int x = int(cx - radius - 1); x <= int(cx + radius + 1); ++x) {
      const double dx = x - cx, dy = y - cy;
      if (dx * dx + dy * dy <= radius * radius) img.Set(x, y, c);
    }
  }
}

// An angry eye: a glowing iris with a slit pupil under a slanted brow.
void AngryEye(Image& img, int cx, int cy, uint32_t glow, bool rightEye) {
  Dot(img, cx, cy, 2.6, Rgb(0x100000));
  Dot(img, cx, cy, 1.8, glow);
  img.Set(cx, cy, Rgb(0x000000));
  img.Set(cx, cy - 1, Rgb(0x000000));
  img.Set(cx, cy + 1, Rgb(0x000000));
  // A frowning brow, low at the inner end.
  for (int i = -3; i <= 3; ++i) {
    const int inward = rightEye ? -i : i;  // +3 at the end nearest the face's middle
    const int by = cy - 5 + (inward + 3) / 2;
    img.Set(cx + i, by, Rgb(0x080000));
    img.Set(cx + i, by + 1, Rgb(0x080000));
  }
}

void Teeth(Image& img, int x0, int y, int w, uint32_t mouth) {
  for (int x = x0; x < x0 + w; ++x) {
    img.Set(x, y, mouth);
    img.Set(x, y + 1, mouth);
    img.Set(x, y + 2, mouth);
    const bool tooth = ((x - x0) % 2) == 0;
    img.Set(x, tooth ? y : y + 2, Rgb(0xF8F8F0));
  }
}

Image MakeEnemies() {
  Image img(5 * kCell, kCell, 0);
  // 1: red mine with one big eye, drifts after balls near it.
  DrawEnemyBody(img, 0, {0xC81818, 0xFF5030});
  Dot(img, 32 * 0 + 16, 15, 5.0, Rgb(0x200000));
  Dot(img, 32 * 0 + 16, 15, 4.0, Rgb(0xFFE040));
  Dot(img, 32 * 0 + 16, 15, 2.2, Rgb(0xFF2000));
  for (int y = 12; y <= 18; ++y) img.Set(32 * 0 + 16, y, Rgb(0x000000));
  for (int x = -5; x <= 5; ++x) img.Set(32 * 0 + 16 + x, 9 + std::abs(x) / 2, Rgb(0x200000));
  // 2: violet grabber with pincers, locks on to a ball.
  DrawEnemyBody(img, 1, {0x7A20C0, 0xE040FF});
  AngryEye(img, 32 * 1 + 12, 13, Rgb(0x40FF60), false);
  AngryEye(img, 32 * 1 + 20, 13, Rgb(0x40FF60), true);
  for (int x = 10; x <= 22; ++x) img.Set(32 * 1 + x, 20 + (x == 10 || x == 22 ? -1 : 0), Rgb(0x180020));
  for (int k = 0; k < 3; ++k) {  // two fangs
    img.Set(32 * 1 + 12, 21 + k, Rgb(0xFFF8F0));
    img.Set(32 * 1 + 20, 21 + k, Rgb(0xFFF8F0));
    if (k < 2) img.Set(32 * 1 + 13, 21 + k, Rgb(0xFFF8F0));
    if (k < 2) img.Set(32 * 1 + 19, 21 + k, Rgb(0xFFF8F0));
  }
  // 3: orange seeker, the fast one that goes for the highest ball.
  DrawEnemyBody(img, 2, {0xE07000, 0xFFD000});
  AngryEye(img, 32 * 2 + 12, 14, Rgb(0xFFFFFF), false);
  AngryEye(img, 32 * 2 + 20, 14, Rgb(0xFFFFFF), true);
  Teeth(img, 32 * 2 + 11, 19, 11, Rgb(0x300000));
  // 4: grey mine that never moves, riveted, with a red lamp.
  DrawEnemyBody(img, 3, {0x8890A0, 0xB8C0D0});
  for (int k = 0; k < 6; ++k) {
    const double a = k * kPi / 3;
    img.Set(32 * 3 + 16 + int(std::lround(std::cos(a) * 7.5)), 15 + int(std::lround(std::sin(a) * 7.5)),
            Rgb(0x303038));
  }
  Dot(img, 32 * 3 + 16, 15, 3.3, Rgb(0x400000));
  Dot(img, 32 * 3 + 16, 15, 2.4, Rgb(0xFF1010));
  img.Set(32 * 3 + 15, 14, Rgb(0xFFC0C0));
  // 5: green thief with a wide grin, hunts the special balls.
  DrawEnemyBody(img, 4, {0x20A040, 0x90FF40});
  AngryEye(img, 32 * 4 + 11, 12, Rgb(0xFF2020), false);
  AngryEye(img, 32 * 4 + 21, 12, Rgb(0xFF2020), true);
  Teeth(img, 32 * 4 + 9, 18, 15, Rgb(0x200808));
  img.Set(32 * 4 + 8, 17, Rgb(0x200808));
  img.Set(32 * 4 + 24, 17, Rgb(0x200808));
  return img;
}

// ---------------------------------------------------------------- masks

Image MakeMask() {
  Image img(2 * kCell, kCell, Rgb(0xFFFFFF));
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      if (InBall(x, y)) img.Set(x, y, 0);
      if (InEnemy(x, y)) img.Set(32 + x, y, 0);
    }
  }
  return img;
}


// ---------------------------------------------------------------- course tile

// A seamless 320x180 tile: deep blue, drifting nebula, a faint lane grid and stars.
// Every wave has a whole number of periods across the tile, so it wraps both ways.
Image MakeBack() {
  constexpr int W = 320, H = 180;
  Image img(W, H, 0);
  auto wave = [](double x, double y, int kx, int ky, double phase) {
    return assets::TileWave(x, y, W, H, kx, ky, phase);
  };
  const Colour deep = ColourOf(0x070B24), nebulaA = ColourOf(0x24186A), nebulaB = ColourOf(0x0E3C6A);
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      const double n1 = 0.5 + 0.25 * wave(x, y, 1, 1, 0.3) + 0.15 * wave(x, y, 2, -1, 1.7) +
                        0.10 * wave(x, y, 3, 2, 4.1);
      const double n2 = 0.5 + 0.30 * wave(x, y, -1, 2, 2.2) + 0.12 * wave(x, y, 4, 1, 0.9) +
                        0.08 * wave(x, y, 5, -3, 5.0);
      Colour c = Mix(deep, nebulaA, std::pow(std::clamp(n1, 0.0, 1.0), 2.2) * 0.85);
      c = Mix(c, nebulaB, std::pow(std::clamp(n2, 0.0, 1.0), 3.0) * 0.7);
      if (x % 40 == 0 || y % 30 == 0) c = Mix(c, ColourOf(0x3050A0), 0.28);  // lane grid
      img.Set(x, y, Pack(c));
    }
  }
  uint32_t seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xFFFF;
  };
  for (int i = 0; i < 70; ++i) {
    const int x = int(next() % W), y = int(next() % H);
    const int kind = int(next() % 10);
    const Colour star = kind < 6 ? ColourOf(0x8090C0) : kind < 9 ? ColourOf(0xD0E0FF) : ColourOf(0xFFF0C0);
    const Colour under = ColourOf(img.Get(x, y));
    img.Set(x, y, Pack(Mix(under, star, 0.95)));
    if (kind >= 8) {  // a few bright stars get a small cross, wrapped at the edges
      const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (const auto& o : d) {
        const int px = (x + o[0] + W) % W, py = (y + o[1] + H) % H;
        img.Set(px, py, Pack(Mix(ColourOf(img.Get(px, py)), star, 0.5)));
      }
    }
  }
  return img;
}

// ---------------------------------------------------------------- sounds
// Short cues: sines with pitch glides, FM bells and filtered noise, each shaped by a
// smooth attack and an exponential decay, then finished (DC removed, faded at both ends,
// scaled to a gentle peak).

using assets::AddBell;
using assets::AddNoise;
using assets::AddTone;
using assets::Finish;
using assets::Silence;
using assets::Wave;

// A soft pop with a breath of air: a quick upward sweep over band-passed noise.
assets::Sound MakeLaunch() {
  Wave w = Silence(0.20);
  AddTone(w, {.f0 = 240, .f1 = 720, .glide = 0.10, .attack = 0.004, .decay = 0.045, .partials = {1.0, 0.2}});
  AddNoise(w, {.from = 700, .to = 3000, .q = 2, .bandPass = true, .attack = 0.02, .decay = 0.05, .seed = 11});
  return Finish(w, {.peak = 0.36, .fadeIn = 0.0005}, "launch.wav");
}

// A rising three-note chime (G5, C6, E6).
assets::Sound MakePower() {
  Wave w = Silence(0.50);
  const double notes[] = {783.99, 1046.50, 1318.51};
  for (int k = 0; k < 3; ++k) {
    AddBell(w, {.start = 0.06 * k, .freq = notes[k], .index = 1.0, .decay = 0.10 + 0.04 * k, .gain = 0.8 + 0.1 * k});
  }
  return Finish(w, {.peak = 0.40, .fadeIn = 0.0005}, "power.wav");
}

// A short, dry click: a bright tick over a small wooden knock.
assets::Sound MakeStop() {
  Wave w = Silence(0.06);
  AddTone(w, {.f0 = 1600, .f1 = 1200, .glide = 0.02, .attack = 0.0008, .decay = 0.006, .gain = 0.6});
  AddTone(w, {.f0 = 460, .f1 = 340, .glide = 0.03, .attack = 0.001, .decay = 0.014});
  return Finish(w, {.peak = 0.34, .fadeIn = 0.0005}, "stop.wav");
}

// A low thud: a falling sine body with a dull noise knock at the front.
assets::Sound MakeHit() {
  Wave w = Silence(0.30);
  AddTone(w, {.f0 = 160, .f1 = 50, .glide = 0.12, .attack = 0.003, .decay = 0.08, .partials = {1.0, 0.3, 0.1}});
  AddNoise(w, {.from = 1400, .to = 200, .q = 1.1, .attack = 0.001, .decay = 0.025, .gain = 1.2, .seed = 23});
  return Finish(w, {.peak = 0.42, .fadeIn = 0.0005}, "hit.wav");
}

// An explosion: a burst of noise whose filter closes as it dies, over a sinking boom,
// rounded off by saturation (which lifts the body against the first spikes) and a
// low-pass that takes the hiss off the rounded peaks.
assets::Sound MakeBomb() {
  Wave w = Silence(0.55);
  AddNoise(w, {.from = 3400, .to = 110, .q = 1.25, .attack = 0.003, .decay = 0.19, .gain = 2.0, .seed = 37});
  AddTone(w, {.f0 = 95, .f1 = 34, .glide = 0.30, .attack = 0.004, .decay = 0.16, .gain = 0.7, .partials = {1.0, 0.2}});
  assets::Saturate(w, 2.5);
  assets::LowPassAll(w, 2100);
  return Finish(w, {.peak = 0.42, .fadeIn = 0.0005}, "bomb.wav");
}

// A small rising blip.
assets::Sound MakeReturn() {
  Wave w = Silence(0.09);
  AddTone(w, {.f0 = 990, .f1 = 1480, .glide = 0.035, .attack = 0.003, .decay = 0.022, .partials = {1.0, 0.15}});
  return Finish(w, {.peak = 0.30, .fadeIn = 0.0005}, "return.wav");
}

// Four soft falling notes (G5, E-flat 5, C5, G4), the last one held a little longer.
assets::Sound MakeGameOver() {
  Wave w = Silence(0.60);
  const double notes[] = {783.99, 622.25, 523.25, 392.00};
  for (int k = 0; k < 4; ++k) {
    AddTone(w, {.start = 0.12 * k, .f0 = notes[k], .f1 = notes[k], .attack = 0.008,
                .decay = k < 3 ? 0.07 : 0.10, .partials = {1.0, 0.0, 0.11, 0.0, 0.04}});
  }
  return Finish(w, {.peak = 0.40, .fadeIn = 0.0005}, "gameover.wav");
}

// A bright rising arpeggio (C5, E5, G5, C6) for the start of a game.
assets::Sound MakeStart() {
  Wave w = Silence(0.40);
  const double notes[] = {523.25, 659.26, 783.99, 1046.50};
  for (int k = 0; k < 4; ++k) {
    AddBell(w, {.start = 0.05 * k, .freq = notes[k], .ratio = 2.0, .index = 0.8, .indexDecay = 0.05,
                .decay = k < 3 ? 0.06 : 0.10});
  }
  return Finish(w, {.peak = 0.40, .fadeIn = 0.0005}, "start.wav");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) assets::Fail("make_ball_assets", "usage: make_ball_assets OUTDIR [SRCDIR]");
  const std::string out = std::string(argv[1]) + "/data/";
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec) assets::Fail(out, "cannot create the folder: " + ec.message());
  const Image balls = MakeBalls();
  const Image enemies = MakeEnemies();
  const Image mask = MakeMask();
  assets::CheckAgainstMask(balls, mask, 0, kCell, "ball.bmp");
  assets::CheckAgainstMask(enemies, mask, 1, kCell, "enemy.bmp");
  assets::WriteBmp(out + "ball.bmp", balls);
  assets::WriteBmp(out + "mask.bmp", mask);
  assets::WriteBmp(out + "back.bmp", MakeBack());
  assets::WriteBmp(out + "enemy.bmp", enemies);
  assets::WriteWav(out + "start.wav", MakeStart());
  assets::WriteWav(out + "launch.wav", MakeLaunch());
  assets::WriteWav(out + "power.wav", MakePower());
  assets::WriteWav(out + "stop.wav", MakeStop());
  assets::WriteWav(out + "hit.wav", MakeHit());
  assets::WriteWav(out + "bomb.wav", MakeBomb());
  assets::WriteWav(out + "return.wav", MakeReturn());
  assets::WriteWav(out + "gameover.wav", MakeGameOver());
  return 0;
}
