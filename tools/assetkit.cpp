#include "tools/assetkit.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace assets {

Image::Image(int w, int h, uint32_t fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

uint32_t Image::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return pixels[static_cast<size_t>(y) * width + x];
}

void Image::Set(int x, int y, uint32_t c) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  pixels[static_cast<size_t>(y) * width + x] = c;
}

void Image::Fill(int x, int y, int w, int h, uint32_t c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Image::Paste(const Image& src, int x, int y) {
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i) Set(x + i, y + j, src.Get(i, j));
}

void Fail(const std::string& name, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", name.c_str(), message.c_str());
  std::exit(1);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(path, "cannot open for reading");
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  if (!out) Fail(path, "cannot open for writing (does its folder exist?)");
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail(path, "write failed");
}

Image ParsePixelArt(const std::string& text, const std::string& name) {
  std::map<char, uint32_t> palette;
  Image img;
  bool inPalette = false, sized = false;
  int x0 = 0, row = 0;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  auto where = [&] { return name + ":" + std::to_string(lineNo); };
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "palette") {
      inPalette = true;
      continue;
    }
    if (key == "size") {
      int w = 0, h = 0;
      if (!(words >> w >> h) || w <= 0 || h <= 0 || w > 8192 || h > 8192)
        Fail(where(), "expected 'size W H' with positive sizes");
      img = Image(w, h, 0);
      sized = true;
      inPalette = false;
      continue;
    }
    if (key == "at") {
      int x = 0, y = 0;
      if (!(words >> x >> y)) Fail(where(), "expected 'at X Y'");
      x0 = x;
      row = y;
      inPalette = false;
      continue;
    }
    if (inPalette) {
      std::string hex;
      if (line.size() < 3 || line[1] != ' ' || !(std::istringstream(line.substr(2)) >> hex) ||
          hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        Fail(where(), "expected a palette entry 'C RRGGBB'");
      palette[line[0]] = Rgb(static_cast<uint32_t>(std::stoul(hex, nullptr, 16)));
      continue;
    }
    if (!sized) Fail(where(), "pixel row before 'size W H'");
    for (size_t i = 0; i < line.size(); ++i) {
      char c = line[i];
      if (c == ' ') continue;
      auto it = palette.find(c);
      if (it == palette.end()) Fail(where(), std::string("character '") + c + "' is not in the palette");
      int x = x0 + static_cast<int>(i);
      if (x >= img.width || row >= img.height) Fail(where(), "pixel outside the picture");
      img.Set(x, row, it->second);
    }
    ++row;
  }
  if (!sized) Fail(name, "no 'size W H' line");
  return img;
}

Image ReadPixelArt(const std::string& path) { return ParsePixelArt(ReadFile(path), path); }

Image MaskOf(const Image& picture) {
  Image mask(picture.width, picture.height, 0xFFFFFF);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    if (picture.pixels[i] & 0xFFFFFF) mask.pixels[i] = 0;
  return mask;
}

static void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
static void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

void WriteBmp(const std::string& path, const Image& img) {
  if (img.width <= 0 || img.height <= 0) Fail(path, "empty picture");
  const uint32_t stride = (static_cast<uint32_t>(img.width) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * static_cast<uint32_t>(img.height);
  std::string s;
  s.reserve(54 + dataSize);
  s += "BM";
  Put32(s, 54 + dataSize);
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(img.width));
  Put32(s, static_cast<uint32_t>(img.height));
  Put16(s, 1);
  Put16(s, 24);
  Put32(s, 0);
  Put32(s, dataSize);
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, 0);
  Put32(s, 0);
  for (int y = img.height - 1; y >= 0; --y) {
    for (int x = 0; x < img.width; ++x) {
      uint32_t c = img.Get(x, y);  // 0x00BBGGRR; BMP stores B, G, R
      s += static_cast<char>((c >> 16) & 0xFF);
      s += static_cast<char>((c >> 8) & 0xFF);
      s += static_cast<char>(c & 0xFF);
    }
    for (uint32_t p = static_cast<uint32_t>(img.width) * 3; p < stride; ++p) s += '\0';
  }
  WriteFile(path, s);
}

void WriteWav(const std::string& path, const Sound& sound) {
  const uint32_t dataSize = static_cast<uint32_t>(sound.samples.size() * 2);
  std::string s;
  s += "RIFF";
  Put32(s, 36 + dataSize);
  s += "WAVEfmt ";
  Put32(s, 16);
  Put16(s, 1);  // PCM
  Put16(s, 1);  // mono
  Put32(s, static_cast<uint32_t>(sound.rate));
  Put32(s, static_cast<uint32_t>(sound.rate) * 2);
  Put16(s, 2);
  Put16(s, 16);
  s += "data";
  Put32(s, dataSize);
  for (int16_t v : sound.samples) Put16(s, static_cast<uint16_t>(v));
  WriteFile(path, s);
}

std::string Utf8ToCp932(const std::string& utf8, const std::string& name) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) Fail(name, "this system's iconv has no CP932 converter");
  std::string out;
  std::string line;
  std::istringstream in(utf8);
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    std::string buf(line.size() * 2 + 4, '\0');
    char* src = line.data();
    size_t srcLeft = line.size();
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
      iconv_close(cd);
      Fail(name + ":" + std::to_string(lineNo),
           errno == EILSEQ ? "text that code page 932 cannot hold" : "text that is not valid UTF-8");
    }
    out.append(buf.data(), buf.size() - dstLeft);
    if (!in.eof()) out += "\r\n";
  }
  iconv_close(cd);
  return out;
}

}  // namespace assets
