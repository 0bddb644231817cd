// volley's sound clips, made at build time: 22050 Hz mono 16-bit, each scaled so that
// its loudest sample is 40% of full scale and faded in and out so that it starts and
// ends without a click. Run as `volley_assetgen OUTDIR SRCDIR`; writes OUTDIR/data/*.wav.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetkit.h"

namespace {

constexpr int kRate = 22050;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kPeak = 0.4 * 32767;

using Wave = std::vector<double>;

Wave Silence(double seconds) { return Wave(static_cast<size_t>(seconds * kRate), 0.0); }

double Time(size_t i) { return static_cast<double>(i) / kRate; }

// Deterministic noise in -1..1, so every build makes the same files.
struct Noise {
  uint32_t state = 12345;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
  }
};

// A sine whose frequency moves from f0 to f1 over the clip (the phase is summed, so the
// sweep is smooth).
void AddSweep(Wave& w, double f0, double f1, double level) {
  double phase = 0;
  for (size_t i = 0; i < w.size(); i++) {
    const double t = static_cast<double>(i) / static_cast<double>(w.size());
    phase += kTwoPi * (f0 + (f1 - f0) * t) / kRate;
    w[i] += level * std::sin(phase);
  }
}

// Multiplies by an attack-decay envelope: a rise over `attack` seconds, then exp decay
// with the given time constant.
void Envelope(Wave& w, double attack, double decay) {
  for (size_t i = 0; i < w.size(); i++) {
    const double t = Time(i);
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    w[i] *= rise * std::exp(-std::max(0.0, t - attack) / decay);
  }
}

// One-pole low-pass filter with the given cut-off.
void LowPass(Wave& w, double cutoff) {
  const double a = 1.0 - std::exp(-kTwoPi * cutoff / kRate);
  double y = 0;
  for (double& x : w) {
    y += a * (x - y);
    x = y;
  }
}

// Raised-cosine fades at both ends, then scaled to the peak and rounded.
assets::Sound Finish(Wave w, double fadeIn, double fadeOut) {
  // The gain at sample i of an n-sample fade: 0 at its outer end, rising to 1.
  auto fade = [](size_t i, size_t n) {
    return 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * static_cast<double>(i) / static_cast<double>(n));
  };
  const size_t in = static_cast<size_t>(fadeIn * kRate);
  const size_t out = static_cast<size_t>(fadeOut * kRate);
  for (size_t i = 0; i < in && i < w.size(); i++) w[i] *= fade(i, in);
  for (size_t i = 0; i < out && i < w.size(); i++) w[w.size() - 1 - i] *= fade(i, out);
  double peak = 0;
  for (double x : w) peak = std::max(peak, std::fabs(x));
  assets::Sound s;
  s.rate = kRate;
  s.samples.reserve(w.size());
  for (double x : w) {
    s.samples.push_back(static_cast<int16_t>(std::lround(peak > 0 ? x / peak * kPeak : 0.0)));
  }
  return s;
}

// Charging: a soft hum rising an octave, swelling in slowly.
assets::Sound MakeCharge() {
  Wave w = Silence(0.6);
  AddSweep(w, 110, 220, 1.0);
  AddSweep(w, 220, 440, 0.3);
  for (size_t i = 0; i < w.size(); i++) w[i] *= std::min(1.0, Time(i) / 0.25);
  return Finish(w, 0.01, 0.15);
}

// Launch: a quick upward whoosh, a sweep with a little filtered noise.
assets::Sound MakeFire() {
  Wave w = Silence(0.25);
  AddSweep(w, 300, 1100, 1.0);
  Wave hiss = Silence(0.25);
  Noise n;
  for (double& x : hiss) x = n.Next();
  LowPass(hiss, 3000);
  for (size_t i = 0; i < w.size(); i++) w[i] += 0.5 * hiss[i];
  Envelope(w, 0.01, 0.08);
  return Finish(w, 0.003, 0.03);
}

// First detonation: a short dry click.
assets::Sound MakeClick() {
  Wave w = Silence(0.05);
  AddSweep(w, 2200, 1600, 1.0);
  Noise n;
  for (double& x : w) x += 0.4 * n.Next();
  Envelope(w, 0.001, 0.008);
  return Finish(w, 0.001, 0.01);
}

// Blast: a deep boom, a falling low tone under rumbling low-passed noise.
assets::Sound MakeBoom() {
  Wave w = Silence(1.0);
  AddSweep(w, 70, 30, 1.0);
  Wave rumble = Silence(1.0);
  Noise n;
  for (double& x : rumble) x = n.Next();
  LowPass(rumble, 180);
  LowPass(rumble, 180);
  double loud = 0;
  for (double x : rumble) loud = std::max(loud, std::fabs(x));
  for (size_t i = 0; i < w.size(); i++) w[i] += 0.8 * rumble[i] / loud;
  Envelope(w, 0.01, 0.3);
  return Finish(w, 0.004, 0.2);
}

// Player hit: a short crackle, bursts of noise that die away.
assets::Sound MakeHit() {
  Wave w = Silence(0.2);
  Noise n;
  double gate = 1;
  for (size_t i = 0; i < w.size(); i++) {
    if (i % 110 == 0) gate = n.Next() > 0.1 ? 1.0 : 0.15;  // a new burst every 5 ms
    w[i] = gate * n.Next();
  }
  LowPass(w, 5000);
  Envelope(w, 0.002, 0.06);
  return Finish(w, 0.002, 0.03);
}

// Restart: a bright blip, two quick rising tones.
assets::Sound MakeRestart() {
  Wave w = Silence(0.14);
  Wave high = Silence(0.14);
  AddSweep(w, 1320, 1320, 1.0);
  AddSweep(high, 1760, 1760, 1.0);
  const size_t half = w.size() / 2;
  for (size_t i = half; i < w.size(); i++) w[i] = high[i];
  Envelope(w, 0.003, 0.09);
  // The step between the tones is smoothed over 2 ms so it does not click.
  LowPass(w, 6000);
  return Finish(w, 0.003, 0.03);
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
