// The help card drawn over the last picture shown while the program is paused: the
// picture dimmed, a panel with the program's help text, and how to resume. Drawn into a
// surface of the platform's own, never into the program's picture.
#include "platform/common/internal.h"
#include "platform/text.h"

namespace plat::detail {

namespace {

constexpr int kMargin = 24;                          // between the picture's edge and the panel
constexpr int kPad = 18;                             // inside the panel
constexpr Colour kPanel = 0x3A2A1E, kEdge = 0xC8B49A;  // 0x00BBGGRR
constexpr uint32_t kTitleArgb = 0xFFFFE9A8, kTextArgb = 0xFFF2F2F2, kHintArgb = 0xFFB8C8D8;

}  // namespace

void DrawHelpCard(const Surface* picture, const char* help, Surface& out) {
  out.Create(kScreenW, kScreenH);
  // The picture at a third of its brightness, so the card stands out but the game shows.
  if (picture != nullptr && picture->width > 0 && picture->height > 0)
    for (int y = 0; y < kScreenH && y < picture->height; ++y) {
      const Colour* from = picture->Row(y);
      Colour* to = out.Row(y);
      for (int x = 0; x < kScreenW && x < picture->width; ++x) to[x] = (from[x] >> 2) & 0x3F3F3F;
    }
  const int left = kMargin, top = kMargin, right = kScreenW - kMargin, bottom = kScreenH - kMargin;
  FillRect(out, left - 2, top - 2, right + 2, bottom + 2, kEdge);
  FillRect(out, left, top, right, bottom, kPanel);
  const Font* big = SmoothFont(22);
  const Font* body = SmoothFont(16);
  DrawSmoothText(out, left + kPad, top + kPad, right - kPad, top + kPad + FontHeight(big),
                 "一時停止中  Paused", kTitleArgb, big);
  const int textTop = top + kPad + FontHeight(big) + 12;
  const int hintTop = bottom - kPad - 2 * FontHeight(body);
  if (help != nullptr)
    DrawSmoothText(out, left + kPad, textTop, right - kPad, hintTop - 8, help, kTextArgb, body);
  DrawSmoothText(out, left + kPad, hintTop, right - kPad, bottom - kPad,
                 "F1・Esc・クリックで再開\nF1, Escape or a click resumes the game", kHintArgb, body);
}

}  // namespace plat::detail
