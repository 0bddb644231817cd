// ostel's sound clips, synthesised: run as `make_ostel_assets OUTDIR SRCDIR`, writes
// OUTDIR/data/{throw,blast,touch,giveout}.wav. The game draws everything else itself.
#include <cmath>
#include <string>
#include "tools/soundkit.h"

namespace {

using namespace assets;

// A bomb leaves the player: a short rising whoosh of filtered noise over a light chirp.
Sound Throw() {
  Wave w = Silence(0.22);
  Noise noise;
  Resonant band;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = Time(i);
    w[i] += 0.8 * band.Band(noise(), GlideExp(t, 500, 2400, 0.18), 2.0) * Envelope(t, 0.02, 0.08, 0.22, 0.05);
  }
  AddTone(w, {.f0 = 300, .f1 = 900, .glide = 0.12, .attack = 0.004, .decay = 0.05, .gain = 0.5,
              .partials = {1.0, 0.3}});
  return Finish(w, {.peak = 0.34}, "throw.wav");
}

// A bomb explodes: a deep falling thump under a rumble of noise whose brightness fades.
Sound Blast() {
  Wave w = Silence(1.1);
  Noise noise;
  Resonant low;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = Time(i);
    w[i] += low.Low(noise(), GlideExp(t, 2200, 120, 0.6), 0.9) * Envelope(t, 0.003, 0.28, 1.1, 0.3);
  }
  AddTone(w, {.f0 = 110, .f1 = 38, .glide = 0.35, .attack = 0.002, .decay = 0.3, .gain = 1.2,
              .partials = {1.0, 0.4, 0.15}});
  Saturate(w, 1.6);
  return Finish(w, {.peak = 0.5}, "blast.wav");
}

// A mote touches the player: a soft glassy tick, short enough to repeat every step.
Sound Touch() {
  Wave w = Silence(0.05);
  AddBell(w, {.freq = 1320, .ratio = 2.0, .index = 0.8, .indexDecay = 0.01, .attack = 0.001,
              .decay = 0.012, .gain = 1.0});
  return Finish(w, {.peak = 0.2, .fadeOut = 0.01}, "touch.wav");
}

// The player gives out: a slow falling bell over a fading hum.
Sound GiveOut() {
  Wave w = Silence(1.6);
  const double notes[4] = {660, 523.25, 392, 261.63};
  for (int k = 0; k < 4; ++k) {
    AddBell(w, {.start = 0.22 * k, .freq = notes[k], .ratio = 1.4, .index = 1.0, .indexDecay = 0.1,
                .attack = 0.004, .decay = 0.35, .gain = 0.8});
  }
  AddTone(w, {.f0 = 220, .f1 = 55, .glide = 1.4, .attack = 0.05, .decay = 0.6, .gain = 0.4,
              .partials = {1.0, 0.5}});
  return Finish(w, {.peak = 0.42, .fadeOut = 0.05}, "giveout.wav");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) assets::Fail("make_ostel_assets", "usage: make_ostel_assets OUTDIR [SRCDIR]");
  const std::string dir = std::string(argv[1]) + "/data/";
  WriteWav(dir + "throw.wav", Throw());
  WriteWav(dir + "blast.wav", Blast());
  WriteWav(dir + "touch.wav", Touch());
  WriteWav(dir + "giveout.wav", GiveOut());
  return 0;
}
