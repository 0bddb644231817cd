// Mouse and window rules both backends share: the double click, the mapping of window
// pixels back onto the picture, and where the window goes on the desktop.
#include <algorithm>
#include "platform/common/internal.h"

namespace plat::detail {

bool PressIsDoubleClick(ClickTracker& t, int button, int x, int y, uint32_t now) {
  bool dbl = t.armed && t.button == button && now - t.time <= kDoubleClickMs &&
             x - t.x <= kDoubleClickDistance && t.x - x <= kDoubleClickDistance &&
             y - t.y <= kDoubleClickDistance && t.y - y <= kDoubleClickDistance;
  t.armed = !dbl;
  t.button = button;
  t.x = x;
  t.y = y;
  t.time = now;
  return dbl;
}

Layout ComputeLayout(int outW, int outH) {
  Layout l;
  int sx = outW / kScreenW, sy = outH / kScreenH;
  l.scale = sx < sy ? sx : sy;
  if (l.scale < 1) l.scale = 1;
  l.x = (outW - kScreenW * l.scale) / 2;
  l.y = (outH - kScreenH * l.scale) / 2;
  return l;
}

void OutputToPicture(const Layout& layout, int px, int py, int& x, int& y) {
  int dx = px - layout.x, dy = py - layout.y;
  x = dx < 0 ? 0 : dx / layout.scale;
  y = dy < 0 ? 0 : dy / layout.scale;
  if (x > kScreenW - 1) x = kScreenW - 1;
  if (y > kScreenH - 1) y = kScreenH - 1;
}

WindowPlacement PlaceWindow(int asked, int areaX, int areaY, int areaW, int areaH) {
  WindowPlacement p;
  p.scale = asked >= 1 ? asked : 1;
  if (areaW <= 0 || areaH <= 0) return p;  // desktop unknown: as asked, centred by the system
  int fit = 1;
  while (fit < kMaxScale && kScreenW * (fit + 1) + 2 * kFrameSide <= areaW &&
         kScreenH * (fit + 1) + kFrameTop + kFrameBottom <= areaH)
    ++fit;
  if (asked < 1) {
    p.scale = fit;
  } else if (asked > fit) {
    p.scale = fit;
    p.reduced = true;
  }
  const int w = kScreenW * p.scale, h = kScreenH * p.scale;
  p.known = true;
  p.x = areaX + kFrameSide + std::max(0, (areaW - 2 * kFrameSide - w) / 2);
  p.y = areaY + kFrameTop + std::max(0, (areaH - kFrameTop - kFrameBottom - h) / 2);
  return p;
}

}  // namespace plat::detail
