#include "tools/soundkit.h"

#include <algorithm>
#include <cmath>

namespace assets {

Wave Silence(double seconds) { return Wave(SampleAt(seconds), 0.0); }

size_t SampleAt(double seconds) {
  return seconds <= 0 ? 0 : static_cast<size_t>(std::ceil(seconds * kRate - 1e-9));
}

double Sine(double phase) { return std::sin(2 * kPi * phase); }

double Square(double phase) { return phase - std::floor(phase) < 0.5 ? 1.0 : -1.0; }

double Saw(double phase) { return 2 * (phase - std::floor(phase)) - 1; }

double Triangle(double phase) { return 1 - 4 * std::fabs(phase - std::floor(phase + 0.5)); }

double GlideExp(double t, double f0, double f1, double time) {
  if (time <= 0 || t >= time) return f1;
  if (t <= 0) return f0;
  return f0 * std::pow(f1 / f0, t / time);
}

double GlideLinear(double t, double f0, double f1, double time) {
  if (time <= 0 || t >= time) return f1;
  if (t <= 0) return f0;
  return f0 + (f1 - f0) * t / time;
}

double Rise(double t, double attack) {
  if (t <= 0) return 0;
  return t >= attack ? 1 : 0.5 - 0.5 * std::cos(kPi * t / attack);
}

double Decay(double t, double tau) { return t < 0 ? 0 : std::exp(-t / tau); }

double Fall(double t, double end, double len) {
  if (t <= end - len) return 1;
  return t >= end ? 0 : 0.5 + 0.5 * std::cos(kPi * (t - (end - len)) / len);
}

double Envelope(double t, double attack, double tau, double end, double release) {
  if (t < 0) return 0;
  double v = t < attack ? Rise(t, attack) : Decay(t - attack, tau);
  if (end > 0) v *= Fall(t, end, release);
  return v;
}

double LowPass::operator()(double x, double cutoff) {
  y += (1 - std::exp(-2 * kPi * cutoff / kRate)) * (x - y);
  return y;
}

double Resonant::Band(double x, double freq, double q) {
  const double w = 2 * kPi * freq / kRate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
  const double y = (alpha * x - alpha * x2 + 2 * std::cos(w) * y1 - (1 - alpha) * y2) / a0;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y;
}

double Resonant::Low(double x, double freq, double q) {
  const double w = 2 * kPi * freq / kRate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
  const double c = std::cos(w), b = (1 - c) / 2;
  const double y = (b * x + 2 * b * x1 + b * x2 + 2 * c * y1 - (1 - alpha) * y2) / a0;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y;
}

void LowPassAll(Wave& w, double cutoff) {
  LowPass lp;
  for (double& v : w) v = lp(v, cutoff);
}

void MixAt(Wave& into, const Wave& from, double at, double gain) {
  const size_t first = SampleAt(at);
  for (size_t i = 0; i < from.size() && first + i < into.size(); ++i) into[first + i] += gain * from[i];
}

double Peak(const Wave& w) {
  double top = 0;
  for (double v : w) top = std::max(top, std::fabs(v));
  return top;
}

void Normalise(Wave& w, double peak) {
  const double top = Peak(w);
  if (top == 0) return;
  for (double& v : w) v *= peak / top;
}

void Saturate(Wave& w, double drive) {
  Normalise(w);
  for (double& v : w) v = std::tanh(drive * v);
}

void AddTone(Wave& w, const Tone& tone) {
  Phase phase;
  AddFrom(w, tone.start, [&](double t) {
    const double p = phase(GlideExp(t, tone.f0, tone.f1, tone.glide));
    double v = 0;
    for (int k = 0; k < 5; ++k) v += tone.partials[k] * Sine((k + 1) * p);
    return Envelope(t, tone.attack, tone.decay) * v;
  }, tone.gain);
}

void AddBell(Wave& w, const Bell& b) {
  AddFrom(w, b.start, [&](double t) {
    const double mod = b.index * Decay(t, b.indexDecay) * Sine(b.freq * b.ratio * t);
    return Envelope(t, b.attack, b.decay) * std::sin(2 * kPi * b.freq * t + mod);
  }, b.gain);
}

void AddNoise(Wave& w, const NoiseBurst& n) {
  Noise white{n.seed};
  Resonant filter;
  const double length = Time(w.size()) - n.start;
  AddFrom(w, n.start, [&](double t) {
    const double centre = GlideExp(t, n.from, n.to, length), x = white();
    return Envelope(t, n.attack, n.decay) * (n.bandPass ? filter.Band(x, centre, n.q) : filter.Low(x, centre, n.q));
  }, n.gain);
}

Sound Finish(Wave w, const Finishing& how, const std::string& name) {
  if (w.empty()) Fail(name, "the synthesised sound has no samples");
  if (!(how.peak > 0 && how.peak <= 1)) Fail(name, "the peak must lie in 0..1, not " + std::to_string(how.peak));
  if (how.removeDc) {
    double px = 0, py = 0;
    for (double& v : w) {
      const double y = v - px + 0.995 * py;
      px = v;
      v = py = y;
    }
  }
  // Gain at sample i of an n-sample fade: 0 at its outer end, rising towards 1.
  auto fade = [](size_t i, size_t n) { return 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(n)); };
  const size_t in = std::max<size_t>(1, SampleAt(how.fadeIn)), out = std::max<size_t>(1, SampleAt(how.fadeOut));
  for (size_t i = 0; i < in && i < w.size(); ++i) w[i] *= fade(i, in);
  for (size_t i = 0; i < out && i < w.size(); ++i) w[w.size() - 1 - i] *= fade(i, out);
  const double top = Peak(w);
  if (top == 0 || !std::isfinite(top)) Fail(name, "the synthesised sound is silent or not finite");
  Sound s;
  s.rate = kRate;
  s.samples.reserve(w.size());
  const double scale = how.peak * 32767 / top;
  for (double v : w) s.samples.push_back(static_cast<int16_t>(std::lround(v * scale)));
  return s;
}

}  // namespace assets
