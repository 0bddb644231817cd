// The frame's random numbers, drawing helpers and input helpers.
#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/frame.h"
#include "platform/text.h"

namespace frame {

uint32_t randomState = 0;

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr int kScratch = 2;

bool ValidSlot(int slot) { return slot >= 0 && slot < kSlots; }

// A null text is drawn as an empty one.
const char* Text(const char* text) { return text ? text : ""; }
int Length(const char* text) { return static_cast<int>(std::strlen(text)); }

// The scratch surface is white outside these rectangles, which the masked-text helpers
// wrote since its last white fill. Every masked text starts by filling a whole area of
// the scratch white; refilling just the rectangles inside that area gives the same
// surface without rewriting a screenful of pixels per text. When the record is not
// trusted (a new surface, other writes, too many rectangles) the next fill is done whole.
struct Rect {
  int left, top, right, bottom;
};
constexpr int kMaxDirty = 8;
Rect scratchDirty[kMaxDirty];
int scratchDirtyCount = 0;
bool scratchTracked = false;

void MarkScratch(int left, int top, int right, int bottom) {
  const plat::Surface& s = dcTable[kScratch];
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, s.width);
  bottom = std::min(bottom, s.height);
  if (left >= right || top >= bottom) return;
  if (scratchDirtyCount == kMaxDirty) {
    scratchTracked = false;
    return;
  }
  scratchDirty[scratchDirtyCount++] = {left, top, right, bottom};
}

// Fills d white except where it meets cover[0..n-1], the rectangles about to be written
// over anyway: each cover splits what is left into at most four bands around it.
void WhiteExcept(Rect d, const Rect* cover, int n) {
  if (d.left >= d.right || d.top >= d.bottom) return;
  if (n == 0) {
    plat::FillRect(dcTable[kScratch], d.left, d.top, d.right, d.bottom, kWhite);
    return;
  }
  const Rect c = cover[0];
  if (c.left >= d.right || c.right <= d.left || c.top >= d.bottom || c.bottom <= d.top) {
    WhiteExcept(d, cover + 1, n - 1);
    return;
  }
  const int top = std::max(d.top, c.top), bottom = std::min(d.bottom, c.bottom);
  WhiteExcept({d.left, d.top, d.right, top}, cover + 1, n - 1);
  WhiteExcept({d.left, bottom, d.right, d.bottom}, cover + 1, n - 1);
  WhiteExcept({d.left, top, std::max(d.left, c.left), bottom}, cover + 1, n - 1);
  WhiteExcept({std::min(d.right, c.right), top, d.right, bottom}, cover + 1, n - 1);
}

// The effect of FillRect(scratch, 0, 0, right, bottom, white), leaving out what lies in
// cover[0..n-1] (which the caller writes next).
void WhiteScratch(int right, int bottom, const Rect* cover = nullptr, int n = 0) {
  plat::Surface& s = dcTable[kScratch];
  if (!scratchTracked) {
    plat::FillRect(s, 0, 0, right, bottom, kWhite);
    scratchTracked = true;
    scratchDirtyCount = 0;
    // What lies outside the fill is still unknown.
    MarkScratch(right, 0, s.width, s.height);
    MarkScratch(0, bottom, std::min(right, s.width), s.height);
    return;
  }
  int kept = 0;
  for (int i = 0; i < scratchDirtyCount; ++i) {
    const Rect d = scratchDirty[i];
    WhiteExcept({d.left, d.top, std::min(d.right, right), std::min(d.bottom, bottom)}, cover, n);
    if (d.right > right || d.bottom > bottom) scratchDirty[kept++] = d;
  }
  scratchDirtyCount = kept;
}

// Text drawn into the scratch surface, its box recorded.
void ScratchText(int y, const char* text, int n, Colour colour, const plat::Font* font) {
  const int w = plat::DrawText(dcTable[kScratch], 0, y, text, n, colour, font);
  MarkScratch(0, y, w, y + plat::FontHeight(font));
}

// The inverting copy of a band of the scratch surface, its target recorded.
void ScratchInvert(int y, int w, int h, int fromY) {
  plat::Blit(dcTable[kScratch], 0, y, w, h, dcTable[kScratch], 0, fromY, plat::Rop::NotCopy);
  MarkScratch(0, y, w, y + h);
}

// The last two transfers of every layout, in one pass: the AND mask from scratch row
// maskY, then the coloured glyphs on black from row imageY, so only glyph pixels of the
// target change.
void CombineOnto(plat::Surface& target, int x, int y, int w, int h, int maskY, int imageY) {
  plat::BlitMasked(target, x, y, w, h, dcTable[kScratch], 0, maskY, imageY);
}

// Finished masked texts. Most screens draw the same texts every frame; a text drawn
// before puts back the scratch rectangles it wrote (their pixels kept from its first
// drawing) instead of drawing its glyphs and inverting them again, so the scratch surface
// ends exactly as the full sequence leaves it. When the last masked text was the same one
// and nothing else touched the scratch since, it is already in place.
struct MaskedKey {
  char layout = 0;
  int height = 0, length = 0, scratchW = 0, scratchH = 0;
  Colour colour = 0;
  char text[64] = {};
  bool operator==(const MaskedKey& o) const {
    return layout == o.layout && height == o.height && length == o.length && scratchW == o.scratchW &&
           scratchH == o.scratchH && colour == o.colour && std::memcmp(text, o.text, length) == 0;
  }
};
struct MaskedEntry {
  MaskedKey key;
  Rect rects[kMaxDirty];
  int rectCount = 0;
  std::vector<Colour> pixels;  // the rectangles' pixels, row by row, one after another
  int right = 0, bottom = 0;   // the layout's white fill
  // The final transfer packed: only the pixels it changes. Not kept (packed.rows empty)
  // when too large.
  plat::PackedMask packed;
  uint32_t used = 0;  // for replacing the least recently used entry
  bool valid = false;
};
constexpr int kMaskedEntries = 8;
MaskedEntry maskedCache[kMaskedEntries];
uint32_t maskedClock = 0;
const MaskedEntry* maskedInPlace = nullptr;  // the entry the scratch holds right now
// The entry the scratch should hold but does not yet: a repeated text onto another surface
// is drawn from its packed transfer, and the scratch is brought up to date only when
// something reads or writes it (SyncScratch).
MaskedEntry* scratchOwed = nullptr;

// The key of a text, or false for one too long to keep. A layout keeps a text only when
// everything its drawing reads from the scratch lies in its white fill or in what it drew
// itself (so the kept pixels depend on the text alone): the scratch is no wider than the
// fill and the inverted band's source ends inside it.
bool MakeKey(char layout, const char* text, int n, Colour colour, int height, MaskedKey& key) {
  if (n > static_cast<int>(sizeof key.text)) return false;
  const plat::Surface& s = dcTable[kScratch];
  key.layout = layout;
  key.height = height;
  key.length = n;
  key.colour = colour;
  key.scratchW = s.width;
  key.scratchH = s.height;
  std::memcpy(key.text, text, n);
  return true;
}

// Puts a kept text into the scratch surface as its full sequence would, after its
// layout's white fill.
void PutBack(MaskedEntry& e) {
  if (maskedInPlace == &e && scratchTracked) return;
  WhiteScratch(e.right, e.bottom, e.rects, e.rectCount);
  plat::Surface& s = dcTable[kScratch];
  const Colour* p = e.pixels.data();
  for (int i = 0; i < e.rectCount; ++i) {
    const Rect r = e.rects[i];
    const int w = r.right - r.left;
    for (int y = r.top; y < r.bottom; ++y, p += w) std::memcpy(s.Row(y) + r.left, p, w * sizeof(Colour));
    MarkScratch(r.left, r.top, r.right, r.bottom);
  }
  maskedInPlace = scratchTracked ? &e : nullptr;
}

// The kept entry of key, or null.
MaskedEntry* Recall(const MaskedKey& key) {
  for (MaskedEntry& e : maskedCache) {
    if (!e.valid || !(e.key == key)) continue;
    e.used = ++maskedClock;
    return &e;
  }
  return nullptr;
}

// Keeps the rectangles written since dirty record `from` for the text of key, whose
// layout fills (0, 0, right, bottom) white and whose final transfer reads tw x th pixels
// from rows maskY and imageY.
void Remember(const MaskedKey& key, int from, int right, int bottom, int tw, int th, int maskY, int imageY) {
  maskedInPlace = nullptr;
  if (!scratchTracked) return;
  MaskedEntry* e = &maskedCache[0];
  for (MaskedEntry& c : maskedCache)
    if (!c.valid || c.used < e->used) e = &c;
  e->valid = false;
  e->key = key;
  e->rectCount = 0;
  size_t total = 0;
  for (int i = from; i < scratchDirtyCount; ++i) {
    const Rect r = scratchDirty[i];
    total += static_cast<size_t>(r.right - r.left) * (r.bottom - r.top);
  }
  e->pixels.resize(total);
  const plat::Surface& s = dcTable[kScratch];
  Colour* p = e->pixels.data();
  for (int i = from; i < scratchDirtyCount; ++i) {
    const Rect r = scratchDirty[i];
    const int w = r.right - r.left;
    for (int y = r.top; y < r.bottom; ++y, p += w) std::memcpy(p, s.Row(y) + r.left, w * sizeof(Colour));
    e->rects[e->rectCount++] = r;
  }
  e->right = right;
  e->bottom = bottom;
  // The final transfer, kept when it packs into no more than two screenfuls of pixels.
  plat::PackMasked(e->packed, s, 0, maskY, imageY, tw, th);
  if (e->packed.Bytes() > size_t{2} * 640 * 480 * sizeof(Colour)) e->packed = plat::PackedMask{};
  e->used = ++maskedClock;
  e->valid = true;
  maskedInPlace = e;
}

// Where a layout's fresh drawing starts recording: after its white fill.
int DirtyMark() { return scratchDirtyCount; }

// Whether drawing entry a and then a layout filling (0, 0, right, bottom) leaves the
// scratch as that layout alone would: all a wrote lies inside the later fill.
bool Covered(const MaskedEntry& a, int right, int bottom) {
  if (a.right > right || a.bottom > bottom) return false;
  for (int i = 0; i < a.rectCount; ++i)
    if (a.rects[i].right > right || a.rects[i].bottom > bottom) return false;
  return true;
}

// The course of every layout. A kept text onto another surface is combined from its packed
// transfer and the scratch owes it; a kept text onto the scratch itself is put back first;
// any other text is drawn by draw() after the white fill, and kept when key is given.
template <class Draw>
void Masked(const MaskedKey* key, int right, int bottom, plat::Surface& target, int x, int y, int w, int h,
            int maskY, int imageY, Draw draw) {
  MaskedEntry* e = key ? Recall(*key) : nullptr;
  if (e && !e->packed.rows.empty() && &target != &dcTable[kScratch]) {
    if (scratchOwed && scratchOwed != e && !Covered(*scratchOwed, right, bottom)) SyncScratch();
    scratchOwed = maskedInPlace == e && scratchTracked ? nullptr : e;
    plat::BlitPacked(target, x, y, e->packed);
    return;
  }
  SyncScratch();
  if (e) {
    PutBack(*e);
  } else {
    WhiteScratch(right, bottom);
    const int from = DirtyMark();
    draw();
    if (key) Remember(*key, from, right, bottom, w, h, maskY, imageY);
    else maskedInPlace = nullptr;
  }
  CombineOnto(target, x, y, w, h, maskY, imageY);
}

}  // namespace

void SeedRandom(uint32_t seed) {
  randomState = seed;
  RandomBelow(1);
}

void SyncScratch() {
  MaskedEntry* e = scratchOwed;
  scratchOwed = nullptr;
  // A scratch surface made anew since owes nothing.
  if (e && e->key.scratchW == dcTable[kScratch].width && e->key.scratchH == dcTable[kScratch].height) PutBack(*e);
}

void ForgetScratch() {
  SyncScratch();
  scratchTracked = false;
  scratchDirtyCount = 0;
  maskedInPlace = nullptr;
}

void DrawBox(int x, int y, int w, int h, Colour colour, int slot) {
  if (!ValidSlot(slot)) return;
  if (slot == kScratch) ForgetScratch();
  plat::FillRect(dcTable[slot], x, y, x + w, y + h, colour & 0xFFFFFF);
}

void DrawLine(int x1, int y1, int x2, int y2, Colour colour) {
  plat::DrawLineTo(backDC, x1, y1, x2, y2, colour & 0xFFFFFF);
}

int DrawString(int x, int y, const char* text, Colour colour) {
  text = Text(text);
  const int n = Length(text);
  plat::DrawText(backDC, x, y, text, n, colour & 0xFFFFFF, plat::DefaultFont());
  return n;
}

void DrawCircle(int cx, int cy, int r, Colour colour) {
  plat::FillEllipse(backDC, cx - r, cy - r, cx + r, cy + r, colour & 0xFFFFFF);
}

// Layout A: a fixed 9x18 cell per byte in the default font, onto the back buffer.
// Scratch rows 0.. hold the AND mask, rows 32.. the complementary-colour glyphs and rows
// 64.. their inversion: the glyphs in the colour on black.
int DrawMaskedString(int x, int y, const char* text, Colour colour) {
  text = Text(text);
  const int n = Length(text);
  colour &= 0xFFFFFF;
  MaskedKey key;
  const bool keep = dcTable[kScratch].width <= 640 && MakeKey('A', text, n, colour, 0, key);
  Masked(keep ? &key : nullptr, 640, 480, backDC, x, y, 9 * n, 18, 0, 64, [&] {
    const plat::Font* font = plat::DefaultFont();
    ScratchText(0, text, n, 0, font);
    ScratchText(32, text, n, kWhite - colour, font);
    ScratchInvert(64, 9 * n, 18, 32);
  });
  return n;
}

// Layout B: the mask is the complementary-colour text itself, so a glyph pixel ends as
// target OR colour. The inverted band starts at row 320; on a 640x480 scratch surface only
// its first 160 rows exist, and the transfers are clipped to them.
int DrawMaskedStringB(int x, int y, const char* text, Colour colour, int height, int slot) {
  text = Text(text);
  const int n = Length(text);
  if (!ValidSlot(slot) || height <= 0) return n;
  colour &= 0xFFFFFF;
  const int w = n * (height + 4) / 2;
  MaskedKey key;
  const bool keep = dcTable[kScratch].width <= 640 && height <= 448 && MakeKey('B', text, n, colour, height, key);
  Masked(keep ? &key : nullptr, 640, 480, dcTable[slot], x, y, w, height, 32, 320, [&] {
    ScratchText(32, text, n, kWhite - colour, plat::CreatedFont(height, 700));
    ScratchInvert(320, w, height, 32);
  });
  return n;
}

// Layout C: black-glyph mask in rows 0.. and the inverted complementary glyphs in rows
// 480.. of a 640x960 scratch surface; glyph pixels end exactly in the colour.
int DrawMaskedStringC(int x, int y, const char* text, Colour colour, int height, int slot) {
  text = Text(text);
  const int n = Length(text);
  if (!ValidSlot(slot) || height <= 0) return n;
  colour &= 0xFFFFFF;
  const int w = n * height / 2;
  MaskedKey key;
  const bool keep = dcTable[kScratch].width <= 1280 && dcTable[kScratch].height <= 960 &&
                    MakeKey('C', text, n, colour, height, key);
  Masked(keep ? &key : nullptr, 1280, 960, dcTable[slot], x, y, w, height, 0, 480, [&] {
    const plat::Font* font = plat::CreatedFont(height, 700);
    ScratchText(0, text, n, 0, font);
    ScratchText(480, text, n, kWhite - colour, font);
    ScratchInvert(480, w, height, 480);
  });
  return n;
}

int DrawMaskedString(int x, int y, const char* text, Colour colour, int height, int slot) {
  if (activeSettings && activeSettings->maskedLayout == MaskedLayout::C)
    return DrawMaskedStringC(x, y, text, colour, height, slot);
  return DrawMaskedStringB(x, y, text, colour, height, slot);
}

bool KeyHit(int vk, bool holdMode) {
  if (vk < 0 || vk >= 200) return false;
  if (!plat::KeyDown(vk)) {
    keyLatch[vk] = 1;
    return false;
  }
  if (holdMode) return true;
  if (keyLatch[vk] == 0) return false;
  keyLatch[vk] = 0;
  return true;
}

bool MouseClicked(int button, bool holdMode) {
  if (button < 0 || button > 1) return false;
  if (!mouseDown[button]) {
    clickArmed[button] = 1;
    return false;
  }
  if (holdMode || clickArmed[button]) {
    clickArmed[button] = 0;
    return true;
  }
  return false;
}

bool MouseClicked(bool holdMode) { return MouseClicked(0, holdMode); }

bool MouseOver(int x, int y, int w, int h) {
  return x < mouseX && mouseX < x + w && y < mouseY && mouseY < y + h;
}

bool TextButton(int x, int y, const char* text, Colour colour) {
  const int n = DrawString(x, y, text, colour);
  return MouseOver(x, y, 9 * n, 18) && buttonsEnabled != 0 && MouseClicked(false);
}

}  // namespace frame
