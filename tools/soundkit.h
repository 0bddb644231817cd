// Building blocks for the sound clips the asset generators synthesise: a wave of
// floating samples at the collection's rate, oscillators, envelopes, filters and mixing,
// and one Finish that turns a wave into the 16-bit clip the programs load. A clip reads
// as a few lines:
//
//   assets::Wave w = assets::Silence(0.2);
//   assets::AddTone(w, {.f0 = 240, .f1 = 720, .glide = 0.1, .decay = 0.045});
//   assets::WriteWav(path, assets::Finish(w, {.peak = 0.36}, "launch.wav"));
//
// Envelopes and sweeps take t in seconds from the start of the sound they shape and are
// 0 (or hold their start) before it, so a sound placed later in a clip is simply t - start.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "tools/assetkit.h"

namespace assets {

constexpr int kRate = 22050;  // every clip of the collection: 22050 Hz mono

using Wave = std::vector<double>;

// A wave of `seconds` of silence (rounded to whole samples).
Wave Silence(double seconds);
// Seconds at sample i, and the first sample at or after `seconds` (0 for negative times).
inline double Time(size_t i) { return static_cast<double>(i) / kRate; }
size_t SampleAt(double seconds);

// ---- oscillators: a phase in cycles; only its fraction counts.
double Sine(double phase);
double Square(double phase);  // +1 in the first half of a cycle, -1 in the second
double Saw(double phase);     // rising from -1 to 1 over a cycle
double Triangle(double phase);

// A phase accumulator for a changing frequency: returns the phase, then advances it by
// one sample of `freq`, so a sweep stays continuous.
struct Phase {
  double cycles = 0;
  double operator()(double freq) {
    const double now = cycles;
    cycles += freq / kRate;
    return now;
  }
};

// Deterministic white noise in -1..1 (a linear congruential generator), so every build
// writes the same files.
struct Noise {
  uint32_t state = 12345;
  double operator()() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
  }
};

// ---- sweeps: a frequency moving from f0 to f1 over `time` seconds, then holding f1.
double GlideExp(double t, double f0, double f1, double time);     // even steps in pitch
double GlideLinear(double t, double f0, double f1, double time);  // even steps in Hz

// ---- envelopes
double Rise(double t, double attack);           // raised-cosine rise from 0 to 1
double Decay(double t, double tau);             // exp(-t / tau); 0 before t = 0
double Fall(double t, double end, double len);  // 1, then a raised-cosine fall to 0 at `end`
// Attack, exponential decay and release: a rise over `attack`, a fall by e every `tau`
// seconds after it, and a release to silence over the last `release` seconds before `end`
// (no release when `end` is 0).
double Envelope(double t, double attack, double tau, double end = 0, double release = 0);

// ---- filters, retuned every sample (cut-offs well below kRate / 2)
// One-pole low-pass.
struct LowPass {
  double y = 0;
  double operator()(double x, double cutoff);
};
// Resonant two-pole filter: a band-pass with a peak gain of 1 and a low-pass, of
// quality q (0.7 is flat; higher rings).
struct Resonant {
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double Band(double x, double freq, double q);
  double Low(double x, double freq, double q);
};
// Runs the whole wave through a one-pole low-pass.
void LowPassAll(Wave& w, double cutoff);

// ---- shaping and mixing
// Adds gain * f(t) to each sample from `start` seconds on; t counts from `start`.
template <typename F>
void AddFrom(Wave& w, double start, F f, double gain = 1) {
  for (size_t i = SampleAt(start); i < w.size(); ++i) w[i] += gain * f(Time(i) - start);
}
// Multiplies each sample by f(t), t from the start of the wave.
template <typename F>
void Shape(Wave& w, F f) {
  for (size_t i = 0; i < w.size(); ++i) w[i] *= f(Time(i));
}
// Adds `from`, times `gain`, into `into` from `at` seconds on; what runs past the end of
// `into` is cut.
void MixAt(Wave& into, const Wave& from, double at, double gain = 1);
double Peak(const Wave& w);  // largest magnitude
void Normalise(Wave& w, double peak = 1);  // scales to the peak (a silent wave stays silent)
// Soft saturation: normalises to 1 and rounds off with tanh(drive * v).
void Saturate(Wave& w, double drive);

// A tone of up to five harmonics with a pitch glide and an attack-decay envelope.
struct Tone {
  double start = 0;           // seconds into the clip
  double f0 = 440, f1 = 440;  // Hz, gliding exponentially from f0 to f1
  double glide = 0;           // seconds
  double attack = 0.005, decay = 0.1;
  double gain = 1;
  double partials[5] = {1.0};  // amplitude of harmonics 1 to 5
};
void AddTone(Wave& w, const Tone& tone);

// A two-operator FM bell: the modulator runs at `ratio` times the note and its depth
// fades faster than the note, so the strike is bright and the tail pure.
struct Bell {
  double start = 0, freq = 1000, ratio = 3.0, index = 1.2, indexDecay = 0.06;
  double attack = 0.003, decay = 0.15, gain = 1;
};
void AddBell(Wave& w, const Bell& bell);

// White noise through a resonant filter whose centre glides exponentially from `from` to
// `to` Hz over the rest of the clip, under an attack-decay envelope.
struct NoiseBurst {
  double start = 0, from = 2000, to = 500;
  double q = 1.4;         // the filter's quality: higher rings more
  bool bandPass = false;  // else low-pass
  double attack = 0.002, decay = 0.1, gain = 1;
  uint32_t seed = 12345;
};
void AddNoise(Wave& w, const NoiseBurst& noise);

// ---- finishing
struct Finishing {
  double peak = 0.4;        // loudest sample, as a share of full scale (0 < peak <= 1)
  double fadeIn = 0.0015;   // seconds of raised-cosine fade at the start
  double fadeOut = 0.006;   // and at the end
  bool removeDc = true;     // a gentle high-pass (about 18 Hz) first
};
// Removes DC, fades both ends to silence (the first and last samples are 0), scales the
// loudest sample to `peak` and converts to 16-bit PCM at kRate. A silent wave, an empty
// one or a peak outside 0..1 stops the tool with a message naming `name`.
Sound Finish(Wave w, const Finishing& how, const std::string& name);

}  // namespace assets
