// Software sprite renderer: tiles are queued between BeginBatch and EndBatch and then
// drawn in order (one texture, so the order by texture is the order of submission); only
// tiles that cannot touch the same pixel are drawn in another order, with the same
// picture as a result.
#include "volley/render.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace volley {
RenderSet renderSet;

namespace {

constexpr uint32_t kKeyRed = 0x0000FF;  // pure red in 0x00BBGGRR
constexpr uint32_t kWhite = 0xFFFFFF;

// a * b / 255, rounded.
inline uint32_t Mul255(uint32_t a, uint32_t b) {
  uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// A texel (0x00BBGGRR) tinted by the tint's red, green and blue.
inline uint32_t Modulate(uint32_t texel, uint32_t r, uint32_t g, uint32_t b) {
  return Mul255(texel & 0xFF, r) | Mul255((texel >> 8) & 0xFF, g) << 8 |
         Mul255(texel >> 16, b) << 16;
}

// src over dst with opacity a (0..255).
inline uint32_t Blend(uint32_t dst, uint32_t src, uint32_t a) {
  uint32_t na = 255 - a;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    uint32_t v = Mul255((src >> shift) & 0xFF, a) + Mul255((dst >> shift) & 0xFF, na);
    out |= (v > 255 ? 255 : v) << shift;
  }
  return out;
}

void FillWhite(Texture& t, int w, int h) {
  t.width = w;
  t.height = h;
  t.bgr.assign(static_cast<size_t>(w) * h, kWhite);
  t.alpha.assign(static_cast<size_t>(w) * h, 255);
}

// Builds the palette entries, the runs of equal entries and the opacity masks.
void CountRuns(Texture& t) {
  static uint32_t lastId = 0;
  t.id = ++lastId;
  const size_t count = static_cast<size_t>(t.width) * t.height;
  t.mask.assign(count, 0);
  for (size_t i = 0; i < count; i++) t.mask[i] = t.alpha[i] != 0 ? 0xFFFFFFFFu : 0;
  t.entry.assign(count, 0);
  t.run.assign(count, 1);
  t.paletteSize = 1;
  for (size_t i = 0; i < count && t.paletteSize > 0; i++) {
    if (t.alpha[i] == 0) continue;
    int e = 1;
    while (e < t.paletteSize && t.palette[e] != t.bgr[i]) e++;
    if (e == t.paletteSize) {
      if (e == kPalette) {
        t.paletteSize = 0;  // too many colours: no runs
        break;
      }
      t.palette[t.paletteSize++] = t.bgr[i];
    }
    t.entry[i] = static_cast<uint8_t>(e);
  }
  if (t.paletteSize == 0) return;
  for (int y = 0; y < t.height; y++) {
    const size_t row = static_cast<size_t>(y) * t.width;
    for (int x = t.width - 2; x >= 0; x--) {
      if (t.entry[row + x] == t.entry[row + x + 1] && t.run[row + x + 1] < 255) {
        t.run[row + x] = static_cast<uint8_t>(t.run[row + x + 1] + 1);
      }
    }
  }
}

// Tiles drawn with an opaque tint are remembered already tinted: a frame draws thousands
// of the same few texture pieces (shapes) in a few hundred colours. The keys are kept
// apart from the texels so that a lookup stays in the fastest cache.
constexpr int kShapes = 16;
constexpr int kTileCacheSize = 2048;  // two ways per set
constexpr int kCachedTexels = 64;
constexpr int kComputedRows = 24;
constexpr int kStampQuads = 4;  // the quads of two row classes

struct Shape {
  uint32_t textureId;
  int srcLeft, srcTop, width, height;
  // The opaque texels of each row as at most two runs, so that a row is drawn by stores
  // alone, without reading the picture; rowRuns[j] is -1 when row j has more runs.
  int8_t rowRuns[kCachedTexels];
  uint8_t runStart[kCachedTexels][2];
  uint8_t runLength[kCachedTexels][2];
  bool solid8;  // eight texels wide and opaque throughout: two quads a row
  // Pieces two, four or eight texels wide and at most 24 high, with at most four
  // distinct colours, are tinted in registers instead of through the cache: every quad
  // of four texels is colour 0 with the lanes of colours 1..3 swapped in by masks. A row
  // whose opaque texels form one run of four or more is drawn by one or two quads laid
  // over that run (overlapping where it is shorter than eight), with stores alone; a row
  // of a piece two wide by half a quad; other rows merge their aligned quads into the
  // picture by the opacity mask (pieces two wide have no such rows).
  int colourCount;                          // 1..4, or 0: drawn through the cache
  uint8_t colours[4];                       // their palette entries
  uint16_t texelLanes[2][8];                // colours as (red, green, blue, 0), two a vector
  uint8_t rowMode[kComputedRows];           // 0 none, 1 or 2 quads, 3 merge, 4 half a quad
  uint8_t quadAt[kComputedRows][2];         // texel offsets of the quads of the row
  uint32_t lanes[kComputedRows][2][4][4];   // per row and quad: [0] opacity, [k] colour k
  uint8_t rowClass[kComputedRows];          // rows with the same quads share a class
  uint8_t firstOfClass[kComputedRows];      // a row of each class
  int classCount;
  int8_t copyFrom[kComputedRows];           // an earlier row the same and as wide, or -1
  // A lattice stores a row of one or two quads together with the rows that copy it (at
  // most eight in all) from the quads in registers: repeatRows[j] are those rows, row j
  // first, repeatCount[j] of them (0 when row j is not stored so); fused rows are then
  // not copied.
  uint8_t repeatRows[kComputedRows][8];
  uint8_t repeatCount[kComputedRows];
  bool fused[kComputedRows];
  // A computed piece of four or eight texels with at most two row classes whose rows are
  // all drawn by stores alone is a stamp: for each of its four class quads, the texels
  // (storeX, storeRow) where that quad is stored, quad after quad, groupSize[k] of them
  // for quad k. A group is padded to an even size by storing its last quad twice (a quad
  // stored again where it already is changes nothing), so it runs two stores a step.
  // storeOffset holds the same places as offsets in a picture storeStride pixels wide.
  int storeCount;                           // 0: not a stamp
  uint8_t groupSize[kStampQuads];
  uint8_t storeRow[2 * kComputedRows + kStampQuads], storeX[2 * kComputedRows + kStampQuads];
  int32_t storeOffset[2 * kComputedRows + kStampQuads];
  int storeStride;
  bool halfStores;                          // stores of two texels (pieces two wide)
  uint32_t stampTag;                        // (its index in shapes + 1) << 24
};
Shape shapes[kShapes];
int shapeCount = 0;

uint32_t cacheKey[kTileCacheSize];  // tint | (shape + 1) << 24; 0: empty
uint8_t lastWay[kTileCacheSize / 2];
uint32_t cacheTexels[kTileCacheSize][kCachedTexels];  // width x height, 0 where keyed out

// The class quads of stamps, tinted, by shape and tint: the bullets of a frame are a few
// hundred colours of one shape. Direct-mapped, and large against those few hundred so
// that colours seldom take each other's slots.
constexpr int kStampCacheSize = 4096;
uint32_t stampKey[kStampCacheSize];  // tint | (shape + 1) << 24; 0: empty

// The shape of a tile's piece, or -1 when it cannot be cached (too large, not wholly
// inside the texture, too many colours, too many shapes).
int ShapeOf(const Texture& t, const Piece& piece) {
  const int w = piece.width, h = piece.height, sl = piece.srcLeft, st = piece.srcTop;
  static int last = 0;  // tiles come in long runs of one shape
  for (int k = -1; k < shapeCount; k++) {
    const int i = k < 0 ? last : k;
    if (i >= shapeCount) continue;
    const Shape& p = shapes[i];
    if (p.srcLeft == sl && p.srcTop == st && p.width == w && p.height == h &&
        p.textureId == t.id) {
      last = i;
      return i;
    }
  }
  if (t.paletteSize == 0 || w * h > kCachedTexels || sl < 0 || st < 0 || sl > t.width - w ||
      st > t.height - h) {
    return -1;
  }
  if (shapeCount == kShapes) {
    // Full (textures were made again and again): start afresh.
    shapeCount = 0;
    std::memset(cacheKey, 0, sizeof cacheKey);
    std::memset(stampKey, 0, sizeof stampKey);
  }
  Shape& p = shapes[shapeCount];
  p = Shape{};
  p.textureId = t.id;
  p.srcLeft = sl;
  p.srcTop = st;
  p.width = w;
  p.height = h;
  for (int j = 0; j < h; j++) {
    const uint8_t* alpha = t.alpha.data() + static_cast<size_t>(st + j) * t.width + sl;
    int runs = 0;
    for (int i = 0; i < w;) {
      if (alpha[i] == 0) {
        i++;
        continue;
      }
      int end = i;
      while (end < w && alpha[end] != 0) end++;
      if (runs < 2) {
        p.runStart[j][runs] = static_cast<uint8_t>(i);
        p.runLength[j][runs] = static_cast<uint8_t>(end - i);
      }
      runs++;
      i = end;
    }
    p.rowRuns[j] = static_cast<int8_t>(runs <= 2 ? runs : -1);
  }
  p.solid8 = w == 8;
  for (int j = 0; j < h; j++) p.solid8 = p.solid8 && p.rowRuns[j] == 1 && p.runLength[j][0] == 8;
  p.colourCount = 0;
  bool fullPairs = w == 2;  // two wide: every row empty or opaque on both texels
  for (int j = 0; j < h && fullPairs; j++) {
    fullPairs = p.rowRuns[j] == 0 || (p.rowRuns[j] == 1 && p.runLength[j][0] == 2);
  }
  if ((w == 4 || w == 8 || fullPairs) && h <= kComputedRows) {
    const int rows = h < kComputedRows ? h : kComputedRows;  // h itself, said so for the optimizer
    int n = 0;
    for (int j = 0; j < rows && n >= 0; j++) {
      const uint8_t* entry = t.entry.data() + static_cast<size_t>(st + j) * t.width + sl;
      for (int i = 0; i < w && n >= 0; i++) {
        if (entry[i] == 0) continue;
        int k = 0;
        while (k < n && p.colours[k] != entry[i]) k++;
        if (k < n) continue;
        if (n == 4) {
          n = -1;  // too many colours
        } else {
          p.colours[n++] = entry[i];
        }
      }
    }
    if (n > 0) {
      p.colourCount = n;
      for (int j = 0; j < rows; j++) {
        const uint8_t* entry = t.entry.data() + static_cast<size_t>(st + j) * t.width + sl;
        const int start = p.runStart[j][0], length = p.runLength[j][0];
        if (p.rowRuns[j] == 0) {
          p.rowMode[j] = 0;
        } else if (w == 2) {
          p.rowMode[j] = 4;
          p.quadAt[j][0] = 0;
          p.quadAt[j][1] = 0;
        } else if (p.rowRuns[j] == 1 && length >= 4) {
          p.rowMode[j] = length > 4 ? 2 : 1;
          p.quadAt[j][0] = static_cast<uint8_t>(start);
          p.quadAt[j][1] = static_cast<uint8_t>(start + length - 4);
        } else {
          p.rowMode[j] = 3;
          p.quadAt[j][0] = 0;
          p.quadAt[j][1] = 4;
        }
        for (int q = 0; q < 2; q++) {
          for (int l = 0; l < 4; l++) {
            const int i = p.quadAt[j][q] + l;
            const uint8_t e = p.rowMode[j] != 0 && i < w ? entry[i] : 0;
            for (int k = 0; k < 4; k++) {
              const bool on = e != 0 && (k == 0 || p.colours[k] == e);
              p.lanes[j][q][k][l] = on ? 0xFFFFFFFFu : 0;
            }
          }
        }
      }
      for (int k = 0; k < 4; k++) {
        const uint32_t c = k < n ? t.palette[p.colours[k]] : 0;
        for (int l = 0; l < 4; l++) {
          p.texelLanes[k / 2][(k % 2) * 4 + l] = static_cast<uint16_t>(l < 3 ? (c >> (8 * l)) & 0xFF : 0);
        }
      }
      p.classCount = 0;
      for (int j = 0; j < rows; j++) {
        int c = 0;
        while (c < p.classCount &&
               std::memcmp(p.lanes[j], p.lanes[p.firstOfClass[c]], sizeof p.lanes[j]) != 0) {
          c++;
        }
        if (c == p.classCount) p.firstOfClass[p.classCount++] = static_cast<uint8_t>(j);
        p.rowClass[j] = static_cast<uint8_t>(c);
      }
      // A row opaque from edge to edge that repeats an earlier such row: in a lattice
      // row of side-by-side tiles it is a copy of that earlier picture row. Both must be
      // that wide: a narrower row can share the class (its quads sit elsewhere).
      auto wide = [&](int j) {
        return p.rowRuns[j] == 1 && p.runStart[j][0] == 0 && p.runLength[j][0] == w;
      };
      for (int j = 0; j < rows; j++) {
        int from = -1;
        for (int k = 0; k < j && wide(j); k++) {
          if (from < 0 && wide(k) && p.rowClass[k] == p.rowClass[j]) from = k;
        }
        p.copyFrom[j] = static_cast<int8_t>(from);
      }
      for (int j = 0; j < rows; j++) {
        p.repeatCount[j] = 0;
        p.fused[j] = false;
      }
      for (int j = 0; j < rows; j++) {
        if (p.copyFrom[j] >= 0 || (p.rowMode[j] != 1 && p.rowMode[j] != 2)) continue;
        int n = 0;
        for (int i = j; i < rows; i++) n += i == j || p.copyFrom[i] == j;
        if (n > 8) continue;
        for (int i = j; i < rows; i++) {
          if (i != j && p.copyFrom[i] != j) continue;
          p.repeatRows[j][p.repeatCount[j]++] = static_cast<uint8_t>(i);
          p.fused[i] = i != j;
        }
      }
      // Pieces two wide (every row empty or half a quad) store half quads.
      bool stamp = p.classCount * 2 <= kStampQuads;
      for (int j = 0; j < rows; j++) stamp = stamp && p.rowMode[j] != 3;
      p.halfStores = w == 2;
      p.storeCount = 0;
      for (int k = 0; k < kStampQuads && stamp; k++) {
        const int groupStart = p.storeCount;
        for (int j = 0; j < rows; j++) {
          const int stores = p.rowMode[j] == 4 ? 1 : p.rowMode[j];
          for (int q = 0; q < stores; q++) {
            if (2 * p.rowClass[j] + q != k) continue;
            p.storeRow[p.storeCount] = static_cast<uint8_t>(j);
            p.storeX[p.storeCount++] = p.quadAt[j][q];
          }
        }
        if ((p.storeCount - groupStart) % 2 != 0) {
          p.storeRow[p.storeCount] = p.storeRow[p.storeCount - 1];
          p.storeX[p.storeCount] = p.storeX[p.storeCount - 1];
          p.storeCount++;
        }
        p.groupSize[k] = static_cast<uint8_t>(p.storeCount - groupStart);
      }
      p.storeStride = 0;  // offsets made on first use
      p.stampTag = static_cast<uint32_t>(shapeCount + 1) << 24;
    }
  }
  return shapeCount++;
}

inline size_t SetOf(uint32_t key) {
  key *= 2654435761u;
  key ^= key >> 15;
  key *= 0x2C1B3C6Du;
  key ^= key >> 12;
  return (key & (kTileCacheSize / 2 - 1)) * 2;
}

// The cache slot holding the shape tinted, filled now if it is not there yet.
int TintedPiece(const Texture& t, int shape, uint32_t tint) {
  const uint32_t key = tint | static_cast<uint32_t>(shape + 1) << 24;
  const size_t set = SetOf(key);
  for (int way = 0; way < 2; way++) {
    if (cacheKey[set + way] == key) {
      lastWay[set / 2] = static_cast<uint8_t>(way);
      return static_cast<int>(set) + way;
    }
  }
  const int victim = 1 - lastWay[set / 2];
  lastWay[set / 2] = static_cast<uint8_t>(victim);
  const int slot = static_cast<int>(set) + victim;
  const Shape& p = shapes[shape];
  const uint32_t r = tint & 0xFF, g = (tint >> 8) & 0xFF, b = tint >> 16;
  uint32_t tinted[kPalette];
  tinted[0] = 0;
  for (int e = 1; e < t.paletteSize; e++) {
    tinted[e] = t.palette[e] == kWhite ? tint : Modulate(t.palette[e], r, g, b);
  }
  uint32_t* out = cacheTexels[slot];
  for (int j = 0; j < p.height; j++) {
    const uint8_t* entry = t.entry.data() + static_cast<size_t>(p.srcTop + j) * t.width + p.srcLeft;
    for (int i = 0; i < p.width; i++) *out++ = tinted[entry[i]];
  }
  cacheKey[slot] = key;
  return slot;
}

// Four pixels at a time, with GCC's portable vectors.
typedef uint32_t Quad __attribute__((vector_size(16)));
inline Quad LoadQuad(const uint32_t* p) {
  Quad q;
  std::memcpy(&q, p, sizeof q);
  return q;
}
inline void StoreQuad(uint32_t* p, Quad q) { std::memcpy(p, &q, sizeof q); }

// Copies a run of opaque texels onto the picture with stores alone; the last four (or
// two) texels are stored again overlapping, which saves a branch per leftover texel.
inline void CopyRun(uint32_t* dst, const uint32_t* src, int n) {
  if (n >= 4) {
    for (int k = 0; k + 4 < n; k += 4) StoreQuad(dst + k, LoadQuad(src + k));
    StoreQuad(dst + n - 4, LoadQuad(src + n - 4));
  } else if (n >= 2) {
    std::memcpy(dst, src, 2 * sizeof *dst);
    std::memcpy(dst + n - 2, src + n - 2, 2 * sizeof *dst);
  } else if (n == 1) {
    *dst = *src;
  }
}

inline Quad Splat(uint32_t v) { return Quad{v, v, v, v}; }

// The tinted colours of a computed piece, as colour 0 and the swaps to colours 1..3.
struct Tints {
  Quad base;
  Quad swap[4];
};

// Two colours tinted at once, channel by channel in 16-bit lanes: the same rounding as
// Modulate (a white texel gives the tint itself).
typedef uint16_t Lanes16 __attribute__((vector_size(16)));
typedef uint8_t Bytes8 __attribute__((vector_size(8)));

inline void TintTwo(const uint16_t* texels, Lanes16 tint, uint32_t out[2]) {
  Lanes16 v;
  std::memcpy(&v, texels, sizeof v);
  v = v * tint + 128;
  v = (v + (v >> 8)) >> 8;
  const Bytes8 bytes = __builtin_convertvector(v, Bytes8);
  std::memcpy(out, &bytes, sizeof bytes);
}

template <int N>
inline Tints TintsOf(const Shape& p, uint32_t colour) {
  // The tint as 0x00BBGGRR, twice, widened to (red, green, blue, 0) lanes.
  const uint32_t tint = (colour & 0xFF) << 16 | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  const uint32_t twice[2] = {tint, tint};
  Bytes8 bytes;
  std::memcpy(&bytes, twice, sizeof bytes);
  const Lanes16 lanes = __builtin_convertvector(bytes, Lanes16);
  uint32_t c[4];
  TintTwo(p.texelLanes[0], lanes, c);
  if (N > 2) TintTwo(p.texelLanes[1], lanes, c + 2);
  Tints out;
  out.base = Splat(c[0]);
  for (int k = 1; k < N; k++) out.swap[k] = Splat(c[0] ^ c[k]);
  return out;
}

template <int N>
inline Quad QuadOf(const Shape& p, int j, int q, const Tints& tints) {
  Quad v = tints.base;
  for (int k = 1; k < N; k++) v ^= tints.swap[k] & LoadQuad(p.lanes[j][q][k]);
  return v;
}

// The quads of each row class of a computed piece, tinted.
template <int N>
inline void ClassQuads(const Shape& p, const Tints& tints, Quad* out) {
  for (int c = 0; c < p.classCount; c++, out += 2) {
    out[0] = QuadOf<N>(p, p.firstOfClass[c], 0, tints);
    out[1] = QuadOf<N>(p, p.firstOfClass[c], 1, tints);
  }
}

// Row j of a computed piece with its left edge at d, from the quads of the row's class.
inline void PaintRow(const Shape& p, int j, uint32_t* d, const Quad* q) {
  switch (p.rowMode[j]) {
    case 0:
      return;
    case 2:
      StoreQuad(d + p.quadAt[j][1], q[1]);
      [[fallthrough]];
    case 1:
      StoreQuad(d + p.quadAt[j][0], q[0]);
      return;
    case 4:
      std::memcpy(d, &q[0], 2 * sizeof(uint32_t));
      return;
    default:
      for (int k = 0; k < p.width / 4; k++) {
        const Quad opaque = LoadQuad(p.lanes[j][k][0]);
        StoreQuad(d + 4 * k, (LoadQuad(d + 4 * k) & ~opaque) | (q[k] & opaque));
      }
  }
}

Quad stampQuads[kStampCacheSize][kStampQuads];

// What drawing a stamp reads, copied out of its shape: held in registers, it need not be
// read again after each store into the picture (which might, for all the compiler knows,
// change the shape).
struct StampView {
  int groupSize[kStampQuads];
  const int32_t* offset;
  uint32_t tag;
  bool half;
  bool longGroups;  // a group of more than 16 stores
};

inline StampView ViewOf(const Shape& p, const int32_t* offset) {
  StampView v;
  for (int k = 0; k < kStampQuads; k++) v.groupSize[k] = p.groupSize[k];
  v.offset = offset;
  v.tag = p.stampTag;
  v.half = p.halfStores;
  v.longGroups = false;
  for (int k = 0; k < kStampQuads; k++) v.longGroups = v.longGroups || p.groupSize[k] > 16;
  return v;
}

// The class quads of a stamp in an opaque colour, from the cache.
template <int N>
[[gnu::always_inline]] inline const Quad* StampQuads(const Shape& p, uint32_t tag, uint32_t colour) {
  const uint32_t key = (colour & 0xFFFFFF) | tag;
  const uint32_t slot = (key * 2654435761u) >> 20;  // 12 bits: kStampCacheSize
  Quad* quads = stampQuads[slot];
  if (stampKey[slot] != key) {
    ClassQuads<N>(p, TintsOf<N>(p, colour), quads);
    stampKey[slot] = key;
  }
  return quads;
}

// The picture offsets of a stamp's stores, made again when the picture width changes.
inline const int32_t* StoreOffsets(const Shape& p, int stride) {
  Shape& m = shapes[(p.stampTag >> 24) - 1];
  if (m.storeStride != stride) {
    for (int k = 0; k < m.storeCount; k++) m.storeOffset[k] = m.storeRow[k] * stride + m.storeX[k];
    m.storeStride = stride;
  }
  return m.storeOffset;
}

// One store of a stamp: a quad, or half of one.
template <bool Half>
[[gnu::always_inline]] inline void StampStore(uint32_t* at, Quad v) {
  if (Half) {
    std::memcpy(at, &v, 2 * sizeof(uint32_t));
  } else {
    StoreQuad(at, v);
  }
}

// A stamp with its top left at d, in its tinted class quads q. Groups of up to 16 stores
// (the common small pieces) go through one jump into a straight run of stores instead of
// a loop step every two.
template <bool Half, bool Long>
[[gnu::always_inline]] inline void StampStores(const StampView& view, const Quad* q, uint32_t* d) {
  const int32_t* offset = view.offset;
#pragma GCC unroll 4
  for (int k = 0; k < kStampQuads; k++) {
    const Quad v = q[k];
    const int n = view.groupSize[k];
    if (Long && n > 16) {
      for (int e = 0; e < n; e += 2) {
        StampStore<Half>(d + offset[e], v);
        StampStore<Half>(d + offset[e + 1], v);
      }
    } else {
      switch (n) {  // sizes are even
        case 16: StampStore<Half>(d + offset[15], v); StampStore<Half>(d + offset[14], v); [[fallthrough]];
        case 14: StampStore<Half>(d + offset[13], v); StampStore<Half>(d + offset[12], v); [[fallthrough]];
        case 12: StampStore<Half>(d + offset[11], v); StampStore<Half>(d + offset[10], v); [[fallthrough]];
        case 10: StampStore<Half>(d + offset[9], v); StampStore<Half>(d + offset[8], v); [[fallthrough]];
        case 8: StampStore<Half>(d + offset[7], v); StampStore<Half>(d + offset[6], v); [[fallthrough]];
        case 6: StampStore<Half>(d + offset[5], v); StampStore<Half>(d + offset[4], v); [[fallthrough]];
        case 4: StampStore<Half>(d + offset[3], v); StampStore<Half>(d + offset[2], v); [[fallthrough]];
        case 2: StampStore<Half>(d + offset[1], v); StampStore<Half>(d + offset[0], v); [[fallthrough]];
        default: break;
      }
    }
    offset += n;
  }
}
[[gnu::always_inline]] inline void Stamp(const StampView& view, const Quad* q, uint32_t* d) {
  if (view.longGroups) {
    if (view.half) {
      StampStores<true, true>(view, q, d);
    } else {
      StampStores<false, true>(view, q, d);
    }
  } else if (view.half) {
    StampStores<true, false>(view, q, d);
  } else {
    StampStores<false, false>(view, q, d);
  }
}

// One tile of a computed piece, wholly on the picture and in an opaque colour.
template <int N>
void PaintComputed(plat::Surface& s, const Shape& p, const Placed& tile) {
  uint32_t* d = s.Row(tile.y) + tile.x;
  if (p.storeCount > 0) {
    Stamp(ViewOf(p, StoreOffsets(p, s.width)), StampQuads<N>(p, p.stampTag, tile.colour), d);
    return;
  }
  Quad quads[2 * kComputedRows];
  ClassQuads<N>(p, TintsOf<N>(p, tile.colour), quads);
  for (int j = 0; j < p.height; j++, d += s.width) PaintRow(p, j, d, quads + 2 * p.rowClass[j]);
}

// Runs of queued tiles of one piece that sit on the lattice of their own size, each in
// a cell of its own, touch disjoint pixels and so may be drawn in any order: such a run
// is drawn row of pixels after row of pixels across the picture, which writes whole
// cache lines instead of a narrow column at a time.
constexpr int kLatticeCols = 160, kLatticeRows = 120;  // 640x480 in pieces of 4x4 or more
constexpr int kLatticeCells = kLatticeCols * kLatticeRows;
constexpr int kLatticeMin = 16;           // shorter runs are drawn tile by tile
uint64_t latticeTaken[kLatticeCells / 64];  // one bit per cell
uint16_t latticeTile[kLatticeCells];      // the queued tile in a taken cell
inline bool Taken(int cell) { return latticeTaken[cell >> 6] >> (cell & 63) & 1; }

// log2 of 4 or 8, else -1: lattice pieces are 4 or 8 texels on a side.
inline int LatticeShift(int n) { return n == 4 ? 2 : (n == 8 ? 3 : -1); }

// The length of the lattice run that starts with queued tile `first` (at most up to
// `end`, all of one piece of a computed shape): tiles with an opaque tint, on the
// lattice of the piece's size, wholly on the picture, each on a cell of its own.
int LatticeRun(const plat::Surface& s, const Shape& p, int first, int end) {
  const RenderSet& rs = renderSet;
  const int sx = LatticeShift(p.width), sy = LatticeShift(p.height);
  if (sx < 0 || sy < 0) return 0;
  const int cols = s.width >> sx, rows = s.height >> sy;
  if (cols > kLatticeCols || rows > kLatticeRows) return 0;
  std::memset(latticeTaken, 0, static_cast<size_t>(rows * cols + 63) / 64 * sizeof(uint64_t));
  const int xMask = p.width - 1, yMask = p.height - 1;
  int n = 0;
  for (int i = first; i < end; i++, n++) {
    const Placed& b = rs.batch[i];
    if (b.colour >> 24 != 255 || b.x < 0 || b.y < 0 || (b.x & xMask) != 0 ||
        (b.y & yMask) != 0) {
      break;
    }
    const int cx = b.x >> sx, cy = b.y >> sy;
    if (cx >= cols || cy >= rows) break;
    const int cell = cy * cols + cx;
    if (Taken(cell)) break;  // a second tile on the same cell
    latticeTaken[cell >> 6] |= uint64_t{1} << (cell & 63);
    latticeTile[cell] = static_cast<uint16_t>(i);
  }
  return n;
}

// The quads of every row class of each tile in one row of the lattice.
Quad latticeQuads[kLatticeCols * 8 * 2];

// Opaque black over rows y0..y1-1 of the picture, or over the columns x0..x1-1 of one row.
inline void ClearRows(plat::Surface& s, int y0, int y1) {
  if (y0 < y1) std::memset(s.Row(y0), 0, static_cast<size_t>(y1 - y0) * s.width * sizeof(uint32_t));
}
inline void ClearSpan(uint32_t* row, int x0, int x1) {
  if (x0 < x1) std::memset(row + x0, 0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
}

// With `clear`, the lattice is the first thing drawn on a picture that is to be cleared:
// each row of pixels is cleared just before it is drawn, and where the piece's row is
// opaque from edge to edge only the pixels between the tiles are.
// cellColour(cx, cy, colour) tells whether cell (cx, cy) has a tile and its colour.
template <int N, typename CellColour>
void PaintLattice(plat::Surface& s, const Shape& p, bool clear, CellColour cellColour) {
  const int w = p.width, h = p.height, cols = s.width / w, rows = s.height / h;
  const int perTile = 2 * p.classCount;
  int at[kLatticeCols], spanStart[kLatticeCols], spanEnd[kLatticeCols];
  const Quad* quadsOf[kLatticeCols];
  for (int cy = 0; cy < rows; cy++) {
    int count = 0, tinted = 0;
    uint32_t lastColour = 0;
    for (int cx = 0; cx < cols; cx++) {
      uint32_t colour;
      if (!cellColour(cx, cy, colour)) continue;
      // Neighbouring cells are mostly of one colour: tint only when it changes.
      if (tinted == 0 || colour != lastColour) {
        ClassQuads<N>(p, TintsOf<N>(p, colour), latticeQuads + tinted++ * perTile);
        lastColour = colour;
      }
      quadsOf[count] = latticeQuads + (tinted - 1) * perTile;
      at[count++] = cx * w;
    }
    if (count == 0) {
      if (clear) ClearRows(s, cy * h, cy * h + h);
      continue;
    }
    // The spans of side-by-side tiles, for the rows that are copies of earlier rows.
    int spans = 0;
    for (int m = 0; m < count; m++) {
      if (spans > 0 && spanEnd[spans - 1] == at[m]) {
        spanEnd[spans - 1] += w;
      } else {
        spanStart[spans] = at[m];
        spanEnd[spans++] = at[m] + w;
      }
    }
    for (int j = 0; j < h; j++) {
      uint32_t* row = s.Row(cy * h + j);
      if (clear) {
        if (p.rowRuns[j] == 1 && p.runStart[j][0] == 0 && p.runLength[j][0] == w) {
          int x = 0;
          for (int k = 0; k < spans; k++) {
            ClearSpan(row, x, spanStart[k]);
            x = spanEnd[k];
          }
          ClearSpan(row, x, s.width);
        } else {
          ClearSpan(row, 0, s.width);
        }
      }
      if (p.copyFrom[j] >= 0) {
        const uint32_t* from = s.Row(cy * h + p.copyFrom[j]);
        for (int k = 0; k < spans; k++) {
          std::memcpy(row + spanStart[k], from + spanStart[k],
                      static_cast<size_t>(spanEnd[k] - spanStart[k]) * sizeof(uint32_t));
        }
        continue;
      }
      const int c = 2 * p.rowClass[j];
      const int at0 = p.quadAt[j][0], at1 = p.quadAt[j][1];
      switch (p.rowMode[j]) {
        case 0:
          break;
        case 1:
          for (int m = 0; m < count; m++) StoreQuad(row + at[m] + at0, quadsOf[m][c]);
          break;
        case 2:
          for (int m = 0; m < count; m++) {
            StoreQuad(row + at[m] + at0, quadsOf[m][c]);
            StoreQuad(row + at[m] + at1, quadsOf[m][c + 1]);
          }
          break;
        default:
          for (int m = 0; m < count; m++) {
            const Quad* q = quadsOf[m] + c;
            for (int k = 0; k < w / 4; k++) {
              uint32_t* d = row + at[m] + 4 * k;
              const Quad opaque = LoadQuad(p.lanes[j][k][0]);
              StoreQuad(d, (LoadQuad(d) & ~opaque) | (q[k] & opaque));
            }
          }
      }
    }
  }
  if (clear) ClearRows(s, rows * h, s.height);
}

// Whether the kLatticeMin tiles from `first` are all on the lattice of the piece (`mask`:
// its size less one), which a lattice run needs; a cheap test before LatticeRun, since
// single tiles land on the lattice by chance.
inline bool AlignedAhead(int first, int end, int mask) {
  if (end - first < kLatticeMin) return false;
  const Placed* b = renderSet.batch + first;
  for (int k = 1; k < kLatticeMin; k++) {
    if (((b[k].x | b[k].y) & mask) != 0) return false;
  }
  return true;
}

// Queued tiles first..end-1, all of one piece of a computed shape, in order. `clear`: the
// picture is still to be cleared before anything is drawn on it (and no longer is after).
template <int N>
void PaintPieces(plat::Surface& s, const Texture& t, const Piece& piece, const Shape& p,
                 int first, int end, bool& clear) {
  const RenderSet& rs = renderSet;
  const int maxX = s.width - p.width, maxY = s.height - p.height;
  const int latticeMask = (p.width - 1) | (p.height - 1);
  const bool stamp = p.storeCount > 0;
  const StampView view = ViewOf(p, stamp ? StoreOffsets(p, s.width) : nullptr);
  uint32_t* const pixels = s.pixels.data();
  const size_t stride = static_cast<size_t>(s.width);
  for (int i = first; i < end;) {
    const Placed& b = rs.batch[i];
    if (((b.x | b.y) & latticeMask) == 0 && AlignedAhead(i, end, latticeMask)) {
      const int n = LatticeRun(s, p, i, end);
      if (n >= kLatticeMin) {
        const int cols = s.width / p.width;
        PaintLattice<N>(s, p, clear, [&](int cx, int cy, uint32_t& colour) {
          const int cell = cy * cols + cx;
          if (!Taken(cell)) return false;
          colour = rs.batch[latticeTile[cell]].colour;
          return true;
        });
        clear = false;
        i += n;
        continue;
      }
    }
    if (clear) {
      ClearRows(s, 0, s.height);
      clear = false;
    }
    if (b.colour >> 24 == 255 && b.x >= 0 && b.y >= 0 && b.x <= maxX && b.y <= maxY) {
      if (stamp) {
        Stamp(view, StampQuads<N>(p, view.tag, b.colour), pixels + b.y * stride + b.x);
      } else {
        PaintComputed<N>(s, p, b);
      }
    } else {
      PaintTile(s, t, Tile{piece.slot, b.x, b.y, piece.srcLeft, piece.srcTop, piece.width,
                           piece.height, b.colour});
    }
    i++;
  }
}

// Rows same[0..Rows-1] (rows of the picture, stride pixels apart, from d) of a band of
// side-by-side cells, all alike: per cell its first quad at d, and with Two its second dx
// texels further on.
template <int Rows, bool Two>
void StoreRepeated(uint32_t* d, const uint8_t* same, size_t stride, const Quad* const* quadsOf, int cls,
                   int cols, int w, int dx) {
  uint32_t* row[Rows];
  for (int k = 0; k < Rows; k++) row[k] = d + same[k] * stride;
  for (int c = 0; c < cols; c++) {
    const Quad q0 = quadsOf[c][cls], q1 = quadsOf[c][cls + 1];
    const int x = c * w;
#pragma GCC unroll 8
    for (int k = 0; k < Rows; k++) {
      if (Two) StoreQuad(row[k] + x + dx, q1);
      StoreQuad(row[k] + x, q0);
    }
  }
}

// StoreRepeated by quads a row (1 or 2) and row count (1 to 8).
using StoreRepeatedFn = void (*)(uint32_t*, const uint8_t*, size_t, const Quad* const*, int, int, int, int);
constexpr StoreRepeatedFn kStoreRepeated[2][8] = {
    {StoreRepeated<1, false>, StoreRepeated<2, false>, StoreRepeated<3, false>, StoreRepeated<4, false>,
     StoreRepeated<5, false>, StoreRepeated<6, false>, StoreRepeated<7, false>, StoreRepeated<8, false>},
    {StoreRepeated<1, true>, StoreRepeated<2, true>, StoreRepeated<3, true>, StoreRepeated<4, true>,
     StoreRepeated<5, true>, StoreRepeated<6, true>, StoreRepeated<7, true>, StoreRepeated<8, true>}};

// A lattice of a piece opaque from edge to edge with a tile on every cell, cols x rows
// from (x, y), colours column after column. Along each row of cells the class quads of
// every cell are found first (tinted only where the colour changes); then each row of the
// piece that repeats no earlier row is stored across the whole band, cell after cell, and
// the others are copied whole from the picture row they repeat. Cells touch disjoint
// pixels, so storing row by row instead of cell by cell gives the same picture.
template <int N>
void PaintSolidLattice(plat::Surface& s, const Shape& p, int x, int y, int cols, int rows,
                       const uint32_t* colours) {
  const int w = p.width, h = p.height;
  const int perTile = 2 * p.classCount;
  const size_t stride = static_cast<size_t>(s.width);
  int stored[kComputedRows];
  int storedCount = 0;
  for (int j = 0; j < h; j++) {
    if (p.copyFrom[j] < 0) stored[storedCount++] = j;
  }
  // Pieces of at most two row classes keep their tinted quads in the stamps' cache: a
  // grid shows a few hundred colours, changing from cell to cell.
  const bool cached = perTile <= kStampQuads;
  const Quad* quadsOf[kLatticeCols];
  for (int cy = 0; cy < rows; cy++) {
    uint32_t* top = s.Row(y + cy * h) + x;
    int tinted = 0;
    for (int c = 0; c < cols; c++) {
      const uint32_t colour = colours[c * rows + cy];
      // Neighbouring cells are mostly of one colour: tint only when it changes.
      if (c == 0 || colour != colours[(c - 1) * rows + cy]) {
        // Copied out of the cache: a later cell may take the same cache slot.
        Quad* out = latticeQuads + tinted++ * perTile;
        if (cached) {
          const Quad* from = StampQuads<N>(p, p.stampTag, colour);
          for (int k = 0; k < perTile; k++) out[k] = from[k];
        } else {
          ClassQuads<N>(p, TintsOf<N>(p, colour), out);
        }
        quadsOf[c] = out;
        continue;
      }
      quadsOf[c] = quadsOf[c - 1];
    }
    for (int k = 0; k < storedCount; k++) {
      const int j = stored[k];
      uint32_t* row = top + j * stride;
      const int cls = 2 * p.rowClass[j];
      const int at0 = p.quadAt[j][0], at1 = p.quadAt[j][1];
      if (p.repeatCount[j] > 0) {
        kStoreRepeated[p.rowMode[j] - 1][p.repeatCount[j] - 1](top + at0, p.repeatRows[j], stride, quadsOf, cls,
                                                                cols, w, at1 - at0);
      } else if (p.rowMode[j] == 1) {
        for (int c = 0; c < cols; c++, row += w) StoreQuad(row + at0, quadsOf[c][cls]);
      } else if (p.rowMode[j] == 2) {
        for (int c = 0; c < cols; c++, row += w) {
          StoreQuad(row + at1, quadsOf[c][cls + 1]);
          StoreQuad(row + at0, quadsOf[c][cls]);
        }
      } else {
        for (int c = 0; c < cols; c++, row += w) PaintRow(p, j, row, quadsOf[c] + cls);
      }
    }
    for (int j = 0; j < h; j++) {
      if (p.copyFrom[j] < 0 || p.fused[j]) continue;
      std::memcpy(top + j * stride, top + p.copyFrom[j] * stride,
                  static_cast<size_t>(cols) * w * sizeof(uint32_t));
    }
  }
}

// The queued lattice: through PaintLattice when it is on the lattice of its piece, wholly
// on the picture and opaque, else tile by tile.
template <int N>
bool PaintQueuedLattice(plat::Surface& s, const Shape& p, bool clear) {
  const RenderSet& rs = renderSet;
  const int w = p.width, h = p.height, sx = LatticeShift(w), sy = LatticeShift(h);
  const int cols = rs.latticeCols, rows = rs.latticeRows;
  if (sx < 0 || sy < 0 || (s.width >> sx) > kLatticeCols || (s.height >> sy) > kLatticeRows) {
    return false;
  }
  const int x = rs.latticeX, y = rs.latticeY;
  if ((x & (w - 1)) != 0 || (y & (h - 1)) != 0 || x / w + cols > s.width / w ||
      y / h + rows > s.height / h) {
    return false;
  }
  // Every colour opaque: their alphas ANDed together, four at a time.
  const int count = cols * rows;
  Quad all = Splat(0xFF000000u);
  int i = 0;
  for (; i + 4 <= count; i += 4) all &= LoadQuad(rs.latticeColours + i);
  uint32_t opaque = all[0] & all[1] & all[2] & all[3];
  for (; i < count; i++) opaque &= rs.latticeColours[i];
  if (opaque != 0xFF000000u) return false;
  const int cx0 = x / w, cy0 = y / h;
  bool solid = true;  // every row of the piece opaque from edge to edge
  for (int j = 0; j < h; j++) {
    solid = solid && p.rowRuns[j] == 1 && p.runStart[j][0] == 0 && p.runLength[j][0] == w;
  }
  if (clear && solid) {
    // Only the pixels around the lattice's rectangle need clearing; done first, so that
    // the lattice is what stays in the cache for the tiles drawn over it.
    ClearRows(s, 0, y);
    for (int j = y; j < y + rows * h; j++) {
      ClearSpan(s.Row(j), 0, x);
      ClearSpan(s.Row(j), x + cols * w, s.width);
    }
    ClearRows(s, y + rows * h, s.height);
    clear = false;
  }
  if (solid) {
    PaintSolidLattice<N>(s, p, x, y, cols, rows, rs.latticeColours);
    return true;
  }
  PaintLattice<N>(s, p, clear, [&](int cx, int cy, uint32_t& colour) {
    const unsigned c = static_cast<unsigned>(cx - cx0), r = static_cast<unsigned>(cy - cy0);
    if (c >= static_cast<unsigned>(cols) || r >= static_cast<unsigned>(rows)) return false;
    colour = rs.latticeColours[c * rows + r];
    return true;
  });
  return true;
}

void PaintLatticeRun(plat::Surface& s, const Texture& t, const Piece& a, bool& clear) {
  const RenderSet& rs = renderSet;
  const int shape = t.loaded && a.width > 0 && a.height > 0 ? ShapeOf(t, a) : -1;
  const Shape* p = shape >= 0 ? &shapes[shape] : nullptr;
  bool done = false;
  switch (p != nullptr ? p->colourCount : 0) {
    case 1: done = PaintQueuedLattice<1>(s, *p, clear); break;
    case 2: done = PaintQueuedLattice<2>(s, *p, clear); break;
    case 3: done = PaintQueuedLattice<3>(s, *p, clear); break;
    case 4: done = PaintQueuedLattice<4>(s, *p, clear); break;
    default: break;
  }
  if (clear && !done) ClearRows(s, 0, s.height);
  clear = false;
  if (done) return;
  for (int c = 0; c < rs.latticeCols; c++) {
    for (int r = 0; r < rs.latticeRows; r++) {
      PaintTile(s, t, Tile{a.slot, rs.latticeX + c * a.width, rs.latticeY + r * a.height,
                           a.srcLeft, a.srcTop, a.width, a.height,
                           rs.latticeColours[c * rs.latticeRows + r]});
    }
  }
}

void PaintRun(plat::Surface& s, const Texture& t, const Piece& a, int first, int end,
              bool& clear) {
  const RenderSet& rs = renderSet;
  const int shape = t.loaded && a.width > 0 && a.height > 0 ? ShapeOf(t, a) : -1;
  const Shape* p = shape >= 0 ? &shapes[shape] : nullptr;
  switch (p != nullptr ? p->colourCount : 0) {
    case 1: return PaintPieces<1>(s, t, a, *p, first, end, clear);
    case 2: return PaintPieces<2>(s, t, a, *p, first, end, clear);
    case 3: return PaintPieces<3>(s, t, a, *p, first, end, clear);
    case 4: return PaintPieces<4>(s, t, a, *p, first, end, clear);
    default:
      if (clear) {
        ClearRows(s, 0, s.height);
        clear = false;
      }
      for (int i = first; i < end; i++) {
        const Placed& b = rs.batch[i];
        PaintTile(s, t, Tile{a.slot, b.x, b.y, a.srcLeft, a.srcTop, a.width, a.height, b.colour});
      }
  }
}

}  // namespace

bool MakeTexture(int slot, const plat::Surface& picture) {
  if (slot < 0 || slot >= kTextureSlots) return false;
  Texture& t = renderSet.textures[slot];
  t = Texture{};
  if (picture.width < 1 || picture.height < 1 || picture.width > kMaxTexture ||
      picture.height > kMaxTexture) {
    return false;
  }
  FillWhite(t, picture.width, picture.height);
  for (size_t i = 0; i < t.bgr.size(); i++) {
    uint32_t c = picture.pixels[i] & 0xFFFFFF;
    bool key = c == kKeyRed;
    t.bgr[i] = key ? 0 : c;
    t.alpha[i] = key ? 0 : 255;
  }
  CountRuns(t);
  t.loaded = true;
  return true;
}

bool LoadTexture(int slot, const char* path) {
  if (slot < 0 || slot >= kTextureSlots) return false;
  plat::Surface picture;
  bool ok = plat::LoadBitmap(picture, path, 32, 32);
  if (ok && !MakeTexture(slot, picture)) {
    std::fprintf(stderr, "volley: %s: the image is %dx%d; at most %dx%d can be used\n", path,
                 picture.width, picture.height, kMaxTexture, kMaxTexture);
    ok = false;
  }
  if (!ok) {
    // No usable image: every tile becomes a plain square in its tint.
    Texture& t = renderSet.textures[slot];
    FillWhite(t, 32, 32);
    CountRuns(t);
    t.loaded = true;
  }
  return ok;
}

bool CreateFonts(char* error, int cap) {
  for (int i = 0; i < kFontSlots; i++) {
    renderSet.fonts[i] = plat::SmoothFont(kFontHeights[i]);
    if (renderSet.fonts[i] == nullptr) {
      std::snprintf(error, cap, "cannot create the anti-aliased Japanese font of %d pixels",
                    kFontHeights[i]);
      return false;
    }
  }
  return true;
}

void BeginBatch() {
  renderSet.queued = 0;
  renderSet.runs = 0;
  renderSet.latticeCols = 0;
}

void BeginFrame() {
  BeginBatch();
  renderSet.clearFirst = true;
}

void DrawTile(int slot, int x, int y, int srcLeft, int srcTop, int width, int height,
              uint32_t colour) {
  QueueTile(slot, x, y, srcLeft, srcTop, width, height, colour);
}

void QueueLattice(int slot, int x, int y, int srcLeft, int srcTop, int width, int height,
                  int cols, int rows, const uint32_t* colours) {
  RenderSet& rs = renderSet;
  // One lattice a batch, of pieces of 4 or 8 on a side starting on the picture; anything
  // else is queued tile by tile.
  const bool fits = rs.latticeCols == 0 && cols > 0 && rows > 0 && cols <= kLatticeColours &&
                    rows <= kLatticeColours / cols && (width == 4 || width == 8) &&
                    (height == 4 || height == 8) && x >= 0 && x <= 640 && y >= 0 && y <= 480;
  if (!fits) {
    for (int c = 0; c < cols; c++) {
      for (int r = 0; r < rows; r++) {
        QueueTile(slot, x + c * width, y + r * height, srcLeft, srcTop, width, height,
                  colours[c * rows + r]);
      }
    }
    return;
  }
  rs.latticeX = x;
  rs.latticeY = y;
  rs.latticeCols = cols;
  rs.latticeRows = rows;
  std::memcpy(rs.latticeColours, colours, static_cast<size_t>(cols) * rows * sizeof(uint32_t));
  rs.run[rs.runs++] = Run{Piece{slot, srcLeft, srcTop, width, height}, rs.queued, true};
}

void EndBatch() {
  RenderSet& rs = renderSet;
  if (rs.target != nullptr) {
    plat::Surface& s = *rs.target;
    bool clear = rs.clearFirst;
    // Runs of tiles of one piece of one texture are drawn together.
    for (int r = 0; r < rs.runs; r++) {
      const Run& run = rs.run[r];
      const int end = r + 1 < rs.runs ? rs.run[r + 1].start : rs.queued;
      const int slot = run.piece.slot;
      if (slot < 0 || slot >= kTextureSlots) continue;
      if (run.lattice) {
        PaintLatticeRun(s, rs.textures[slot], run.piece, clear);
      } else {
        PaintRun(s, rs.textures[slot], run.piece, run.start, end, clear);
      }
    }
    if (clear) ClearRows(s, 0, s.height);  // nothing was drawn
  }
  rs.queued = 0;
  rs.runs = 0;
  rs.latticeCols = 0;
  rs.clearFirst = false;
}

namespace {

// Labels are the same every frame and almost always land on the same pixels. Each one
// is drawn once onto a black and onto a white scratch picture to learn which pixels it
// touches (with an opaque colour, every pixel of non-zero coverage changes on one of the
// two; the others are never changed). Each pixel it touches comes out as a function of
// the pixel under it, so after one ordinary drawing the label remembers what was under
// those pixels and what it left there; later, when the same values are under them again,
// the remembered result is written directly, and otherwise the label is drawn the
// ordinary way and remembered anew. Both give the same picture.
constexpr int kLabelCache = 16;

struct TouchedRun {
  uint32_t offset;  // of the first pixel in the picture
  uint32_t count;
  uint32_t first;   // index of its first pixel in CachedLabel::under and ::after
};

struct CachedLabel {
  const char* text = nullptr;
  const plat::Font* font = nullptr;
  int x = 0, y = 0, fontSlot = 0;
  uint32_t argb = 0;
  int pictureWidth = 0, pictureHeight = 0;
  std::vector<TouchedRun> runs;  // the touched pixels, a run a row
  std::vector<uint32_t> under;   // what was under them at the last ordinary drawing
  std::vector<uint32_t> after;   // and what the label left there
  bool remembered = false;       // under and after hold a drawing
};
CachedLabel labelCache[kLabelCache];
int labelCount = 0;

CachedLabel* FindLabel(const plat::Surface& s, int x, int y, const char* text, uint32_t argb,
                       int fontSlot) {
  for (int i = 0; i < labelCount; i++) {
    CachedLabel& l = labelCache[i];
    if (l.text == text && l.font == renderSet.fonts[fontSlot] && l.x == x && l.y == y &&
        l.argb == argb && l.fontSlot == fontSlot &&
        l.pictureWidth == s.width && l.pictureHeight == s.height) {
      return &l;
    }
  }
  // Only opaque colours touch exactly the pixels found on black and white.
  if (labelCount == kLabelCache || argb >> 24 != 255) return nullptr;
  CachedLabel& l = labelCache[labelCount++];
  l.text = text;
  l.font = renderSet.fonts[fontSlot];
  l.x = x;
  l.y = y;
  l.argb = argb;
  l.fontSlot = fontSlot;
  l.pictureWidth = s.width;
  l.pictureHeight = s.height;
  l.remembered = false;
  plat::Surface black, white;
  black.Create(s.width, s.height);
  white.Create(s.width, s.height);
  std::fill(white.pixels.begin(), white.pixels.end(), kWhite);
  const plat::Font* font = renderSet.fonts[fontSlot];
  plat::DrawSmoothText(black, x, y, x + 640, y + 128, text, argb, font);
  plat::DrawSmoothText(white, x, y, x + 640, y + 128, text, argb, font);
  // One run a row, from its first to its last touched pixel: the untouched pixels in
  // between are left as they are, so remembering them too changes nothing, and a few
  // long runs compare and copy faster than many short ones.
  l.runs.clear();
  uint32_t touched = 0;
  for (int y = 0; y < s.height; y++) {
    int first = -1, last = -1;
    for (int x = 0; x < s.width; x++) {
      const size_t i = static_cast<size_t>(y) * s.width + x;
      if (black.pixels[i] == 0 && white.pixels[i] == kWhite) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) continue;
    const uint32_t count = static_cast<uint32_t>(last - first + 1);
    l.runs.push_back({static_cast<uint32_t>(static_cast<size_t>(y) * s.width + first), count,
                      touched});
    touched += count;
  }
  l.under.assign(touched, 0);
  l.after.assign(touched, 0);
  return &l;
}

// Copies the touched pixels of the picture into `to`.
void TakeTouched(const CachedLabel& l, const plat::Surface& s, std::vector<uint32_t>& to) {
  for (const TouchedRun& run : l.runs) {
    std::memcpy(to.data() + run.first, s.pixels.data() + run.offset,
                run.count * sizeof(uint32_t));
  }
}

bool SameUnder(const CachedLabel& l, const plat::Surface& s) {
  for (const TouchedRun& run : l.runs) {
    if (std::memcmp(s.pixels.data() + run.offset, l.under.data() + run.first,
                    run.count * sizeof(uint32_t)) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

void DrawLabel(int x, int y, const char* text, int a, int r, int g, int b, int fontSlot) {
  RenderSet& rs = renderSet;
  if (rs.target == nullptr) return;
  plat::Surface& s = *rs.target;
  if (rs.clearFirst) {  // the frame's first drawing: the clearing comes before it
    ClearRows(s, 0, s.height);
    rs.clearFirst = false;
  }
  if (text == nullptr || fontSlot < 0 || fontSlot >= kFontSlots) return;
  if (rs.fonts[fontSlot] == nullptr) return;
  uint32_t argb = static_cast<uint32_t>(a & 0xFF) << 24 | static_cast<uint32_t>(r & 0xFF) << 16 |
                  static_cast<uint32_t>(g & 0xFF) << 8 | static_cast<uint32_t>(b & 0xFF);
  CachedLabel* l = FindLabel(s, x, y, text, argb, fontSlot);
  if (l != nullptr && l->remembered && SameUnder(*l, s)) {
    for (const TouchedRun& run : l->runs) {
      std::memcpy(s.pixels.data() + run.offset, l->after.data() + run.first,
                  run.count * sizeof(uint32_t));
    }
    return;
  }
  if (l != nullptr) TakeTouched(*l, s, l->under);
  plat::DrawSmoothText(s, x, y, x + 640, y + 128, text, argb, rs.fonts[fontSlot]);
  if (l != nullptr) {
    TakeTouched(*l, s, l->after);
    l->remembered = true;
  }
}

void PaintTile(plat::Surface& s, const Texture& t, const Tile& tile) {
  if (!t.loaded || tile.width <= 0 || tile.height <= 0) return;
  const uint32_t a = tile.colour >> 24, r = (tile.colour >> 16) & 0xFF,
                 g = (tile.colour >> 8) & 0xFF, b = tile.colour & 0xFF;
  const uint32_t tint = b << 16 | g << 8 | r;
  if (a == 255 && tile.x >= 0 && tile.y >= 0 && tile.x <= s.width - tile.width &&
      tile.y <= s.height - tile.height) {
    // Wholly on the picture with an opaque tint, the common case: row after row of the
    // tinted piece.
    const int shape =
        ShapeOf(t, Piece{tile.slot, tile.srcLeft, tile.srcTop, tile.width, tile.height});
    if (shape >= 0) {
      const Shape& p = shapes[shape];
      switch (p.colourCount) {
        case 1: return PaintComputed<1>(s, p, Placed{tile.x, tile.y, tile.colour});
        case 2: return PaintComputed<2>(s, p, Placed{tile.x, tile.y, tile.colour});
        case 3: return PaintComputed<3>(s, p, Placed{tile.x, tile.y, tile.colour});
        case 4: return PaintComputed<4>(s, p, Placed{tile.x, tile.y, tile.colour});
        default: break;
      }
      const uint32_t* src = cacheTexels[TintedPiece(t, shape, tint)];
      const uint32_t* mask =
          t.mask.data() + static_cast<size_t>(tile.srcTop) * t.width + tile.srcLeft;
      uint32_t* dst = s.Row(tile.y) + tile.x;
      const int w = tile.width, h = tile.height, stride = s.width, texStride = t.width;
      if (p.solid8) {
        for (int j = 0; j < h; j++, dst += stride, src += 8) {
          StoreQuad(dst, LoadQuad(src));
          StoreQuad(dst + 4, LoadQuad(src + 4));
        }
        return;
      }
      for (int j = 0; j < h; j++, dst += stride, src += w, mask += texStride) {
        const int runs = p.rowRuns[j];
        if (runs > 0) CopyRun(dst + p.runStart[j][0], src + p.runStart[j][0], p.runLength[j][0]);
        if (runs > 1) CopyRun(dst + p.runStart[j][1], src + p.runStart[j][1], p.runLength[j][1]);
        if (runs < 0) {
          for (int k = 0; k < w; k++) dst[k] = (src[k] & mask[k]) | (dst[k] & ~mask[k]);
        }
      }
      return;
    }
  }
  // Clip to the picture and to the texture, in 64 bits so that no position overflows.
  const int64_t x = tile.x, y = tile.y, sl = tile.srcLeft, st = tile.srcTop;
  const int64_t i0 = std::max<int64_t>({0, -x, -sl});
  const int64_t i1 = std::min<int64_t>({tile.width, s.width - x, t.width - sl});
  const int64_t j0 = std::max<int64_t>({0, -y, -st});
  const int64_t j1 = std::min<int64_t>({tile.height, s.height - y, t.height - st});
  if (i0 >= i1 || j0 >= j1) return;
  const int n = static_cast<int>(i1 - i0);
  uint32_t tinted[kPalette];
  uint32_t ready = 0;  // palette entries tinted so far, one bit each
  for (int64_t j = j0; j < j1; j++) {
    uint32_t* dst = s.Row(static_cast<int>(y + j)) + (x + i0);
    const size_t at = static_cast<size_t>((st + j) * t.width + sl + i0);
    const uint32_t* texel = t.bgr.data() + at;
    const uint8_t* alpha = t.alpha.data() + at;
    if (a == 255 && t.paletteSize > 0) {
      // Opaque tint: each run of equal texels is a fill with its tinted colour.
      const uint8_t* entry = t.entry.data() + at;
      const uint8_t* run = t.run.data() + at;
      for (int k = 0; k < n;) {
        const int e = entry[k];
        const int len = std::min(n - k, static_cast<int>(run[k]));
        if (e != 0) {
          if (!(ready >> e & 1)) {
            const uint32_t p = t.palette[e];
            tinted[e] = p == kWhite ? tint : Modulate(p, r, g, b);
            ready |= 1u << e;
          }
          const uint32_t c = tinted[e];
          uint32_t* d = dst + k;
          for (int m = 0; m < len; m++) d[m] = c;
        }
        k += len;
      }
    } else if (a == 255) {
      for (int k = 0; k < n; k++) {
        if (alpha[k] != 0) dst[k] = texel[k] == kWhite ? tint : Modulate(texel[k], r, g, b);
      }
    } else {
      for (int k = 0; k < n; k++) {
        uint32_t op = Mul255(alpha[k], a);
        if (op == 0) continue;
        dst[k] = Blend(dst[k], Modulate(texel[k], r, g, b), op);
      }
    }
  }
}

}  // namespace volley
