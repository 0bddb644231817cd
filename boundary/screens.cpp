// The title and the play picture. Play draws no text and no bitmap: every stroke is a
// one-pixel line with fresh random ends and colours, so the picture shimmers.
#include <algorithm>
#include <cmath>
#include <iterator>
#include "boundary/boundary.h"

namespace boundary {

namespace {

using frame::DrawLine;
using frame::RandomBelow;

constexpr plat::Colour kBlack = 0;
constexpr plat::Colour kWhite = 0xFFFFFF;
constexpr int kBack = 1;

constexpr plat::Colour Rgb(int r, int g, int b) {
  return static_cast<plat::Colour>(r) | static_cast<plat::Colour>(g) << 8 |
         static_cast<plat::Colour>(b) << 16;
}

// The colours draw their channels red first, then green, then blue.
plat::Colour LineColour() {
  const int g = RandomBelow(128);
  const int b = 128 + RandomBelow(128);
  return Rgb(0, g, b);
}

plat::Colour ChargeColour() {
  const int r = 128 + RandomBelow(128);
  const int g = 128 + RandomBelow(128);
  return Rgb(r, g, 0);
}

plat::Colour ParticleColour(int state) {
  switch (state) {
    case Drifting: return Rgb(255, RandomBelow(256), 0);
    case Caught: {
      const int g = RandomBelow(256);
      return Rgb(0, g, RandomBelow(256));
    }
    case Ignited: {
      const int r = RandomBelow(256);
      const int g = RandomBelow(256);
      return Rgb(r, g, RandomBelow(256));
    }
    default: {  // Bursting
      const int r = 128 + RandomBelow(128);
      const int g = RandomBelow(128);
      return Rgb(r, g, 128 + RandomBelow(128));
    }
  }
}

plat::Colour SourceColour(int lane) {
  if (lane == 0) {
    const int r = 128 + RandomBelow(64);
    const int g = 128 + RandomBelow(64);
    return Rgb(r, g, 128 + RandomBelow(64));
  }
  return Rgb(0, 0, RandomBelow(256));
}

// The spans of each row the last play picture drew on. The picture is black apart from
// its strokes, so the next one needs to blacken only these spans to start from a black
// picture, which is most of a frame's cost when few strokes are drawn. Anything else that
// draws on the back buffer (the title) drops the record, and the next picture starts with
// a whole black fill.
struct DrawnRows {
  int lo[plat::kScreenH], hi[plat::kScreenH];  // lo > hi: nothing drawn on the row
  const plat::Colour* pixels = nullptr;        // the buffer the record is of; null: none
};
DrawnRows drawn;

// Records the box of columns x0..x1 and rows y0..y1, given before the truncation that
// makes the strokes' ends (truncation keeps their order, and a margin of one is added).
// A box far off the picture is cut to its edge first.
void MarkDrawn(float x0, float x1, float y0, float y1) {
  const auto cut = [](float v, float limit) { return !(v >= -1) ? -1 : v > limit ? limit : v; };
  const int left = std::max(0, static_cast<int>(cut(x0, plat::kScreenW)) - 1);
  const int right = std::min(plat::kScreenW - 1, static_cast<int>(cut(x1, plat::kScreenW)) + 1);
  const int top = std::max(0, static_cast<int>(cut(y0, plat::kScreenH)) - 1);
  const int bottom = std::min(plat::kScreenH - 1, static_cast<int>(cut(y1, plat::kScreenH)) + 1);
  if (left > right) return;
  for (int y = top; y <= bottom; ++y) {
    drawn.lo[y] = std::min(drawn.lo[y], left);
    drawn.hi[y] = std::max(drawn.hi[y], right);
  }
}

// Blackens what the last play picture drew, or the whole picture when there is no record
// of it, and starts a new record.
void ClearPlayPicture() {
  if (drawn.pixels == frame::backDC.pixels.data()) {
    for (int y = 0; y < plat::kScreenH;) {
      int end = y + 1;  // rows with the same span are one box
      while (end < plat::kScreenH && drawn.lo[end] == drawn.lo[y] && drawn.hi[end] == drawn.hi[y]) ++end;
      const int lo = drawn.lo[y], hi = drawn.hi[y];
      if (lo <= hi) frame::DrawBox(lo, y, hi + 1 - lo, end - y, kBlack, kBack);
      y = end;
    }
  } else {
    frame::DrawBox(0, 0, 640, 480, kBlack, kBack);
  }
  std::fill(std::begin(drawn.lo), std::end(drawn.lo), plat::kScreenW);
  std::fill(std::begin(drawn.hi), std::end(drawn.hi), -1);
  drawn.pixels = frame::backDC.pixels.data();
}

// A stroke from (x - R(reach), y0 + R(spread)) to (x + R(reach), y0 + R(spread)) on the
// integer grid, its ends drawn in that order.
void Stroke(int x, int reach, int y0, int spread, plat::Colour c) {
  const int x1 = x - RandomBelow(reach);
  const int y1 = y0 + RandomBelow(spread);
  const int x2 = x + RandomBelow(reach);
  const int y2 = y0 + RandomBelow(spread);
  DrawLine(x1, y1, x2, y2, c);
}

// The same around a float position, each end truncated toward zero.
void FloatStroke(float x, int reach, float y0, int spread, plat::Colour c) {
  const int x1 = static_cast<int>(x - RandomBelow(reach));
  const int y1 = static_cast<int>(y0 + RandomBelow(spread));
  const int x2 = static_cast<int>(x + RandomBelow(reach));
  const int y2 = static_cast<int>(y0 + RandomBelow(spread));
  DrawLine(x1, y1, x2, y2, c);
}

}  // namespace

void DrawPlay() {
  const int mx = frame::mouseX;
  ClearPlayPicture();
  // The line: strokes anywhere across it, some starting off the picture.
  MarkDrawn(0, plat::kScreenW, 236, 244);
  for (int i = 0; i < 6; ++i) {
    const plat::Colour c = LineColour();
    const int x1 = RandomBelow(800) - 80;
    const int y1 = 236 + RandomBelow(9);
    const int x2 = RandomBelow(800) - 80;
    const int y2 = 236 + RandomBelow(9);
    DrawLine(x1, y1, x2, y2, c);
  }
  if (charge != 0) {
    const int reach = static_cast<int>(std::sqrt(static_cast<double>(charge)));
    MarkDrawn(static_cast<float>(mx - reach), static_cast<float>(mx + reach), 234, 246);
    for (int i = 0; i < 12; ++i) Stroke(mx, reach, 234, 13, ChargeColour());
  }
  if (health > 0) MarkDrawn(static_cast<float>(mx - 32), static_cast<float>(mx + 32), 236, 244);
  for (int i = 0; i < health; ++i) Stroke(mx, 32, 236, 9, Rgb(0, 128 + RandomBelow(128), 0));
  for (const DustParticle& p : particles) {
    if (!p.active) continue;
    const plat::Colour c = ParticleColour(p.state);
    if (p.state == Bursting) {
      if (p.timer >= 3) MarkDrawn(p.x - 96, p.x + 96, p.y - 8, p.y + 8);
      for (int i = 0; i < p.timer / 3; ++i) FloatStroke(p.x, 96, p.y - 8, 17, c);
    } else {
      MarkDrawn(p.x - 16, p.x + 16, p.y - 4, p.y + 4);
      for (int i = 0; i < 4; ++i) FloatStroke(p.x, 16, p.y - 4, 9, c);
    }
  }
  for (const DustSource& s : sources) {
    if (!s.active) continue;
    const plat::Colour c = SourceColour(s.lane);
    const int b = s.lane == 0 ? 56 : 416;
    MarkDrawn(s.x - 32, s.x + 32, static_cast<float>(b), static_cast<float>(b + 8));
    for (int i = 0; i < 6; ++i) FloatStroke(s.x, 32, static_cast<float>(b), 9, c);
  }
}

void TitleFrame() {
  drawn.pixels = nullptr;  // the title covers the play picture's record
  frameCounter += 1;
  const int offset = (frameCounter / 2) % 10;
  if (frameCounter > 0) {
    // The scan bars drawn last leave one row in ten, so the black behind the texts is
    // needed on those rows alone: the picture is the same as after a whole black fill.
    for (int y = (offset + 9) % 10; y < 480; y += 10) frame::DrawBox(0, y, 640, 1, kBlack, kBack);
  } else {
    frame::DrawBox(0, 0, 640, 480, kBlack, kBack);
  }
  frame::DrawMaskedString(160, 240, "line", kWhite, 96, kBack);
  frame::DrawMaskedString(96, 0, "─", kWhite, 256, kBack);
  frame::DrawMaskedString(468, 380, "dust", kWhite, 72, kBack);
  frame::DrawMaskedString(0, 0, "EXPERIMENTAL   ", kWhite, 72, kBack);
  // Black bars nine rows high every ten rows: one thin line in ten shows, and the lines
  // move down a row every second frame.
  for (int i = -1; i <= 47; ++i)
    frame::DrawBox(0, 10 * i + offset, frameCounter + 640, 9, kBlack, kBack);
  if (frame::MouseClicked(frame::edge)) {
    NewGame();
    frame::gameState = Play;
  }
  if (frame::KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

void Step() {
  switch (frame::gameState) {
    case Play: PlayFrame(); break;
    case Title: TitleFrame(); break;
    default: break;
  }
}

}  // namespace boundary
