// Text on surfaces: code-page-932 byte strings rendered with FreeType through fontconfig.
// Fonts are loaded once and their glyphs cached, so drawing text allocates nothing after
// a glyph's first use.
#pragma once
#include <cstdint>
#include "surface.h"

namespace plat {

struct Font;  // opaque; owned by the text module for the whole run

// Finds the Japanese fonts. On failure prints which Debian package to install, and
// returns false; the caller stops the program. Called by OpenSystem.
bool InitText();

// The surfaces' default font: a Japanese gothic, about 16 px high, monochrome,
// half-width glyphs about 8 px wide, like an old system font.
const Font* DefaultFont();

// A created font: a Japanese serif of the given cell height in pixels and weight
// (400 normal, 700 bold: emboldened when the face has no bold), monochrome.
// Cached per (height, weight): asking again returns the same font.
const Font* CreatedFont(int height, int weight);

// An anti-aliased proportional Japanese gothic of the given height in pixels.
const Font* SmoothFont(int height);

// Height in pixels of the font's text cell (the background box's height).
int FontHeight(const Font* font);

// Width in pixels of n code-page-932 bytes drawn in the font.
int TextWidth(const Font* font, const char* text, int n);

// Draws n code-page-932 bytes with the cell's top-left at (x, y): monochrome glyphs in
// the colour over an opaque white box the size of the text cell. Clipped to the surface.
// Returns the width of the box.
int DrawText(Surface& s, int x, int y, const char* text, int n, Colour colour, const Font* font);

// Draws an anti-aliased text (code page 932, up to its NUL) in the rectangle
// (left, top)-(right, bottom), left and top aligned, breaking lines at '\n' and wrapping
// those too wide for the rectangle (at a space where there is one), clipped to
// the rectangle and the surface, blended over the surface. argb is 0xAARRGGBB; the
// alpha scales the coverage.
void DrawSmoothText(Surface& s, int left, int top, int right, int bottom,
                    const char* text, uint32_t argb, const Font* font);

// Decodes code-page-932 bytes to Unicode code points. Returns the count written (at most
// cap). Bytes that are not valid code page 932 decode to U+FFFD.
int DecodeCp932(const char* text, int n, char32_t* out, int cap);

// Converts code-page-932 bytes (up to NUL) to UTF-8 in out (always NUL-terminated).
void Cp932ToUtf8(const char* text, char* out, int cap);

}  // namespace plat
