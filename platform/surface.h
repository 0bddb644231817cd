// Software memory surfaces and the raster operations the games draw with.
// Pixels are 32-bit 0x00BBGGRR colours, row after row, top row first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

using Colour = uint32_t;  // 0x00BBGGRR; the top byte is always 0 on a surface

// Raster operations of a block transfer, bitwise on the 24 colour bits.
enum class Rop {
  Copy,     // dst = src                 (SRCCOPY)
  And,      // dst = dst & src           (SRCAND)
  Invert,   // dst = dst ^ src           (SRCINVERT)
  NotCopy,  // dst = ~src & 0xFFFFFF     (NOTSRCCOPY)
};

struct Surface {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;  // width * height, allocated once by Create

  // Allocates width x height pixels, all black. Sizes below 1 give an empty surface.
  void Create(int w, int h);
  Colour* Row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
  const Colour* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
  // Pixel at (x, y), or 0 outside the surface.
  Colour At(int x, int y) const;
};

// Block transfer of w x h pixels from src (sx, sy) to dst (dx, dy), clipped to both
// surfaces: pixels whose source or destination lies outside are left alone.
void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);

// Copies one-pixel-wide source columns cols[0..n-1] (rows sy..sy+h-1 of src) into the
// consecutive destination columns dx..dx+n-1 from row dy, with rop, in one pass: the same
// pixels as n one-pixel Blit calls, clipped the same way.
void BlitColumns(Surface& dst, int dx, int dy, int h, const Surface& src,
                 const int* cols, int n, int sy, Rop rop);

// The pixels of Blit(dst, dx, dy, w, h, src, sx, maskY, And) followed by
// Blit(dst, dx, dy, w, h, src, sx, imageY, Invert), in one pass where the two agree on
// their clipping (the masked texts: the mask and the image are bands of one surface).
void BlitMasked(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int maskY, int imageY);

// A masked transfer kept for drawing again: what BlitMasked from one source does to any
// other surface, as the runs of pixels it changes. Pixels it leaves as they are (mask
// white and image black, since a surface's top byte is 0, or outside the source) are not
// stored at all; a run of pixels that share one mask and image value is stored as that
// pair, the rest as literal masks and images.
struct PackedMask {
  struct Row {
    int y;      // transfer row
    int first;  // its runs are runs[first] up to the next row's first
  };
  struct Run {
    int x, n;   // transfer columns [x, x + n)
    Colour m, k;  // lit < 0: each pixel becomes (pixel & m) ^ k, where k & m == 0
    int lit;      // else the n masks at lits[lit], then the n images
  };
  int w = 0, h = 0;
  std::vector<Row> rows;  // rows with runs, top to bottom, then one ending entry
  std::vector<Run> runs;
  std::vector<Colour> lits;
  size_t Bytes() const {
    return rows.size() * sizeof(Row) + runs.size() * sizeof(Run) + lits.size() * sizeof(Colour);
  }
};

// Packs the transfer BlitMasked(dst, dx, dy, w, h, src, sx, maskY, imageY) would make.
// Reuses out's storage: packing a transfer no larger than one packed into it before
// allocates nothing.
void PackMasked(PackedMask& out, const Surface& src, int sx, int maskY, int imageY, int w, int h);

// The pixels of that BlitMasked onto dst (another surface than the source), clipped alike.
void BlitPacked(Surface& dst, int dx, int dy, const PackedMask& p);

// Sets pixel (x, y) to c; a pixel outside the surface is left alone.
void SetPixel(Surface& s, int x, int y, Colour c);

// Stretched transfer of the source rectangle (sx, sy, sw, sh) onto the destination
// rectangle (dx, dy, dw, dh), nearest neighbour. When a dimension shrinks, the source
// pixels that fall onto one destination pixel are ANDed together (the old default
// stretch mode). Negative widths or heights mirror. Clipped to both surfaces.
void StretchBlit(Surface& dst, int dx, int dy, int dw, int dh,
                 const Surface& src, int sx, int sy, int sw, int sh, Rop rop);

// Filled rectangle with the old rectangle rule: columns left..right-1, rows top..bottom-1,
// corners normalised first. Clipped.
void FillRect(Surface& s, int left, int top, int right, int bottom, Colour c);

// Filled ellipse inscribed in the box left..right-1, top..bottom-1 (right and bottom
// edges excluded). Clipped.
void FillEllipse(Surface& s, int left, int top, int right, int bottom, Colour c);

// One-pixel line from (x1, y1) towards (x2, y2); the end point itself is not drawn.
void DrawLineTo(Surface& s, int x1, int y1, int x2, int y2, Colour c);

// CPU paths of the transfers, fills and lines; every path gives the same pixels. The widest
// the CPU offers is used, unless the environment variable KOBAKO_ROWS is "baseline".
// Avx512 is the AVX2 path with lines stored sixteen pixels at a time under mask registers.
enum class RowPath { Baseline, Avx2, Avx512 };
// Switches to path (tests and benchmarks); false, and nothing changes, when the CPU or
// this build lacks it.
bool UseRowPath(RowPath path);
RowPath ActiveRowPath();

// Loads a .bmp file (1, 4, 8, 24 or 32 bits, bottom-up or top-down) into s, replacing
// its size. A path with backslashes is opened with slashes. A missing or unreadable file
// leaves s as a blank (black) surface of fallbackW x fallbackH, writes one warning line
// to stderr naming the file and the problem, and returns false.
bool LoadBitmap(Surface& s, const char* path, int fallbackW = 1, int fallbackH = 1);

// Writes s as an 8-bit RGB PNG. Returns false (with a message on stderr naming the file)
// when the file cannot be written.
bool WritePng(const Surface& s, const char* path);

// Turns "data\\back.bmp" into "data/back.bmp" in a caller-supplied buffer of size cap.
// The result stays relative to the working directory: files the rules keep beside the
// player (saved options, records) are opened through this or plain fopen.
void NativePath(const char* path, char* out, int cap);

// The same for a program's own data (pictures, sounds, data files): a relative path is
// taken from the data folder. LoadBitmap, the sound "open" command and the games' data
// readers use it, so a program finds its data whatever the working directory. Allocates
// nothing; the result is cut at cap bytes.
void DataPath(const char* path, char* out, int cap);

// Sets the data folder; null or "" means the working directory (the default, which tests
// and benchmarks rely on). ParseCommandLine sets it to the executable's own folder.
void SetDataFolder(const char* folder);

}  // namespace plat
