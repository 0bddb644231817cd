// Synthesises gattrin's sound cues, data/NAME.wav: wood and impact sounds made of
// filtered noise bursts and low tones. Run as `gen OUTDIR SRCDIR`.
#include <cstdio>
#include <string>
#include "tools/soundkit.h"

namespace {

using namespace assets;

// A knock on wood: a noise burst ringing in a narrow band, with a short falling tone
// under it for body.
void AddKnock(Wave& w, double start, double freq, double tau, double gain, uint32_t seed) {
  AddNoise(w, {.start = start, .from = freq, .to = freq, .q = 6, .bandPass = true,
               .attack = 0.0005, .decay = tau, .gain = 3 * gain, .seed = seed});
  AddTone(w, {.start = start, .f0 = freq * 0.5, .f1 = freq * 0.42, .glide = tau * 3,
              .attack = 0.001, .decay = tau * 1.5, .gain = gain * 0.5, .partials = {1.0, 0.3}});
}

// A wooden bar sliding out of its brackets: a rising scrape, then a light knock.
Wave Pull() {
  Wave w = Silence(0.22);
  AddNoise(w, {.from = 600, .to = 1500, .q = 3, .bandPass = true, .attack = 0.03, .decay = 0.07,
               .gain = 0.8, .seed = 7});
  AddKnock(w, 0.15, 1100, 0.018, 0.6, 11);
  return w;
}

// A bar dropped home: a falling scrape and a firm double clack.
Wave Set() {
  Wave w = Silence(0.26);
  AddNoise(w, {.from = 1400, .to = 600, .q = 3, .bandPass = true, .attack = 0.01, .decay = 0.04,
               .gain = 0.6, .seed = 19});
  AddKnock(w, 0.09, 850, 0.03, 1.0, 23);
  AddKnock(w, 0.13, 700, 0.02, 0.45, 29);
  return w;
}

// A blow on a barred door: a dull, low thud that the bar holds.
Wave Thud() {
  Wave w = Silence(0.18);
  AddTone(w, {.f0 = 120, .f1 = 62, .glide = 0.06, .attack = 0.002, .decay = 0.05,
              .partials = {1.0, 0.35, 0.1}});
  AddNoise(w, {.from = 500, .to = 300, .q = 0.7, .attack = 0.001, .decay = 0.02, .gain = 1.6, .seed = 31});
  return w;
}

// A blow on an open door: the door splinters and rattles in its frame.
Wave Crash() {
  Wave w = Silence(0.24);
  AddTone(w, {.f0 = 95, .f1 = 48, .glide = 0.08, .attack = 0.001, .decay = 0.07,
              .partials = {1.0, 0.5, 0.25}});
  AddNoise(w, {.from = 420, .to = 300, .q = 1.2, .bandPass = true, .attack = 0.001, .decay = 0.05,
               .gain = 2.2, .seed = 37});
  // Rattle: three quick knocks of loose planks.
  AddKnock(w, 0.045, 620, 0.012, 0.35, 41);
  AddKnock(w, 0.085, 540, 0.012, 0.25, 43);
  AddKnock(w, 0.125, 660, 0.010, 0.18, 47);
  Saturate(w, 1.8);
  return w;
}

// The gate gives way: a splitting crack, then a long collapsing rumble with falling
// beams, settling into silence.
Wave Fall() {
  Wave w = Silence(1.6);
  AddNoise(w, {.from = 900, .to = 700, .q = 2, .bandPass = true, .attack = 0.001, .decay = 0.04,
               .gain = 2, .seed = 53});
  AddNoise(w, {.start = 0.03, .from = 260, .to = 60, .q = 0.9, .attack = 0.08, .decay = 0.5,
               .gain = 1.8, .seed = 59});
  AddTone(w, {.start = 0.02, .f0 = 70, .f1 = 38, .glide = 0.8, .attack = 0.01, .decay = 0.5,
              .gain = 0.9, .partials = {1.0, 0.4}});
  const double knocks[][3] = {{0.22, 420, 0.5}, {0.37, 330, 0.45}, {0.55, 480, 0.3},
                              {0.71, 280, 0.35}, {0.93, 360, 0.2}};
  uint32_t seed = 61;
  for (const auto& k : knocks) AddKnock(w, k[0], k[1], 0.03, k[2], seed += 6);
  Saturate(w, 1.4);
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTDIR [SRCDIR]\n", argv[0]);
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/data/";
  struct Clip {
    const char* name;
    Wave wave;
    double peak;
  } clips[] = {
      {"pull.wav", Pull(), 0.32}, {"set.wav", Set(), 0.36}, {"thud.wav", Thud(), 0.30},
      {"crash.wav", Crash(), 0.38}, {"fall.wav", Fall(), 0.45},
  };
  for (const Clip& c : clips) WriteWav(dir + c.name, Finish(c.wave, {.peak = c.peak}, c.name));
  return 0;
}
