// The attack schedule: eight phases of 15 seconds each from the last restart, chosen by
// the wall clock, then silence until the next restart. Random draws are made in a fixed
// order (hue, speed, angle, bullet after bullet) so that a seed replays a run.
#include "volley/field.h"

#include <cmath>

namespace volley {

void RunPatterns(PlayField& f) {
  f.patternFrame++;
  const int32_t pf = f.patternFrame;
  // Three clock readings, all in unsigned 32-bit arithmetic.
  const uint32_t clockDegrees = fieldIo.timeMs() * 360u / 1000u;
  const uint32_t elapsedDegrees = (fieldIo.timeMs() - f.phaseStart) * 360u / 1000u;
  const uint32_t phase = (fieldIo.timeMs() - f.phaseStart) / 15000u;
  // Nothing is freed while the patterns spawn, so one search for free slots serves all.
  SpawnCursor cur;

  switch (phase) {
    case 0:
      SpawnBullet(f, cur, 160, 120, static_cast<float>(RollBelow(360)), 2.0f, false, 240);
      break;
    case 1: {
      int hue = RollBelow(30);
      int angle = RollBelow(90) - 45;
      SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), 2.0f, true, hue);
      hue = RollBelow(30) + 90;
      angle = RollBelow(90) - 45;
      SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), 4.0f, true, hue);
      break;
    }
    case 2:
      if (pf % 4 == 0) {
        const int s = static_cast<int>(clockDegrees / 30);
        for (int off = 0; off < 360; off += 90) {
          SpawnBullet(f, cur, 160, 120, static_cast<float>(s + off), 6.0f, false, 240);
          SpawnBullet(f, cur, 160, 120, static_cast<float>(off - s), 6.0f, false, 60);
        }
      }
      break;
    case 3:
      if (pf % 120 == 0) {
        const int base = RollBelow(360);
        for (int i = 0; i < 120; i++) {
          SpawnBullet(f, cur, 160, 120, static_cast<float>(i * 0.5 - 30.0), 4.0f, true, base + 4 * i);
        }
      }
      break;
    case 4:
      for (int i = 0; i < 64; i++) {
        int hue = Truncate(RollBelow(330) + 180 - pf * 0.1);
        int speed = RollBelow(12) + 24;
        int angle = RollBelow(4) - 12;
        SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), static_cast<float>(speed), true, hue);
        hue = Truncate(RollBelow(330) + 180 - pf * 0.1);
        speed = RollBelow(12) + 24;
        angle = RollBelow(4) + 8;
        SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), static_cast<float>(speed), true, hue);
      }
      if (pf % 6 == 0) {
        const int hue = RollBelow(360);
        const int angle = RollBelow(13) - 6;
        SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), 2.0f, true, hue);
      }
      break;
    case 5:
      if (pf % 4 == 0) {
        int angle = RollBelow(90) - 45;
        SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), 2.0f, true, Truncate(300 - pf * 0.1));
        angle = RollBelow(90) - 45;
        SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), 6.0f, true,
                    Truncate((180 - pf * 0.1) + 300));
      }
      break;
    case 6:
      if (pf % 2 == 0 && (clockDegrees / 180) % 4 == 0) {
        const int angle = RollBelow(9) - 4;
        SpawnBullet(f, cur, 40, 120, static_cast<float>(angle), 6.0f, true, 0);
      }
      if (pf % 10 == 0) {
        uint32_t s = clockDegrees / 10;
        for (int i = 0; i < 8; i++) {
          SpawnBullet(f, cur, 160, 120, static_cast<float>(static_cast<int>(s % 120) + 30), 2.0f,
                      false, 120);
          s += 15;
        }
      }
      if (pf % 3 == 0) {
        const int angle = RollBelow(60) - 30;
        SpawnBullet(f, cur, 280, 120, static_cast<float>(angle), 2.0f, true, 240);
      }
      break;
    case 7:
      if ((clockDegrees / 90) % 6 == 0) {
        const int hue = Truncate((elapsedDegrees / 500) * -12.0);
        for (int i = 0; i < 3; i++) {
          const int angle = RollBelow(15) - 7;
          SpawnBullet(f, cur, 160, 120, static_cast<float>(angle), 8.0f, true, hue);
        }
      }
      if (pf % 4 == 0) {
        const double v = std::sin(clockDegrees / 100.0) * 45.0;
        SpawnBullet(f, cur, 80, 120, static_cast<float>(v + 60), 1.0f, false, 60);
        SpawnBullet(f, cur, 240, 120, static_cast<float>(v + 120), 1.0f, false, 300);
      }
      break;
    default:
      break;  // after two minutes the attack is over until the next restart
  }
}

}  // namespace volley
