// volley's sound clips, made at build time: 22050 Hz mono 16-bit, each scaled so that
// its loudest sample is 40% of full scale and faded in and out so that it starts and
// ends without a click. Run as `volley_assetgen OUTDIR SRCDIR`; writes OUTDIR/data/*.wav.
#include <algorithm>
#include <string>

#include "tools/assetkit.h"
#include "tools/soundkit.h"

namespace {

using namespace assets;

// A sine whose frequency moves linearly from f0 to f1 over the whole wave.
void AddSweep(Wave& w, double f0, double f1, double level) {
  Phase phase;
  const double length = Time(w.size());
  AddFrom(w, 0, [&](double t) { return Sine(phase(GlideLinear(t, f0, f1, length))); }, level);
}

// Multiplies by an attack-decay envelope.
void ApplyEnvelope(Wave& w, double attack, double decay) {
  Shape(w, [=](double t) { return Envelope(t, attack, decay); });
}

// A wave of low-passed noise.
Wave Hiss(double seconds, double cutoff) {
  Wave w = Silence(seconds);
  Noise n;
  AddFrom(w, 0, [&](double) { return n(); });
  LowPassAll(w, cutoff);
  return w;
}

// No DC removal: the booms are low enough for it to thin them.
Sound Done(const Wave& w, double fadeIn, double fadeOut, const char* name) {
  return Finish(w, {.peak = 0.4, .fadeIn = fadeIn, .fadeOut = fadeOut, .removeDc = false}, name);
}

// Charging: a soft hum rising an octave, swelling in slowly.
Sound MakeCharge() {
  Wave w = Silence(0.6);
  AddSweep(w, 110, 220, 1.0);
  AddSweep(w, 220, 440, 0.3);
  Shape(w, [](double t) { return std::min(1.0, t / 0.25); });
  return Done(w, 0.01, 0.15, "charge.wav");
}

// Launch: a quick upward whoosh, a sweep with a little filtered noise.
Sound MakeFire() {
  Wave w = Silence(0.25);
  AddSweep(w, 300, 1100, 1.0);
  MixAt(w, Hiss(0.25, 3000), 0, 0.5);
  ApplyEnvelope(w, 0.01, 0.08);
  return Done(w, 0.003, 0.03, "fire.wav");
}

// First detonation: a short dry click.
Sound MakeClick() {
  Wave w = Silence(0.05);
  AddSweep(w, 2200, 1600, 1.0);
  Noise n;
  AddFrom(w, 0, [&](double) { return n(); }, 0.4);
  ApplyEnvelope(w, 0.001, 0.008);
  return Done(w, 0.001, 0.01, "click.wav");
}

// Blast: a deep boom, a falling low tone under rumbling low-passed noise.
Sound MakeBoom() {
  Wave w = Silence(1.0);
  AddSweep(w, 70, 30, 1.0);
  Wave rumble = Hiss(1.0, 180);
  LowPassAll(rumble, 180);
  Normalise(rumble);
  MixAt(w, rumble, 0, 0.8);
  ApplyEnvelope(w, 0.01, 0.3);
  return Done(w, 0.004, 0.2, "boom.wav");
}

// Player hit: a short crackle, bursts of noise that die away.
Sound MakeHit() {
  Wave w = Silence(0.2);
  Noise n;
  double gate = 1;
  for (size_t i = 0; i < w.size(); i++) {
    if (i % 110 == 0) gate = n() > 0.1 ? 1.0 : 0.15;  // a new burst every 5 ms
    w[i] = gate * n();
  }
  LowPassAll(w, 5000);
  ApplyEnvelope(w, 0.002, 0.06);
  return Done(w, 0.002, 0.03, "hit.wav");
}

// Restart: a bright blip, two quick rising tones.
Sound MakeRestart() {
  Wave w = Silence(0.14);
  const double half = Time(w.size() / 2);
  AddFrom(w, 0, [&](double t) { return Sine((t < half ? 1320 : 1760) * t); });
  ApplyEnvelope(w, 0.003, 0.09);
  // The step between the tones is smoothed over 2 ms so it does not click.
  LowPassAll(w, 6000);
  return Done(w, 0.003, 0.03, "restart.wav");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) assets::Fail("volley_assetgen", "usage: volley_assetgen OUTDIR [SRCDIR]");
  const std::string dir = std::string(argv[1]) + "/data/";
  assets::WriteWav(dir + "charge.wav", MakeCharge());
  assets::WriteWav(dir + "fire.wav", MakeFire());
  assets::WriteWav(dir + "click.wav", MakeClick());
  assets::WriteWav(dir + "boom.wav", MakeBoom());
  assets::WriteWav(dir + "hit.wav", MakeHit());
  assets::WriteWav(dir + "restart.wav", MakeRestart());
  return 0;
}
