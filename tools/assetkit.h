// The asset toolchain's library: images and sounds made by code or read from readable
// sources, written as the .bmp, .wav and code-page-932 .txt files the programs load.
// Every failure stops the tool with a message naming the file and the problem, so a
// broken source breaks the build instead of shipping a broken asset.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assets {

constexpr double kPi = 3.14159265358979323846;

// A picture in 0x00BBGGRR colours, the programs' colour order.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;

  Image() = default;
  Image(int w, int h, uint32_t fill = 0);
  uint32_t Get(int x, int y) const;       // 0 outside
  void Set(int x, int y, uint32_t c);     // ignored outside
  void Fill(int x, int y, int w, int h, uint32_t c);
  void Paste(const Image& src, int x, int y);  // copies src with its top-left at (x, y)
};

// 0xRRGGBB as people write colours, to the programs' 0x00BBGGRR.
constexpr uint32_t Rgb(uint32_t rrggbb) {
  return ((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF);
}

// Pixel art as text:
//   palette                 starts the palette; each following line "C RRGGBB" maps
//   . 000000                the character C to a colour, until another keyword
//   size W H                the picture's size (required, before any rows); starts black
//   at X Y                  the following rows are drawn from (X, Y) down
//   ..ww..                  a row: one palette character per pixel; a space leaves the
//                           pixel as it is
// Lines starting with ';' are comments. `name` is used in error messages.
Image ParsePixelArt(const std::string& text, const std::string& name);
Image ReadPixelArt(const std::string& path);

// Mask for a sprite drawn with AND then XOR: black where the picture is not black,
// white elsewhere.
Image MaskOf(const Image& picture);

// Writes a 24-bit bottom-up BMP.
void WriteBmp(const std::string& path, const Image& img);

// Mono 16-bit PCM.
struct Sound {
  int rate = 22050;
  std::vector<int16_t> samples;
};
void WriteWav(const std::string& path, const Sound& sound);

// UTF-8 to code page 932. Text that code page 932 cannot hold stops the tool with a
// message naming `name` and the line.
std::string Utf8ToCp932(const std::string& utf8, const std::string& name);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Prints "NAME: message" to stderr and exits with status 1.
[[noreturn]] void Fail(const std::string& name, const std::string& message);

}  // namespace assets
