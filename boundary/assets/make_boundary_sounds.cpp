// Synthesises boundary's seven clips. Run as `make_boundary_sounds OUTDIR SRCDIR`.
//
// Everything sits in A major pentatonic over the beat's A, so any cues that overlap
// sound like one chord: the beat is a deep A with an answering E half-way through its
// 1714 ms pulse; the catch is a short rubbery A-to-E pluck; the four release sounds grow
// from one soft bell over a puff of air to a falling boom under a rising four-bell
// arpeggio; the hit is a dull thud that sinks a minor third. Attacks are a few
// milliseconds long and every noise is low-passed, so nothing clicks or hisses however
// often a clip restarts.
#include <cmath>
#include <string>
#include "tools/soundkit.h"

namespace {

using namespace assets;

constexpr double kA1 = 55.0;
constexpr double kE2 = 82.41;
constexpr double kA3 = 220.0;
constexpr double kE4 = 329.63;
constexpr double kA4 = 440.0;
constexpr double kE5 = 659.26;
constexpr double kA5 = 880.0;
constexpr double kCs6 = 1108.73;
constexpr double kE6 = 1318.51;
constexpr double kA6 = 1760.0;

// A breath of noise through two flat two-pole low-passes, so that only its soft lower
// part is left: no hiss above a few kilohertz.
void AddPuff(Wave& w, double start, double cutoff, double attack, double tau, double gain) {
  Noise noise;
  Resonant a, b;
  AddFrom(w, start, [&](double t) {
    return Envelope(t, attack, tau) * b.Low(a.Low(noise(), cutoff, 0.7), cutoff, 0.7);
  }, gain);
}

// A sine whose pitch falls from f0 to f1: the body of a drum.
void AddBoom(Wave& w, double start, double f0, double f1, double glide, double tau, double gain) {
  Tone t;
  t.start = start;
  t.f0 = f0;
  t.f1 = f1;
  t.glide = glide;
  t.attack = 0.004;
  t.decay = tau;
  t.gain = gain;
  t.partials[1] = 0.2;
  AddTone(w, t);
}

// A bell with whole-number overtones: bright at the strike, pure in its tail. Higher
// bells get less brightness, so the top of the arpeggio stays sweet.
void AddChime(Wave& w, double start, double freq, double tau, double gain) {
  AddBell(w, {.start = start, .freq = freq, .ratio = 2.0, .index = 0.9 * kA5 / freq, .indexDecay = 0.04,
              .attack = 0.003, .decay = tau, .gain = gain});
}

// The beat: a kick falling onto a long A, and a softer E answering half-way through the
// pulse, so the alternating beats walk like a slow bass line.
Wave Beat() {
  Wave w = Silence(1.70);
  AddBoom(w, 0, 130, kA1, 0.07, 0.16, 0.9);
  Tone root;
  root.f0 = root.f1 = kA1;
  root.attack = 0.012;
  root.decay = 0.42;
  root.gain = 0.6;
  root.partials[1] = 0.45;  // the octave and twelfth carry the note on small speakers
  root.partials[2] = 0.18;
  AddTone(w, root);
  Tone answer = root;
  answer.start = 0.857;
  answer.f0 = answer.f1 = kE2;
  answer.decay = 0.24;
  answer.gain = 0.3;
  AddTone(w, answer);
  AddBoom(w, 0.857, 100, kE2, 0.05, 0.08, 0.25);
  LowPassAll(w, 900);
  // A soft knock on the beat, so small speakers that cannot reach the bass keep time too.
  Tone knock;
  knock.f0 = knock.f1 = kE6 / 2;
  knock.attack = 0.002;
  knock.decay = 0.012;
  knock.gain = 0.08;
  AddTone(w, knock);
  Shape(w, [](double t) { return Fall(t, 1.70, 0.25); });
  return w;
}

// The catch: a short pluck that bends up a fifth with a little wobble.
Wave Catch() {
  Wave w = Silence(0.24);
  Phase phase;
  AddFrom(w, 0, [&](double t) {
    const double f = GlideExp(t, kA3, kE4, 0.05) * (1 + 0.02 * Sine(16 * t));
    const double p = phase(f);
    return Envelope(t, 0.004, 0.06) * (Sine(p) + 0.35 * Sine(2 * p) + 0.12 * Sine(3 * p));
  });
  LowPassAll(w, 2500);
  return w;
}

// The hit: a dull thud with a tone that sinks from C to A.
Wave Hit() {
  Wave w = Silence(0.42);
  AddBoom(w, 0, 160, 70, 0.08, 0.09, 0.8);
  Tone sink;
  sink.f0 = 261.63;
  sink.f1 = kA3;
  sink.glide = 0.18;
  sink.attack = 0.006;
  sink.decay = 0.12;
  sink.gain = 0.45;
  sink.partials[1] = 0.4;
  sink.partials[2] = 0.15;
  AddTone(w, sink);
  AddPuff(w, 0, 700, 0.003, 0.04, 1.2);
  LowPassAll(w, 1800);
  return w;
}

// The release sounds, size 1 to 4: each adds bells, air and weight.
Wave Release(int size) {
  const double length[5] = {0, 0.40, 0.60, 0.95, 1.45};
  Wave w = Silence(length[size]);
  const double notes[4] = {kA5, kCs6, kE6, kA6};
  const double tau = 0.09 + 0.07 * size;
  for (int i = 0; i < size; ++i) AddChime(w, 0.045 * i, notes[i], tau, 0.5 - 0.05 * i);
  AddPuff(w, 0, 900 + 300 * size, 0.004 + 0.004 * size, 0.03 + 0.035 * size, 0.9 + 0.3 * size);
  if (size >= 3) AddBoom(w, 0, 95, 45, 0.12, 0.07 * size, 0.22 * size);
  if (size == 4) {
    // A soft chord that blooms under the bells and carries the tail.
    for (double f : {kA4, kE5}) {
      Tone pad;
      pad.f0 = pad.f1 = f;
      pad.attack = 0.08;
      pad.decay = 0.45;
      pad.gain = 0.12;
      AddTone(w, pad);
    }
  }
  Shape(w, [&](double t) { return Fall(t, length[size], 0.08 * size); });
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) Fail("make_boundary_sounds", "usage: make_boundary_sounds OUTDIR [SRCDIR]");
  const std::string data = std::string(argv[1]) + "/data/";
  const double releasePeak[5] = {0, 0.40, 0.48, 0.58, 0.70};
  for (int size = 1; size <= 4; ++size) {
    const std::string name = "out_m" + std::to_string(size) + ".wav";
    WriteWav(data + name, Finish(Release(size), {.peak = releasePeak[size]}, name));
  }
  WriteWav(data + "bass.wav", Finish(Beat(), {.peak = 0.85}, "bass.wav"));
  WriteWav(data + "bass2.wav", Finish(Catch(), {.peak = 0.42}, "bass2.wav"));
  WriteWav(data + "hit.wav", Finish(Hit(), {.peak = 0.55}, "hit.wav"));
  return 0;
}
