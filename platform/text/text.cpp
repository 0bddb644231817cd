// Text rendering with FreeType on fonts found through fontconfig. Each font keeps a
// glyph cache; a glyph is rendered the first time it is drawn or measured and kept for
// the run, so text drawing after that allocates nothing.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include "platform/common/internal.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <vector>

#include "../text.h"
#include "cp932.h"

namespace plat {

struct Glyph {
  int left = 0;     // bitmap's left edge relative to the pen
  int top = 0;      // bitmap's top edge above the baseline
  int w = 0, h = 0;
  int advance = 0;  // pen advance in pixels
  std::vector<uint8_t> coverage;  // w * h values 0..255 (0 or 255 for monochrome fonts)
};

struct Font {
  FT_Face face = nullptr;
  FT_Size size = nullptr;
  int height = 16;       // cell height in pixels
  int ascent = 14;       // baseline's distance from the cell top
  bool mono = true;
  bool useBitmaps = false;  // embedded bitmap strikes allowed
  FT_Pos bolden = 0;     // extra stroke width in 26.6 pixels, 0 for none
  int byteCell = 0;      // when non-zero, every byte of text advances this many pixels
  int askedHeight = 0, askedWeight = 0;  // what CreatedFont or SmoothFont was asked for
  mutable std::unordered_map<char32_t, Glyph> glyphs;
};

namespace {

struct FaceFile {
  FT_Face face = nullptr;
  int winAscent = 0, winDescent = 0;  // font units; the cell of a given height
};

struct TextState {
  bool tried = false;
  bool ok = false;
  FT_Library lib = nullptr;
  FaceFile gothic, serif, pgothic;
  Font defaultFont;
  std::vector<std::unique_ptr<Font>> created;
  std::vector<std::unique_ptr<Font>> smooth;
};

TextState& State() {
  static TextState state;
  return state;
}

// Finds a font file through fontconfig for one of the families (in order of preference)
// with Japanese glyphs, and opens it. Returns false when none qualifies.
bool OpenJapaneseFace(FT_Library lib, std::initializer_list<const char*> families, FaceFile& out) {
  for (const char* family : families) {
    FcPattern* pat = FcPatternCreate();
    if (pat == nullptr) return false;
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddBool(pat, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    FcPatternDestroy(pat);
    if (match == nullptr) continue;
    FcChar8* file = nullptr;
    int index = 0;
    FcCharSet* chars = nullptr;
    bool usable = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                  FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                  FcCharSetHasChar(chars, 0x3042);  // HIRAGANA A: a Japanese font
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FT_Face face = nullptr;
    if (usable && FT_New_Face(lib, reinterpret_cast<const char*>(file), index, &face) == 0) {
      if (FT_Get_Char_Index(face, 0x3042) != 0 && FT_IS_SCALABLE(face)) {
        out.face = face;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
          out.winAscent = os2->usWinAscent;
          out.winDescent = os2->usWinDescent;
        } else {
          out.winAscent = face->ascender;
          out.winDescent = -face->descender;
        }
        if (out.winAscent + out.winDescent <= 0) {
          out.winAscent = face->units_per_EM * 7 / 8;
          out.winDescent = face->units_per_EM / 8;
        }
        FcPatternDestroy(match);
        return true;
      }
      FT_Done_Face(face);
    }
    FcPatternDestroy(match);
  }
  return false;
}

// Gives the font its own size object on the face, at ppem in 26.6 pixels.
bool SetUpFont(Font& f, FT_Face face, FT_Pos ppem26) {
  f.face = face;
  if (FT_New_Size(face, &f.size) != 0) return false;
  FT_Activate_Size(f.size);
  return FT_Set_Char_Size(face, 0, std::max<FT_Pos>(ppem26, 64), 72, 72) == 0;
}

// A font whose cell (win ascent + win descent) is height pixels, like a Windows font
// asked for with a positive height.
bool SetUpCellFont(Font& f, const FaceFile& ff, int height) {
  const int64_t cell = ff.winAscent + ff.winDescent;
  const FT_Pos ppem26 = static_cast<FT_Pos>(int64_t{height} * 64 * ff.face->units_per_EM / cell);
  f.height = height;
  f.ascent = static_cast<int>((int64_t{height} * ff.winAscent * 2 + cell) / (2 * cell));
  return SetUpFont(f, ff.face, ppem26);
}

const Glyph& GetGlyph(const Font* f, char32_t c) {
  auto it = f->glyphs.find(c);
  if (it != f->glyphs.end()) return it->second;
  Glyph g;
  if (f->face != nullptr && c >= 0x20) {
    FT_Activate_Size(f->size);
    FT_Face face = f->face;
    const FT_UInt index = FT_Get_Char_Index(face, c);
    FT_Int32 flags = f->mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT;
    if (!f->useBitmaps || f->bolden != 0 || !f->mono) flags |= FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face, index, flags) == 0) {
      FT_GlyphSlot slot = face->glyph;
      g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
      if (slot->format == FT_GLYPH_FORMAT_OUTLINE && f->bolden != 0) {
        FT_Outline_EmboldenXY(&slot->outline, f->bolden, f->bolden / 2);
        FT_Outline_Translate(&slot->outline, 0, f->bolden / 4);
      }
      if (slot->format == FT_GLYPH_FORMAT_BITMAP ||
          FT_Render_Glyph(slot, f->mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
        const FT_Bitmap& bm = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.w = static_cast<int>(bm.width);
        g.h = static_cast<int>(bm.rows);
        g.coverage.assign(static_cast<size_t>(g.w) * g.h, 0);
        for (int y = 0; y < g.h; ++y) {
          const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
          for (int x = 0; x < g.w; ++x) {
            int v;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
              v = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
            } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
              v = bm.num_grays == 256 ? row[x] : row[x] * 255 / std::max(1, bm.num_grays - 1);
            } else {
              v = 0;
            }
            if (f->mono) v = v >= 128 ? 255 : 0;
            g.coverage[static_cast<size_t>(y) * g.w + x] = static_cast<uint8_t>(v);
          }
        }
      }
    }
  }
  return f->glyphs.emplace(c, std::move(g)).first->second;
}

inline int Advance(const Font* f, const Glyph& g, int bytes) {
  return f->byteCell != 0 ? f->byteCell * bytes : g.advance;
}

bool EnsureText() {
  TextState& st = State();
  if (!st.tried) InitText();
  return st.ok;
}

// Calls put(pixel, coverage) for each pixel of glyph g, its pen at (penX, baseline), that
// lies inside the clip box [cx0, cx1) x [cy0, cy1) (already inside the surface).
template <typename Put>
void ForGlyphPixels(Surface& s, const Glyph& g, int64_t penX, int64_t baseline, int cx0,
                    int cy0, int cx1, int cy1, Put put) {
  const int64_t gx = penX + g.left, gy = baseline - g.top;
  const int x0 = static_cast<int>(std::max<int64_t>(gx, cx0));
  const int x1 = static_cast<int>(std::min<int64_t>(gx + g.w, cx1));
  const int y0 = static_cast<int>(std::max<int64_t>(gy, cy0));
  const int y1 = static_cast<int>(std::min<int64_t>(gy + g.h, cy1));
  for (int y = y0; y < y1; ++y) {
    const uint8_t* cov = g.coverage.data() + (y - gy) * g.w + (x0 - gx);
    Colour* row = s.Row(y) + x0;
    for (int x = 0; x < x1 - x0; ++x)
      if (cov[x] != 0) put(row[x], cov[x]);
  }
}

// Draws glyph g in one colour wherever it has coverage (monochrome fonts).
void PutGlyphMono(Surface& s, const Glyph& g, int64_t penX, int64_t baseline, Colour c,
                  int cx0, int cy0, int cx1, int cy1) {
  ForGlyphPixels(s, g, penX, baseline, cx0, cy0, cx1, cy1, [c](Colour& d, uint8_t) { d = c; });
}

// Releases FreeType and fontconfig at exit, so leak checkers see a clean end.
void ShutdownText() {
  TextState& st = State();
  for (auto& f : st.created) f->glyphs.clear();
  st.created.clear();
  st.smooth.clear();
  st.defaultFont.glyphs.clear();
  st.defaultFont.face = nullptr;
  if (st.lib != nullptr) FT_Done_FreeType(st.lib);  // closes every face and size
  st.lib = nullptr;
  st.ok = false;
  FcFini();
}

}  // namespace

bool InitText() {
  TextState& st = State();
  if (st.tried) return st.ok;
  st.tried = true;
  std::atexit(ShutdownText);
  const char* help =
      "no Japanese font found: install the Debian package fonts-ipafont-gothic "
      "(and fonts-ipafont-mincho)";
  if (!FcInit() || FT_Init_FreeType(&st.lib) != 0) {
    std::fprintf(stderr, "%s: %s\n", plat::detail::ProgramName(), help);
    return false;
  }
  if (!OpenJapaneseFace(st.lib, {"IPAGothic", "IPAexGothic", "TakaoGothic", "VL Gothic",
                                 "Noto Sans Mono CJK JP", "Noto Sans CJK JP", "monospace",
                                 "sans-serif"},
                        st.gothic)) {
    std::fprintf(stderr, "%s: %s\n", plat::detail::ProgramName(), help);
    return false;
  }
  if (!OpenJapaneseFace(st.lib, {"IPAMincho", "IPAexMincho", "TakaoMincho", "Noto Serif CJK JP",
                                 "serif"},
                        st.serif)) {
    st.serif = st.gothic;  // a gothic stands in for the missing serif
  }
  if (!OpenJapaneseFace(st.lib, {"IPAPGothic", "IPAexGothic", "TakaoPGothic", "Noto Sans CJK JP",
                                 "sans-serif"},
                        st.pgothic)) {
    st.pgothic = st.gothic;
  }
  // The default font: an old system font's 16-pixel cell, ascent 14, 8 pixels per byte.
  Font& d = st.defaultFont;
  d.height = 16;
  d.ascent = 14;
  d.mono = true;
  d.useBitmaps = true;
  d.byteCell = 8;
  if (!SetUpFont(d, st.gothic.face, 16 * 64)) {
    std::fprintf(stderr, "%s: %s\n", plat::detail::ProgramName(), help);
    return false;
  }
  int used;
  DecodeOneCp932(reinterpret_cast<const unsigned char*>("A"), 1, &used);  // builds the tables now
  st.ok = true;
  return true;
}

const Font* DefaultFont() {
  EnsureText();
  return &State().defaultFont;
}

const Font* CreatedFont(int height, int weight) {
  TextState& st = State();
  if (!EnsureText()) return &st.defaultFont;
  if (height < 0) height = -height;  // a character height; close enough to the cell
  if (height == 0) height = 16;
  height = std::min(height, 2048);
  for (const auto& f : st.created)
    if (f->askedHeight == height && f->askedWeight == weight) return f.get();
  auto f = std::make_unique<Font>();
  f->askedHeight = height;
  f->askedWeight = weight;
  f->mono = true;
  if (!SetUpCellFont(*f, st.serif, height)) return &st.defaultFont;
  if (weight >= 600) {
    // Bold from a face without a bold cut: thicken the outlines by about a twentieth of
    // the size, at least one pixel, as the old system's simulated bold did.
    const FT_Pos ppem26 = f->size->metrics.x_ppem * 64;
    f->bolden = std::max<FT_Pos>(64, ppem26 / 20);
  }
  st.created.push_back(std::move(f));
  return st.created.back().get();
}

const Font* SmoothFont(int height) {
  TextState& st = State();
  if (!EnsureText()) return &st.defaultFont;
  if (height < 0) height = -height;
  if (height == 0) height = 16;
  height = std::min(height, 2048);
  for (const auto& f : st.smooth)
    if (f->askedHeight == height) return f.get();
  auto f = std::make_unique<Font>();
  f->askedHeight = height;
  f->mono = false;
  if (!SetUpCellFont(*f, st.pgothic, height)) return &st.defaultFont;
  st.smooth.push_back(std::move(f));
  return st.smooth.back().get();
}

int FontHeight(const Font* font) { return font != nullptr ? font->height : 0; }

int TextWidth(const Font* font, const char* text, int n) {
  if (font == nullptr || text == nullptr) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  int64_t width = 0;
  for (int i = 0; i < n;) {
    int used;
    const char32_t c = DecodeOneCp932(p + i, n - i, &used);
    width += Advance(font, GetGlyph(font, c), used);
    i += used;
  }
  return static_cast<int>(std::min<int64_t>(width, 1 << 30));
}

int DrawText(Surface& s, int x, int y, const char* text, int n, Colour colour, const Font* font) {
  if (font == nullptr || text == nullptr || n <= 0) return 0;
  const int width = TextWidth(font, text, n);
  // The white box, clipped to the surface; glyphs are clipped to the box too.
  const int cx0 = static_cast<int>(std::clamp<int64_t>(x, 0, s.width));
  const int cx1 = static_cast<int>(std::clamp<int64_t>(int64_t{x} + width, 0, s.width));
  const int cy0 = static_cast<int>(std::clamp<int64_t>(y, 0, s.height));
  const int cy1 = static_cast<int>(std::clamp<int64_t>(int64_t{y} + font->height, 0, s.height));
  if (cx0 >= cx1 || cy0 >= cy1) return width;
  FillRect(s, cx0, cy0, cx1, cy1, 0xFFFFFF);
  colour &= 0xFFFFFF;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  int64_t pen = x;
  const int64_t baseline = int64_t{y} + font->ascent;
  for (int i = 0; i < n && pen < cx1;) {
    int used;
    const char32_t c = DecodeOneCp932(p + i, n - i, &used);
    const Glyph& g = GetGlyph(font, c);
    if (g.w > 0) PutGlyphMono(s, g, pen, baseline, colour, cx0, cy0, cx1, cy1);
    pen += Advance(font, g, used);
    i += used;
  }
  return width;
}

// Where the line that starts at byte i ends when it may be at most `width` pixels wide:
// at a '\n', at the last space that still fits, or (for text without spaces, as Japanese
// is) before the first character that does not fit. Always takes at least one character.
static int LineEnd(const Font* font, const unsigned char* p, int n, int i, int64_t width) {
  int64_t used = 0;
  int lastSpace = -1, previous = -1;
  for (int j = i; j < n;) {
    if (p[j] == '\n') return j;
    int bytes;
    const char32_t c = DecodeOneCp932(p + j, n - j, &bytes);
    used += Advance(font, GetGlyph(font, c), bytes);
    if (used > width && j > i) {
      if (lastSpace > i) return lastSpace;
      // Japanese punctuation never starts a line: it takes the character before along.
      auto closing = [](char32_t k) {
        return k == U'。' || k == U'、' || k == U'）' || k == U'」' || k == U'．';
      };
      return closing(c) && previous > i ? previous : j;
    }
    if (c == U' ') lastSpace = j;
    previous = j;
    j += bytes;
  }
  return n;
}

void DrawSmoothText(Surface& s, int left, int top, int right, int bottom,
                    const char* text, uint32_t argb, const Font* font) {
  if (font == nullptr || text == nullptr) return;
  const int cx0 = std::max(left, 0), cy0 = std::max(top, 0);
  const int cx1 = std::min(right, s.width), cy1 = std::min(bottom, s.height);
  if (cx0 >= cx1 || cy0 >= cy1) return;
  const uint32_t alpha = argb >> 24;
  if (alpha == 0) return;
  const uint32_t cr = (argb >> 16) & 0xFF, cg = (argb >> 8) & 0xFF, cb = argb & 0xFF;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  int n = 0;
  while (p[n] != 0) ++n;
  const int64_t width = int64_t{right} - left;
  int64_t lineTop = top;
  for (int i = 0; i < n && lineTop < cy1;) {
    const int end = LineEnd(font, p, n, i, width);
    int64_t pen = left;
    for (int j = i; j < end;) {
      int used;
      const char32_t c = DecodeOneCp932(p + j, end - j, &used);
      j += used;
      const Glyph& g = GetGlyph(font, c);
      const int64_t penX = pen;
      pen += Advance(font, g, used);
      if (g.w == 0) continue;
      ForGlyphPixels(s, g, penX, lineTop + font->ascent, cx0, cy0, cx1, cy1,
                     [&](Colour& d, uint8_t coverage) {
                       const uint32_t a = coverage * alpha;  // 1..255*255
                       const uint32_t inv = 255 * 255 - a;
                       const uint32_t r = (cr * a + (d & 0xFF) * inv + 32512) / 65025;
                       const uint32_t gg = (cg * a + ((d >> 8) & 0xFF) * inv + 32512) / 65025;
                       const uint32_t b = (cb * a + ((d >> 16) & 0xFF) * inv + 32512) / 65025;
                       d = r | (gg << 8) | (b << 16);
                     });
    }
    // Past the break: a '\n' or the space the line broke at is not drawn.
    i = end;
    if (i < n && (p[i] == '\n' || p[i] == ' ')) ++i;
    lineTop += font->height;
  }
}

}  // namespace plat
