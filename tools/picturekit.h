// Shading helpers for the pictures the asset generators draw: colours as floating RGB,
// mixing and scaling, a lit sphere, value noise, seamless tiles and soft edges, and the
// checks that keep an AND/XOR sprite inside its mask.
#pragma once
#include <cstdint>
#include <string>
#include "tools/assetkit.h"

namespace assets {

// A colour as floating red, green and blue in 0..255 (values outside are clamped when
// packed).
struct Colour {
  double r, g, b;
};

Colour ColourOf(uint32_t rrggbb);  // from 0xRRGGBB, as people write colours
Colour Unpack(uint32_t pixel);     // from a picture's 0x00BBGGRR pixel
uint32_t Pack(Colour c);           // to a pixel, each channel rounded to the nearest
uint32_t PackDown(Colour c);       // to a pixel, each channel rounded down

inline Colour Mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour Scale(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

// Mixes c into the pixel at (x, y) by alpha (0 keeps the pixel, 1 replaces it); rounded
// down. Nothing happens outside the picture.
void Blend(Image& img, int x, int y, Colour c, double alpha);

// ---- a lit sphere
struct SphereLight {
  double lx = -0.45, ly = -0.55, lz = 0.70;  // towards the light: top left, in front
  double ambient = 0.32, diffuse = 0.78;     // brightness = ambient + diffuse * cos
  double spotX = 0.38, spotY = 0.42;         // the highlight's offset up-left, in radii
  double spotSize = 22, spotStrength = 0.9;  // higher size is a smaller spot
};
// The colour of a sphere of `base` colour at (dx, dy) from its centre, `radius` pixels.
Colour ShadeSphere(double dx, double dy, double radius, Colour base, const SphereLight& light = {});

// ---- noise and tiles
// Hash of a lattice point, and the same as a number in 0..1.
uint32_t Hash(int x, int y, int seed);
double HashUnit(int x, int y, int seed);
// Smooth value noise in 0..1 with lattice cells of `cell` pixels. With a period (in
// cells, above 0) on an axis the lattice wraps there, so the noise tiles seamlessly
// every period * cell pixels.
double ValueNoise(double x, double y, double cell, int seed, int periodX = 0, int periodY = 0);
// A plane wave over a w x h tile with kx and ky whole periods across it: a sum of these
// wraps both ways.
double TileWave(double x, double y, int w, int h, int kx, int ky, double phase);

// ---- soft edges
// Coverage of a shape whose edge is `distance` from the point (inside when below `edge`):
// 1 up to the edge, falling linearly to 0 over `width` pixels beyond it.
double SoftEdge(double distance, double edge, double width);

// ---- sprite sheets drawn with an AND mask then an XOR picture: the picture must be
// black wherever the mask is white, or the XOR tints what lies under the sprite.
// Cells are `cell` pixels square, in a row; every cell of `picture` uses mask cell
// `maskCell`.
// Blackens every picture pixel outside its mask, so soft edges end at the mask.
void ClipToMask(Image& picture, const Image& mask, int maskCell, int cell);
// Stops the tool, naming `name`, the cell and the pixel, when a picture pixel lies
// outside its mask.
void CheckAgainstMask(const Image& picture, const Image& mask, int maskCell, int cell, const std::string& name);

}  // namespace assets
