// The sound kit: what Finish makes of a wave (length, peak, no clipping, silent ends),
// the envelopes' shapes and continuity, and the filters' response.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tools/soundkit.h"

namespace {

using namespace assets;

int PeakOf(const Sound& s) {
  int top = 0;
  for (int16_t v : s.samples) top = std::max(top, std::abs(static_cast<int>(v)));
  return top;
}

TEST(Finish, KeepsTheLengthScalesToThePeakAndNeverClips) {
  for (double peak : {0.3, 0.42, 1.0}) {
    Wave w = Silence(0.25);
    ASSERT_EQ(w.size(), 5513u);  // 5512.5 samples rounded up
    Noise n;
    for (double& v : w) v = 40 * n();  // far beyond full scale before finishing
    const Sound s = Finish(w, {.peak = peak}, "noise.wav");
    EXPECT_EQ(s.rate, 22050);
    EXPECT_EQ(s.samples.size(), w.size());
    EXPECT_NEAR(PeakOf(s), peak * 32767, 1) << peak;
    EXPECT_LE(PeakOf(s), 32767);
  }
}

TEST(Finish, FadesBothEndsToSilenceWithoutASharpStep) {
  Wave w = Silence(0.1);
  AddFrom(w, 0, [](double t) { return Square(220 * t); });  // full level up to the last sample
  const Sound s = Finish(w, {.peak = 0.4, .fadeIn = 0.002, .fadeOut = 0.01, .removeDc = false}, "square.wav");
  const size_t n = s.samples.size(), in = SampleAt(0.002), out = SampleAt(0.01);
  EXPECT_EQ(s.samples.front(), 0);
  EXPECT_EQ(s.samples.back(), 0);
  // Inside each fade the level grows steadily away from the end...
  for (size_t i = 1; i < in; ++i) EXPECT_LE(std::abs(s.samples[i - 1]), std::abs(s.samples[i])) << i;
  for (size_t i = 1; i < out; ++i) EXPECT_LE(std::abs(s.samples[n - i]), std::abs(s.samples[n - 1 - i])) << i;
  // ...and past them the wave is untouched at full peak.
  EXPECT_NEAR(std::abs(s.samples[in + 10]), 0.4 * 32767, 1);
  EXPECT_NEAR(std::abs(s.samples[n - out - 10]), 0.4 * 32767, 1);
}

TEST(Finish, RemovesDcAndRefusesSilenceEmptyWavesAndBadPeaks) {
  Wave w = Silence(0.5);
  AddFrom(w, 0, [](double t) { return 1.0 + 0.2 * Sine(200 * t); });  // a sine over a large offset
  const Sound s = Finish(w, {.peak = 0.5}, "dc.wav");
  double sum = 0;
  for (size_t i = s.samples.size() / 2; i < s.samples.size(); ++i) sum += s.samples[i];
  EXPECT_LT(std::fabs(sum / (s.samples.size() / 2)), 0.02 * 32767);  // the second half sits around 0

  EXPECT_EXIT(Finish(Silence(0.1), {}, "quiet.wav"), testing::ExitedWithCode(1), "quiet.wav: .*silent");
  EXPECT_EXIT(Finish(Wave{}, {}, "empty.wav"), testing::ExitedWithCode(1), "empty.wav: .*no samples");
  Wave loud = Silence(0.1);
  AddFrom(loud, 0, [](double t) { return Sine(300 * t); });
  EXPECT_EXIT(Finish(loud, {.peak = 1.5}, "loud.wav"), testing::ExitedWithCode(1), "loud.wav: the peak");
}

TEST(Envelopes, RiseDecayFallAndTheirJoins) {
  EXPECT_EQ(Rise(-0.1, 0.01), 0);
  EXPECT_NEAR(Rise(0.005, 0.01), 0.5, 1e-12);
  EXPECT_EQ(Rise(0.02, 0.01), 1);
  EXPECT_EQ(Decay(-0.001, 0.1), 0);
  EXPECT_NEAR(Decay(0.1, 0.1), std::exp(-1.0), 1e-12);
  EXPECT_EQ(Fall(0.5, 1.0, 0.2), 1);
  EXPECT_NEAR(Fall(0.9, 1.0, 0.2), 0.5, 1e-12);
  EXPECT_EQ(Fall(1.0, 1.0, 0.2), 0);
  // The envelope is continuous where the attack hands over to the decay, and the
  // release brings it to 0 at its end.
  EXPECT_NEAR(Envelope(0.01 - 1e-9, 0.01, 0.05), Envelope(0.01, 0.01, 0.05), 1e-6);
  EXPECT_EQ(Envelope(-0.001, 0.01, 0.05), 0);
  EXPECT_EQ(Envelope(0.3, 0.01, 0.05, 0.3, 0.05), 0);
  EXPECT_NEAR(Envelope(0.2, 0.01, 0.05, 0.3, 0.05), Decay(0.19, 0.05), 1e-12);
}

TEST(Oscillators, ShapesAndSweeps) {
  EXPECT_NEAR(Sine(0.25), 1, 1e-12);
  EXPECT_EQ(Square(0.2), 1);
  EXPECT_EQ(Square(0.7), -1);
  EXPECT_EQ(Square(-0.7), 1);  // only the fraction counts, also below 0
  EXPECT_NEAR(Saw(0.0), -1, 1e-12);
  EXPECT_NEAR(Saw(1.75), 0.5, 1e-12);
  EXPECT_NEAR(Triangle(0.0), 1, 1e-12);
  EXPECT_NEAR(Triangle(0.5), -1, 1e-12);
  EXPECT_NEAR(Triangle(0.25), 0, 1e-12);

  EXPECT_EQ(GlideExp(0, 100, 400, 1), 100);
  EXPECT_NEAR(GlideExp(0.5, 100, 400, 1), 200, 1e-9);  // halfway in time is halfway in pitch
  EXPECT_EQ(GlideExp(2, 100, 400, 1), 400);
  EXPECT_NEAR(GlideLinear(0.5, 100, 400, 1), 250, 1e-9);
  EXPECT_EQ(GlideLinear(1, 100, 400, 0), 400);

  // A phase accumulator sums the frequency: one second at 10 Hz is ten cycles.
  Phase p;
  for (int i = 0; i < kRate; ++i) p(10);
  EXPECT_NEAR(p.cycles, 10, 1e-9);

  Noise a{7}, b{7};
  double lo = 1, hi = -1;
  for (int i = 0; i < 10000; ++i) {
    const double v = a();
    EXPECT_EQ(v, b());  // the same seed gives the same noise
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_GE(lo, -1);
  EXPECT_LT(hi, 1);
  EXPECT_LT(lo, -0.99);
  EXPECT_GT(hi, 0.99);
}

// The level of a filtered sine after it has settled.
template <typename F>
double Level(double freq, F filter) {
  double top = 0;
  for (int i = 0; i < kRate / 2; ++i) {
    const double y = filter(Sine(freq * Time(i)));
    if (i > kRate / 4) top = std::max(top, std::fabs(y));
  }
  return top;
}

TEST(Filters, PassWhatTheyShouldAndCutTheRest) {
  EXPECT_GT(Level(50, [lp = LowPass{}](double x) mutable { return lp(x, 500); }), 0.98);
  EXPECT_LT(Level(5000, [lp = LowPass{}](double x) mutable { return lp(x, 500); }), 0.15);
  // The band-pass peaks at 1 on its centre; the low-pass is flat below its corner.
  EXPECT_NEAR(Level(1000, [r = Resonant{}](double x) mutable { return r.Band(x, 1000, 2); }), 1, 0.02);
  EXPECT_LT(Level(100, [r = Resonant{}](double x) mutable { return r.Band(x, 1000, 2); }), 0.1);
  EXPECT_NEAR(Level(60, [r = Resonant{}](double x) mutable { return r.Low(x, 1000, 0.707); }), 1, 0.02);
  EXPECT_LT(Level(8000, [r = Resonant{}](double x) mutable { return r.Low(x, 1000, 0.707); }), 0.05);
}

TEST(Mixing, AtAnOffsetCutAtTheEnd) {
  Wave into(10, 0.0), from(4, 1.0);
  MixAt(into, from, 8.0 / kRate, 0.5);  // two samples fit
  EXPECT_EQ(into, (Wave{0, 0, 0, 0, 0, 0, 0, 0, 0.5, 0.5}));
  MixAt(into, from, 0);
  EXPECT_EQ(into[3], 1);
  EXPECT_EQ(into[4], 0);

  // A tone placed later in a clip is silent before its start.
  Wave w = Silence(0.1);
  AddTone(w, {.start = 0.05, .f0 = 300, .f1 = 300});
  for (size_t i = 0; i < SampleAt(0.05); ++i) ASSERT_EQ(w[i], 0) << i;
  EXPECT_GT(Peak(w), 0.5);

  Saturate(w, 3);
  EXPECT_LE(Peak(w), 1);
  EXPECT_NEAR(Peak(w), std::tanh(3.0), 1e-9);
}

}  // namespace
