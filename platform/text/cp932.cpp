// Code page 932 (Shift-JIS with the Windows extensions) to Unicode. The tables are
// filled once, on first use, by asking iconv about every single byte and every lead and
// trail byte pair; decoding is then a table look-up that allocates nothing.
#include "cp932.h"

#include <iconv.h>

#include "../text.h"

namespace plat {

namespace {

constexpr char32_t kBad = 0xFFFD;
constexpr int kTrails = 256 - 0x40;

bool IsLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
int LeadIndex(unsigned b) { return b <= 0x9F ? b - 0x81 : b - 0xE0 + 31; }

struct Tables {
  char32_t single[256];
  char32_t pair[60][kTrails];  // [lead index][trail - 0x40]

  Tables() {
    for (auto& c : single) c = kBad;
    for (auto& row : pair)
      for (auto& c : row) c = kBad;
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      for (int b = 0; b < 0x80; ++b) single[b] = static_cast<char32_t>(b);
      return;
    }
    for (unsigned b = 0; b < 256; ++b)
      if (!IsLead(b)) single[b] = Convert(cd, b, 0, 1);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLead(lead)) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
        if (IsTrail(trail)) pair[LeadIndex(lead)][trail - 0x40] = Convert(cd, lead, trail, 2);
    }
    iconv_close(cd);
  }

  static char32_t Convert(iconv_t cd, unsigned b0, unsigned b1, size_t n) {
    char in[2] = {static_cast<char>(b0), static_cast<char>(b1)};
    unsigned char out[8];
    char* ip = in;
    char* op = reinterpret_cast<char*>(out);
    size_t il = n, ol = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0 || ol != 4) return kBad;
    return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24));
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

// Appends the UTF-8 form of c to out[pos..cap-1) if it fits whole; returns the new pos.
int PutUtf8(char32_t c, char* out, int pos, int cap) {
  unsigned char b[4];
  int len;
  if (c < 0x80) { b[0] = static_cast<unsigned char>(c); len = 1; }
  else if (c < 0x800) { b[0] = 0xC0 | (c >> 6); b[1] = 0x80 | (c & 0x3F); len = 2; }
  else if (c < 0x10000) { b[0] = 0xE0 | (c >> 12); b[1] = 0x80 | ((c >> 6) & 0x3F); b[2] = 0x80 | (c & 0x3F); len = 3; }
  else { b[0] = 0xF0 | (c >> 18); b[1] = 0x80 | ((c >> 12) & 0x3F); b[2] = 0x80 | ((c >> 6) & 0x3F); b[3] = 0x80 | (c & 0x3F); len = 4; }
  if (pos + len > cap - 1) return -1;
  for (int i = 0; i < len; ++i) out[pos + i] = static_cast<char>(b[i]);
  return pos + len;
}

}  // namespace

char32_t DecodeOneCp932(const unsigned char* text, int n, int* used) {
  const Tables& t = GetTables();
  const unsigned b = text[0];
  *used = 1;
  if (!IsLead(b)) return t.single[b];
  if (n < 2 || !IsTrail(text[1])) return kBad;  // the next byte starts a character of its own
  *used = 2;
  return t.pair[LeadIndex(b)][text[1] - 0x40];
}

int DecodeCp932(const char* text, int n, char32_t* out, int cap) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  int count = 0, i = 0;
  while (i < n && count < cap) {
    int used;
    out[count++] = DecodeOneCp932(p + i, n - i, &used);
    i += used;
  }
  return count;
}

void Cp932ToUtf8(const char* text, char* out, int cap) {
  if (out == nullptr || cap <= 0) return;
  int pos = 0;
  if (text != nullptr) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    int len = 0;
    while (p[len] != 0) ++len;
    for (int i = 0; i < len;) {
      int used;
      const char32_t c = DecodeOneCp932(p + i, len - i, &used);
      const int next = PutUtf8(c, out, pos, cap);
      if (next < 0) break;
      pos = next;
      i += used;
    }
  }
  out[pos] = '\0';
}

}  // namespace plat
