// Bitmap files in and PNG files out. The .bmp reader checks every header field against
// the file's real size before it touches the pixel data, so a damaged file gives a
// warning and a blank surface, never a read outside the buffer.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "../surface.h"
#include "platform/common/internal.h"

namespace plat {

void NativePath(const char* path, char* out, int cap) {
  if (out == nullptr || cap <= 0) return;
  int i = 0;
  if (path != nullptr) {
    for (; i < cap - 1 && path[i] != '\0'; ++i) out[i] = path[i] == '\\' ? '/' : path[i];
  }
  out[i] = '\0';
}

namespace {

constexpr int kMaxSide = 32768;
constexpr int64_t kMaxPixels = int64_t{4096} * 4096;  // 64 MiB of pixels at most

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

Colour Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// One colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
  int shift = 0;
  int bits = 0;
  explicit Channel(uint32_t mask) {
    if (mask == 0) return;
    while ((mask & 1) == 0) { mask >>= 1; ++shift; }
    while ((mask & 1) != 0 && bits < 32) { mask >>= 1; ++bits; }
  }
  uint32_t Get(uint32_t v) const {
    if (bits == 0) return 0;
    uint32_t x = (v >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
    if (bits >= 8) return x >> (bits - 8);
    const uint32_t top = (1u << bits) - 1;  // a narrow channel spreads over 0..255
    return (x * 255 + top / 2) / top;
  }
};

// Decodes the bytes of a .bmp file into s; returns nullptr or the reason it cannot.
const char* Decode(const std::vector<uint8_t>& f, Surface& s) {
  const size_t size = f.size();
  const uint8_t* d = f.data();
  if (size < 14 + 12) return "file too short for a bitmap header";
  if (d[0] != 'B' || d[1] != 'M') return "not a BMP file";
  const uint32_t offBits = U32(d + 10);
  const uint32_t hsize = U32(d + 14);
  if (hsize < 12 || hsize > size - 14) return "bad info header size";
  int64_t w, h;
  uint32_t bpp, compression = 0, used = 0;
  bool core = hsize < 40;
  if (core) {
    if (hsize != 12) return "bad info header size";
    w = U16(d + 18);
    h = static_cast<int16_t>(U16(d + 20));
    bpp = U16(d + 24);
  } else {
    w = static_cast<int32_t>(U32(d + 18));
    h = static_cast<int32_t>(U32(d + 22));
    bpp = U16(d + 28);
    compression = U32(d + 30);
    used = U32(d + 46);
  }
  const bool topDown = h < 0;
  if (topDown) h = -h;
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || w * h > kMaxPixels) return "bad image size";
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return "unsupported bit depth";

  // Channel masks: the defaults of BI_RGB, or read for BI_BITFIELDS (after a 40-byte
  // header, or inside a larger one).
  uint32_t rm = 0x00FF0000, gm = 0x0000FF00, bm = 0x000000FF;
  if (bpp == 16) { rm = 0x7C00; gm = 0x03E0; bm = 0x001F; }
  size_t palettePos = 14 + hsize;
  if (compression == 3 || compression == 6) {
    if (bpp != 16 && bpp != 32) return "bit fields need 16 or 32 bits per pixel";
    size_t maskPos = 14 + 40;
    if (hsize == 40) palettePos += compression == 3 ? 12 : 16;
    if (maskPos + 12 > size) return "file too short for the colour masks";
    rm = U32(d + maskPos);
    gm = U32(d + maskPos + 4);
    bm = U32(d + maskPos + 8);
  } else if (compression != 0) {
    return "unsupported compression";
  }

  Colour palette[256] = {};
  if (bpp <= 8) {
    const uint32_t entries = 1u << bpp;
    const uint32_t count = (used == 0 || used > entries) ? entries : used;
    const size_t entrySize = core ? 3 : 4;
    if (palettePos > size || count * entrySize > size - palettePos) return "file too short for the palette";
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = d + palettePos + i * entrySize;
      palette[i] = Rgb(p[2], p[1], p[0]);
    }
  }

  const uint64_t stride = ((static_cast<uint64_t>(w) * bpp + 31) / 32) * 4;
  if (offBits > size || stride * static_cast<uint64_t>(h) > size - offBits) return "file too short for its pixel data";

  const Channel cr(rm), cg(gm), cb(bm);
  s.Create(static_cast<int>(w), static_cast<int>(h));
  for (int64_t y = 0; y < h; ++y) {
    const uint8_t* row = d + offBits + stride * static_cast<uint64_t>(topDown ? y : h - 1 - y);
    Colour* out = s.Row(static_cast<int>(y));
    for (int64_t x = 0; x < w; ++x) {
      Colour c = 0;
      switch (bpp) {
        case 1: c = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: c = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
        case 8: c = palette[row[x]]; break;
        case 16: {
          const uint32_t v = U16(row + 2 * x);
          c = Rgb(cr.Get(v), cg.Get(v), cb.Get(v));
          break;
        }
        case 24: c = Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
        case 32: {
          const uint32_t v = U32(row + 4 * x);
          c = Rgb(cr.Get(v), cg.Get(v), cb.Get(v));
          break;
        }
      }
      out[x] = c;
    }
  }
  return nullptr;
}

}  // namespace

bool LoadBitmap(Surface& s, const char* path, int fallbackW, int fallbackH) {
  char native[1024];
  DataPath(path, native, sizeof native);
  const char* problem = nullptr;
  char reason[256];
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(native, "rb");
  if (f == nullptr) {
    std::snprintf(reason, sizeof reason, "cannot open (%s)", std::strerror(errno));
    problem = reason;
  } else {
    uint8_t buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) {
      if (bytes.size() + got > (size_t{1} << 27)) break;  // beyond any bitmap we accept
      bytes.insert(bytes.end(), buf, buf + got);
    }
    if (std::ferror(f)) {
      std::snprintf(reason, sizeof reason, "cannot read (%s)", std::strerror(errno));
      problem = reason;
    }
    std::fclose(f);
    if (problem == nullptr) problem = Decode(bytes, s);
  }
  if (problem == nullptr) return true;
  std::fprintf(stderr, "%s: warning: bitmap %s: %s; using a blank %dx%d surface\n",
               detail::ProgramName(), native, problem,
               fallbackW, fallbackH);
  s.Create(fallbackW, fallbackH);
  return false;
}

bool WritePng(const Surface& s, const char* path) {
  if (s.width < 1 || s.height < 1) {
    std::fprintf(stderr, "%s: cannot write PNG file %s: the picture is empty\n", detail::ProgramName(), path);
    return false;
  }
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "%s: cannot write PNG file %s: %s\n", detail::ProgramName(), path, std::strerror(errno));
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(f);
    std::fprintf(stderr, "%s: cannot write PNG file %s: out of memory\n", detail::ProgramName(), path);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(s.width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    std::fprintf(stderr, "%s: cannot write PNG file %s: write failed\n", detail::ProgramName(), path);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, s.width, s.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < s.height; ++y) {
    const Colour* p = s.Row(y);
    for (int x = 0; x < s.width; ++x) {
      row[3 * x] = p[x] & 0xFF;
      row[3 * x + 1] = (p[x] >> 8) & 0xFF;
      row[3 * x + 2] = (p[x] >> 16) & 0xFF;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(f) != 0) {
    std::fprintf(stderr, "%s: cannot write PNG file %s: %s\n", detail::ProgramName(), path, std::strerror(errno));
    return false;
  }
  return true;
}

}  // namespace plat
