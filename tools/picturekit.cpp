#include "tools/picturekit.h"

#include <algorithm>
#include <cmath>

namespace assets {

Colour ColourOf(uint32_t rrggbb) {
  return {double((rrggbb >> 16) & 0xFF), double((rrggbb >> 8) & 0xFF), double(rrggbb & 0xFF)};
}

Colour Unpack(uint32_t pixel) {
  return {double(pixel & 0xFF), double((pixel >> 8) & 0xFF), double((pixel >> 16) & 0xFF)};
}

uint32_t Pack(Colour c) {
  auto channel = [](double v) { return uint32_t(std::clamp(v, 0.0, 255.0) + 0.5); };
  return Rgb((channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b));
}

uint32_t PackDown(Colour c) {
  auto channel = [](double v) { return uint32_t(v < 0 ? 0 : v > 255 ? 255 : v); };
  return Rgb((channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b));
}

void Blend(Image& img, int x, int y, Colour c, double alpha) {
  if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
  img.Set(x, y, PackDown(Mix(Unpack(img.Get(x, y)), c, alpha)));
}

Colour ShadeSphere(double dx, double dy, double radius, Colour base, const SphereLight& l) {
  const double nx = dx / radius, ny = dy / radius;
  const double nz = std::sqrt(std::max(0.0, 1 - (nx * nx + ny * ny)));
  const double lit = std::max(0.0, nx * l.lx + ny * l.ly + nz * l.lz);
  const Colour c = Scale(base, l.ambient + l.diffuse * lit);
  const double hx = nx + l.spotX, hy = ny + l.spotY;
  const double shine = std::exp(-(hx * hx + hy * hy) * l.spotSize);
  return Mix(c, {255, 255, 255}, std::min(1.0, shine * l.spotStrength));
}

uint32_t Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

double HashUnit(int x, int y, int seed) { return (Hash(x, y, seed) & 0xFFFF) / 65535.0; }

namespace {
int Wrap(int i, int period) {
  if (period <= 0) return i;
  const int m = i % period;
  return m < 0 ? m + period : m;
}
}  // namespace

double ValueNoise(double x, double y, double cell, int seed, int periodX, int periodY) {
  const double fx = x / cell, fy = y / cell;
  const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  double tx = fx - ix, ty = fy - iy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
  const int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
  const double a = HashUnit(x0, y0, seed), b = HashUnit(x1, y0, seed);
  const double c = HashUnit(x0, y1, seed), d = HashUnit(x1, y1, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double TileWave(double x, double y, int w, int h, int kx, int ky, double phase) {
  return std::sin(2 * kPi * (kx * x / w + ky * y / h) + phase);
}

double SoftEdge(double distance, double edge, double width) {
  if (distance < edge) return 1;
  if (width <= 0 || distance >= edge + width) return 0;
  return (edge + width - distance) / width;
}

void ClipToMask(Image& picture, const Image& mask, int maskCell, int cell) {
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (mask.Get(cell * maskCell + x % cell, y) != 0) picture.Set(x, y, 0);
}

void CheckAgainstMask(const Image& picture, const Image& mask, int maskCell, int cell, const std::string& name) {
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (mask.Get(cell * maskCell + x % cell, y) != 0 && picture.Get(x, y) != 0) {
        Fail(name, "cell " + std::to_string(x / cell) + " paints outside its mask at " +
                       std::to_string(x % cell) + "," + std::to_string(y));
      }
    }
  }
}

}  // namespace assets
