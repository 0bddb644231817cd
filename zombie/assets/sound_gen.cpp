// Synthesises zombie's sound cues, data/NAME.wav: short clips made of sine partials and
// filtered noise. Every clip is finished by the sound kit (DC removed, faded at both ends)
// at a gentle peak of 30-40 % of full scale.
#include "zombie/assets/sound_gen.h"
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>
#include "tools/assetkit.h"
#include "tools/soundkit.h"

namespace zombie_assets {

namespace {

using namespace assets;

double Sq(double v) { return v * v; }

// A paper page turned: two soft, bright noise flicks.
Wave Page() {
  Wave w = Silence(0.16);
  Noise n{311};
  Resonant bp;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i);
    double env = Rise(t, 0.012) * Decay(t, 0.03) +
                 0.6 * Rise(t - 0.055, 0.01) * Decay(t - 0.055, 0.03);
    w[i] = bp.Band(n(), 3800 - 1800 * t / 0.16, 0.9) * env;
  }
  return w;
}

// A soft wooden tick for a message going away.
Wave Click() {
  Wave w = Silence(0.05);
  Noise n{23};
  LowPass lp;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i);
    double tone = std::sin(2 * kPi * 1400 * t) + 0.35 * std::sin(2 * kPi * 2650 * t);
    w[i] = (tone + 0.4 * lp(n(), 3000)) * Rise(t, 0.001) * Decay(t, 0.007);
  }
  return w;
}

// The zombie's moan: a hollow voice gliding up a fifth, its vowel opening from "oo" to
// "oh", with a slowly widening wobble, a second voice a hair off the first, and breath.
Wave Moan() {
  const double len = 0.8;
  Wave w = Silence(len);
  Noise n{37};
  Resonant breath;
  double ph1 = 0, ph2 = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i), u = t / len;
    double glide = u * u * (3 - 2 * u);
    double f = 98 * std::pow(1.5, glide);
    double vib = 1 + 0.022 * Rise(t, 0.45) * std::sin(2 * kPi * 5.2 * t);
    ph1 += f * vib / kRate;
    ph2 += f * vib * 1.007 / kRate;
    double f1 = 320 + 260 * u, f2 = 780 + 320 * u;
    double s = 0;
    for (int k = 1; k <= 30; ++k) {
      double hf = k * f;
      if (hf > 4500) break;
      double formants = 2.0 * std::exp(-Sq((hf - f1) / 140)) + 0.9 * std::exp(-Sq((hf - f2) / 220));
      double gain = (0.25 + formants) / k;
      s += gain * (std::sin(2 * kPi * k * ph1) + 0.7 * std::sin(2 * kPi * k * ph2));
    }
    s += 0.35 * breath.Band(n(), f1 * 2.2, 2.0);
    w[i] = s * Rise(t, 0.2) * Fall(t, len, 0.32);
  }
  return w;
}

// A blow landing: a falling low body and a short muffled knock. `weight` 0 is the weak
// blow, 1 the strong one (lower, longer, with a crunch).
Wave Thud(double weight) {
  Wave w = Silence(0.22 + 0.16 * weight);
  Noise n{static_cast<uint32_t>(41 + 10 * weight)};
  LowPass knock;
  Resonant crunch;
  double ph = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i);
    double f = (55 - 13 * weight) + (95 - 5 * weight) * std::exp(-t / (0.03 + 0.01 * weight));
    ph += f / kRate;
    double body = std::sin(2 * kPi * ph) * Decay(t, 0.06 + 0.05 * weight);
    double k = (1.2 + 0.4 * weight) * knock(n(), 1200 - 300 * weight) *
               Decay(t, 0.012 + 0.008 * weight);
    double c = 1.4 * weight * crunch.Band(n(), 1700, 2.5) * Rise(t - 0.008, 0.002) *
               Decay(t - 0.008, 0.03);
    w[i] = (body + k + c) * Rise(t, 0.0015);
  }
  return w;
}

// A person's blow on a zombie: a lighter, woodier thwack.
Wave Struck() {
  Wave w = Silence(0.18);
  Noise n{353};
  Resonant bp;
  double ph = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i);
    double f = 105 + 85 * std::exp(-t / 0.02);
    ph += f / kRate;
    double body = 0.7 * std::sin(2 * kPi * ph) * Decay(t, 0.04);
    double wood = bp.Band(n(), 720, 1.3) * Decay(t, 0.022) * 2.2;
    w[i] = (body + wood) * Rise(t, 0.0015);
  }
  return w;
}

// Shuffling feet: three soft scuffs, each brushing from bright to dull.
Wave Swap() {
  Wave w = Silence(0.34);
  Noise n{361};
  Resonant bp;
  LowPass drag;
  const double starts[3] = {0.0, 0.105, 0.205}, gains[3] = {1.0, 0.75, 0.9};
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i);
    double env = 0, centre = 1000;
    for (int s = 0; s < 3; ++s) {
      double e = gains[s] * Rise(t - starts[s], 0.018) * Decay(t - starts[s] - 0.018, 0.035);
      if (t >= starts[s]) centre = 1900 - 900 * std::fmin(1, (t - starts[s]) / 0.08);
      env += e;
    }
    double x = n();
    w[i] = (bp.Band(x, centre, 0.8) + 0.5 * drag(x, 400)) * env;
  }
  return w;
}

// A soft, round tone: nothing happens, politely.
Wave Pass() {
  Wave w = Silence(0.3);
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i);
    double tone = std::sin(2 * kPi * 392 * t) + 0.18 * std::sin(2 * kPi * 784 * t) +
                  0.05 * std::sin(2 * kPi * 1176 * t);
    w[i] = tone * Rise(t, 0.015) * Decay(t, 0.09);
  }
  return w;
}

// Someone running off: noise swept upwards, swelling and fading.
Wave Leave() {
  const double len = 0.45;
  Wave w = Silence(len);
  Noise n{71};
  Resonant bp1, bp2;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i), u = t / len;
    double centre = 320 * std::pow(2400.0 / 320, u);
    double env = Sq(std::sin(kPi * std::pow(u, 0.55)));
    double x = n();
    w[i] = (bp1.Band(x, centre, 1.6) + 0.5 * bp2.Band(x, centre * 1.9, 2.5)) * env;
  }
  return w;
}

// A music-box note: harmonic partials, quick attack, ringing decay.
double Bell(double t, double f, double tau) {
  if (t <= 0) return 0;
  double s = std::sin(2 * kPi * f * t) + 0.25 * std::sin(4 * kPi * f * t) * Decay(t, tau * 0.5) +
             0.08 * std::sin(6 * kPi * f * t) * Decay(t, tau * 0.3);
  return s * Rise(t, 0.004) * Decay(t, tau);
}

// Stage won: C, E, G and the high C, rising.
Wave Won() {
  Wave w = Silence(0.8);
  const double notes[4] = {523.25, 659.25, 783.99, 1046.5};
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i), s = 0;
    for (int k = 0; k < 3; ++k) s += 0.8 * Bell(t - 0.09 * k, notes[k], 0.14);
    s += Bell(t - 0.27, notes[3], 0.22);
    w[i] = s;
  }
  return w;
}

// Stage lost: a sad brass "wah-wah-wah-waaah", G, F sharp, F, then a wobbling E.
Wave Lost() {
  const double starts[5] = {0.0, 0.15, 0.30, 0.45, 0.8};
  const double notes[4] = {196.0, 185.0, 174.61, 164.81};
  Wave w = Silence(0.8);
  double ph = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = Time(i);
    int k = 0;
    while (k < 3 && t >= starts[k + 1]) ++k;
    double tn = t - starts[k], dur = starts[k + 1] - starts[k];
    double vib = k == 3 ? 1 + 0.018 * Rise(tn, 0.1) * std::sin(2 * kPi * 6 * tn) : 1;
    double f = notes[k] * vib;
    ph += f / kRate;
    // Each note opens like a mute pulled from the bell and closes at its end.
    double open = std::sin(kPi * std::fmin(1, tn / dur));
    double fc = 350 + 700 * open;
    double s = 0;
    for (int h = 1; h <= 16; ++h) {
      double hf = h * f;
      double gain = (0.3 + std::exp(-Sq((hf - fc) / (0.7 * fc)))) / h;
      s += gain * std::sin(2 * kPi * h * ph);
    }
    // The notes run into each other: the level dips to 0.3 between them, never to 0.
    double env = 0.3 + 0.7 * open;
    if (k == 3)
      env = (0.3 + 0.7 * Rise(tn, 0.06)) * Fall(tn, dur, 0.12);
    w[i] = s * env * Rise(t, 0.02);
  }
  return w;
}

void Write(const std::string& outDir, const char* name, const Wave& w, double peak) {
  const std::string file = std::string(name) + ".wav";
  WriteWav(outDir + "/data/" + file, Finish(w, {.peak = peak}, file));
}

}  // namespace

void WriteSounds(const std::string& outDir) {
  Write(outDir, "page", Page(), 0.28);
  Write(outDir, "click", Click(), 0.3);
  Write(outDir, "scare", Moan(), 0.4);
  Write(outDir, "weak", Thud(0), 0.4);
  Write(outDir, "strong", Thud(1), 0.42);
  Write(outDir, "struck", Struck(), 0.36);
  Write(outDir, "swap", Swap(), 0.34);
  Write(outDir, "pass", Pass(), 0.3);
  Write(outDir, "leave", Leave(), 0.34);
  Write(outDir, "won", Won(), 0.4);
  Write(outDir, "lost", Lost(), 0.4);
}

}  // namespace zombie_assets
