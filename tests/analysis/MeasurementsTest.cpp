// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "analysis/CMeasureStats.h"
#include "analysis/Generator.h"
#include "analysis/Measurements.h"
#include "analysis/ModeTable.h"
#include "document/CKivDoc.h"

namespace {

const double kPi = 3.141592653589793;
constexpr double kUs = 1e-6;  // the signals' sample interval

struct Expect {
    MeasureId id;
    std::optional<double> value;  // absent: the measurement must be absent
    double tolerance = 1e-9;
};

struct Signal {
    const char* name;
    int n;
    double code;  // the histogram's bin; the values are whole codes where it is not 0
    std::function<double(int)> f;
    std::vector<Expect> expect;
};

// A trapezoid of 100 samples a period between -1 V and 1 V: up over 10 samples from p = 0, a
// 1.5 V spike at p = 10, down over 10 samples from p = 50, a -1.25 V dip at p = 60.
double Trapezoid(int i) {
    const int p = i % 100;
    if (p < 10) return -1 + p / 5.0;
    if (p == 10) return 1.5;
    if (p < 50) return 1;
    if (p < 60) return 1 - (p - 50) / 5.0;
    return p == 60 ? -1.25 : -1;
}

double Sine(double cycles, double phaseDegrees = 0) { return std::sin(2 * kPi * cycles - phaseDegrees * kPi / 180); }

std::vector<double> Samples(const Signal& s) {
    std::vector<double> v(static_cast<size_t>(s.n));
    for (int i = 0; i < s.n; ++i) {
        const double x = s.f(i);
        v[static_cast<size_t>(i)] = s.code > 0 ? std::round(x / s.code) * s.code : x;
    }
    return v;
}

// Worked out by hand from each signal (in samples of 1 us; a jump between two samples
// crosses 10 % and 90 % 0.8 samples apart).
const Signal kSignals[] = {
    // Levels from the histogram: the spike and the dip move neither, so the ramps give 8 us.
    // Mid crossings at p = 5 and 55; one period sums to 0.25 V, over 9 periods of the cycles.
    {"trapezoid", 1000, 0.01, Trapezoid,
     {{kMeasTop, 1, 1e-12}, {kMeasBase, -1, 1e-12}, {kMeasAmplitude, 2, 1e-12}, {kMeasMiddle, 0, 1e-12},
      {kMeasOvershoot, 25, 1e-9}, {kMeasPreshoot, 12.5, 1e-9}, {kMeasRise, 8 * kUs, 1e-12}, {kMeasFall, 8 * kUs, 1e-12},
      {kMeasPeriod, 100 * kUs, 1e-12}, {kMeasPosWidth, 50 * kUs, 1e-12}, {kMeasNegWidth, 50 * kUs, 1e-12},
      {kMeasDuty, 50, 1e-7}, {kMeasNegDuty, 50, 1e-7}, {kMeasRiseSlew, 0.8 * 2 / (8 * kUs), 1e-3},
      {kMeasFallSlew, -0.8 * 2 / (8 * kUs), 1e-3}, {kMeasRisingEdges, 10}, {kMeasFallingEdges, 10},
      {kMeasPosPulses, 10}, {kMeasNegPulses, 9}, {kMeasBurstWidth, 950 * kUs, 1e-12},
      {kMeasCycleMean, 0.0025, 1e-12}, {kMeasCycleArea, 9 * 0.25 * kUs, 1e-15}, {kMeasMean, 0.0025, 1e-12},
      {kMeasArea, 10 * 0.25 * kUs, 1e-15}}},
    // A 1 V square, low first, 200 samples a period, one 1.5 V glitch on the first high.
    {"square with a glitch", 1000, 0.01, [](int i) { return i == 150 ? 1.5 : i % 200 >= 100 ? 1.0 : 0.0; },
     {{kMeasTop, 1, 1e-12}, {kMeasRise, 0.8 * kUs, 1e-12}, {kMeasFall, 0.8 * kUs, 1e-12}, {kMeasOvershoot, 50, 1e-9},
      {kMeasPeriod, 200 * kUs, 1e-12}, {kMeasFrequency, 5000, 1e-6}, {kMeasDuty, 50, 1e-9},
      {kMeasRisingEdges, 5}, {kMeasFallingEdges, 4}, {kMeasBurstWidth, 800 * kUs, 1e-12}}},
    // Pulses p = 100..149 of 1 V, and a runt p = 20..39 at 0.7 V between them: not an edge.
    {"runt", 1000, 0.01,
     [](int i) {
         const int p = i % 200;
         return p >= 100 && p < 150 ? 1.0 : p >= 20 && p < 40 ? 0.7 : 0.0;
     },
     {{kMeasTop, 1, 1e-12}, {kMeasPeriod, 200 * kUs, 1e-12}, {kMeasPosWidth, 50 * kUs, 1e-12}, {kMeasDuty, 25, 1e-9},
      {kMeasRisingEdges, 5}, {kMeasPosPulses, 5}, {kMeasNegPulses, 4}}},
    // One code up and down at every sample: an amplitude of one code has no edges.
    {"one-code dither", 1000, 0.01, [](int i) { return i % 2 ? 0.01 : 0.0; },
     {{kMeasAmplitude, 0.01, 1e-12}, {kMeasRisingEdges, 0}, {kMeasFallingEdges, 0}, {kMeasPeriod, {}},
      {kMeasFrequency, {}}, {kMeasRise, {}}, {kMeasPeakToPeak, 0.01, 1e-12}}},
    // High, low, high, low: two falling edges (49.5 and 249.5) against one rising, so the
    // period runs from fall to fall; the cycle is samples 50..249, half of it high.
    {"falling rising falling", 300, 0.01, [](int i) { return i < 50 || (i >= 150 && i < 250) ? 1.0 : 0.0; },
     {{kMeasPeriod, 200 * kUs, 1e-12}, {kMeasPosWidth, 100 * kUs, 1e-12}, {kMeasNegWidth, 100 * kUs, 1e-12},
      {kMeasDuty, 50, 1e-9}, {kMeasNegDuty, 50, 1e-9}, {kMeasCycleMean, 0.5, 1e-12}, {kMeasPosPulses, 1},
      {kMeasNegPulses, 1}, {kMeasRisingEdges, 1}, {kMeasFallingEdges, 2}, {kMeasBurstWidth, 200 * kUs, 1e-12}}},
    // 3.5 periods of 0.5 + 2 sin, crossing the middle half-way between samples: the cycles are
    // the 800 samples from 400 to 1199, where the sampled sine sums to 0 and its squares to N/2.
    {"3.5 periods of a sine", 1400, 0, [](int i) { return 0.5 + 2 * Sine((i + 0.5) / 400); },
     {{kMeasPeriod, 400 * kUs, 1e-12}, {kMeasFrequency, 2500, 1e-6}, {kMeasCycleMean, 0.5, 1e-12},
      {kMeasCycleRms, 1.5, 1e-12}, {kMeasCycleAcRms, std::sqrt(2.0), 1e-12}, {kMeasCycleArea, 800 * 0.5 * kUs, 1e-15},
      {kMeasDc, 0.5, 1e-12}, {kMeasA1, 2, 1e-12}, {kMeasThd, 0, 1e-9}, {kMeasFundamental, 2500, 1e-6},
      {kMeasRisingEdges, 3}, {kMeasFallingEdges, 3}}},
    // Five whole periods: the codes' sum is zero but for rounding noise, and so are mean and area.
    {"whole periods", 1000, 0.01, [](int i) { return Sine((i + 0.3) / 200); }, {{kMeasMean, 0, 0}, {kMeasArea, 0, 0}}},
    // The spectrum: a flat -2 V has a DC term and no fundamental.
    {"flat", 1000, 0.01, [](int) { return -2.0; },
     {{kMeasDc, -2, 1e-12}, {kMeasA1, 0, 1e-9}, {kMeasFundamental, {}}, {kMeasThd, {}}, {kMeasAmplitude, 0},
      {kMeasOvershoot, {}}, {kMeasRms, 2, 1e-12}, {kMeasAcRms, 0, 1e-12}}},
    // 1 V + 2 sin + 1 % third harmonic over 10 periods of 400: 9 whole cycles, THD 1 %.
    {"third harmonic", 4000, 0, [](int i) { return 1 + 2 * Sine(i / 400.0) + 0.02 * Sine(3 * i / 400.0, 40); },
     {{kMeasDc, 1, 1e-12}, {kMeasA1, 2, 1e-9}, {kMeasThd, 1, 1e-7}, {kMeasFundamental, 2500, 1e-6}}},
    // A span of 20 samples, one cycle (no two like edges): harmonics 2..9 only, none aliased.
    {"short span", 20, 0, [](int i) { return Sine(i / 20.0) + 0.1 * Sine(3 * i / 20.0); },
     {{kMeasPeriod, {}}, {kMeasFundamental, 50000, 1e-6}, {kMeasA1, 1, 1e-12}, {kMeasThd, 10, 1e-9}}},
    // Three samples: no harmonic below half of them besides the first.
    {"three samples", 3, 0, [](int i) { return i == 1 ? 1.0 : 0.0; }, {{kMeasThd, {}}, {kMeasMax, 1}}},
    {"one sample", 1, 0.01, [](int) { return 1.0; }, {{kMeasMax, {}}, {kMeasRms, {}}}},
};

// A document with the generator's signal: 10 ms over the record unless duration says.
void Generate(CKivDoc& doc, uint8_t kind, double period, double amplitude = 2, uint8_t target = 3,
              double duration = 0.01) {
    GeneratorParams p;
    p.m_nKind = kind, p.m_dAmplitude = amplitude, p.m_dDuration = duration, p.m_dPeriod = period;
    p.m_nTarget = target;
    doc.OnGenerate(&p);
}

}  // namespace

TEST(Measurements, IndependentValuesOfKnownSignals) {
    for (const Signal& s : kSignals) {
        const std::vector<double> v = Samples(s);
        const MeasureValues got = MeasureSamples(v.data(), s.n, kUs, s.code);
        for (const Expect& e : s.expect) {
            const char* key = MeasureTable()[e.id].key;
            ASSERT_EQ(got[e.id].has_value(), e.value.has_value()) << s.name << ' ' << key;
            if (e.value) { EXPECT_NEAR(*got[e.id], *e.value, e.tolerance) << s.name << ' ' << key; }
        }
    }
}

// A record's spans measured in codes as a drag measures them, the cache kept from span to span:
// each agrees to the bit with a fresh cache, and with the values measured as doubles. The
// records: a noisy square with ringing, the same with one code changed (in the span or not),
// inverted with an offset, and codes too far apart to count (measured as doubles in codes).
TEST(Measurements, RecordCacheAgreesWithFreshMeasuring) {
    std::vector<int32_t> square(kSamples);
    for (int i = 0; i < kSamples; ++i)
        square[i] = 100 + (i % 400 < 150 ? 60 : -40) + (i % 400 == 150 ? 25 : 0) + (i * 7919 % 5) - 2;
    std::vector<int32_t> changed = square;
    changed[1234] += 3;
    std::vector<int32_t> wide = square;
    wide[10] = 1 << 20;
    const struct {
        const std::vector<int32_t>* record;
        int64_t bias;
        int sign;
        double step;
        int first, count;
    } spans[] = {{&square, -100, 1, 0.01, 0, 4000},   {&square, -100, 1, 0.01, 100, 2100},  // ringing at 2150
                 {&square, -100, 1, 0.01, 100, 2123},  {&square, -100, 1, 0.01, 100, 2040},  // left behind
                 {&square, -100, 1, 0.01, 130, 2010},  {&square, -100, 1, 0.01, 3000, 990},
                 {&changed, -100, 1, 0.01, 3000, 990}, {&square, -100, 1, 0.01, 1000, 990},  // changed at 1234
                 {&changed, -100, 1, 0.01, 1000, 990}, {&changed, -100, 1, 0.01, 0, 2500},
                 {&changed, -93, -1, -0.5, 0, 2500},   {&wide, -100, 1, 0.01, 0, 2500}};
    MeasureCache kept;
    for (const auto& s : spans) {
        const std::string at = std::to_string(s.first) + '+' + std::to_string(s.count);
        MeasureCache fresh;
        auto measure = [&](MeasureCache& cache) {
            return MeasureRecord(s.record->data(), s.bias, s.sign, s.step, s.first, s.count, kUs, AllMeasurements(),
                                 nullptr, cache);
        };
        const MeasureValues got = measure(kept), want = measure(fresh);
        std::vector<double> v(static_cast<size_t>(s.count));
        for (int i = 0; i < s.count; ++i) v[i] = s.sign * ((*s.record)[s.first + i] + s.bias) * s.step;
        const MeasureValues asDoubles = MeasureSamples(v.data(), s.count, kUs, std::fabs(s.step));
        for (int id = 0; id < kMeasDelayRise; ++id) {
            const char* key = MeasureTable()[id].key;
            ASSERT_EQ(got[id].has_value(), want[id].has_value()) << at << ' ' << key;
            ASSERT_EQ(got[id].has_value(), asDoubles[id].has_value()) << at << ' ' << key;
            if (!got[id]) continue;
            EXPECT_EQ(*got[id], *want[id]) << at << ' ' << key;
            EXPECT_NEAR(*got[id], *asDoubles[id], 1e-9 * std::max(1.0, std::fabs(*asDoubles[id]))) << at << ' ' << key;
        }
    }
}

// Plot 2 lags plot 1 by the given angle: the delay is that part of the 400-sample period, the
// nearest edge within half a period, so 190 degrees late reads 170 early.
TEST(Measurements, DelayAndPhaseBetweenTwoSines) {
    const struct { double lag, phase; } cases[] = {{30, 30}, {-30, -30}, {190, -170}, {-181, 179}};
    for (const auto& c : cases) {
        std::vector<double> x1(4000), x2(4000);
        for (int i = 0; i < 4000; ++i) x1[i] = Sine((i + 0.5) / 400), x2[i] = Sine((i + 0.5) / 400, c.lag);
        MeasureEdges e1, e2;
        MeasureValues out = MeasureSamples(x1.data(), 4000, kUs, 0, AllMeasurements(), &e1);
        MeasureSamples(x2.data(), 4000, kUs, 0, AllMeasurements(), &e2);
        MeasureBetween(e1, e2, kUs, out[kMeasPeriod], out);
        ASSERT_TRUE(out[kMeasPhase] && out[kMeasDelayFall]) << c.lag;
        // Straight lines between the samples cross a few millionths of a sample off the sine.
        EXPECT_NEAR(*out[kMeasPhase], c.phase, 1e-4) << c.lag;
        EXPECT_NEAR(*out[kMeasDelayRise], c.phase / 360 * 400 * kUs, 1e-11) << c.lag;
        EXPECT_NEAR(*out[kMeasDelayFall], *out[kMeasDelayRise], 1e-11) << c.lag;
    }
}

// From a document: the span (cursors, zoom, each plot's own samples), the modes, and the record
// count the statistics follow.
TEST(Measurements, DocumentSpansModesAndRecords) {
    CKivDoc doc;
    int heard = 0;
    const int listener = doc.AddRecordListener([&] { ++heard; });
    Generate(doc, kGenSquare, 0.001);  // 400 samples a period, high first
    ModeMeasurements m = doc.MeasureCurrentMode(false);
    EXPECT_EQ(std::vector<int>(m.span, m.span + 2), std::vector<int>({0, 4000}));
    ASSERT_TRUE(m.columns[0] && m.columns[1] && m.twoCurves);
    EXPECT_EQ(*m.columns[1]->values[kMeasMean], 0);
    EXPECT_NEAR(*m.between[kMeasDelayRise], 0, 1e-15);
    // 3.5 periods between the cursors, either way round: high for 2 of the 3.5 ms.
    doc.m_nCursor1 = 1400, doc.m_nCursor2 = 0;
    m = doc.MeasureCurrentMode(true);
    EXPECT_EQ(std::vector<int>(m.span, m.span + 2), std::vector<int>({0, 1400}));
    EXPECT_NEAR(*m.columns[0]->values[kMeasMean], 2 * (2.0 - 1.5) / 3.5, 2e-3);
    EXPECT_NEAR(*m.columns[0]->values[kMeasPeriod], 1e-3, 1e-9);
    EXPECT_NEAR(*m.columns[0]->values[kMeasCycleMean], 0, 1e-12);  // from fall to fall
    // The window at 1-2 ms: without cursors its samples; the cursors lie across it.
    AxisWindowInfo x;
    doc.GetCurrentMode()->GetAxisInfo(x, 3);
    x.min = 400, x.max = 800;
    doc.GetCurrentMode()->SetAxisWindow(x, 3);
    doc.GetCurrentMode()->UpdateDisplay();
    m = doc.MeasureCurrentMode(false);
    EXPECT_EQ(std::vector<int>(m.span, m.span + 2), std::vector<int>({400, 800}));
    doc.m_nCursor1 = 1000, doc.m_nCursor2 = 3000;
    m = doc.MeasureCurrentMode(true);
    EXPECT_EQ(std::vector<int>(m.span, m.span + 2), std::vector<int>({500, 700}));

    // The Fourier mode needs no spectrum: its rows only, over the cursors as record indices.
    doc.SetMode(kModeFourier);
    doc.m_nCursor1 = 0, doc.m_nCursor2 = 4000;
    m = doc.MeasureCurrentMode(false);
    EXPECT_EQ(m.Rows(AllMeasurements()).size(), 4u);
    EXPECT_FALSE(doc.GetFourierMode()->m_bReady);
    EXPECT_NEAR(*m.columns[0]->values[kMeasA1], 4 * 2 / kPi, 0.02);  // 4A/pi
    EXPECT_NEAR(*m.columns[0]->values[kMeasFundamental], 1000, 1e-6);
    // XY measures nothing; a sum is one curve of its own.
    doc.SetMode(kModeXY);
    m = doc.MeasureCurrentMode(true);
    EXPECT_TRUE(!m.columns[0] && !m.columns[1] && m.Rows(AllMeasurements()).empty());
    doc.SetMode(kModeSum);
    m = doc.MeasureCurrentMode(false);
    ASSERT_TRUE(m.columns[0] && !m.columns[1] && !m.twoCurves);
    EXPECT_EQ(std::tuple(m.columns[0]->name, m.columns[0]->plot), std::tuple("Suma", 0));
    EXPECT_NEAR(*m.columns[0]->values[kMeasMax], 4, 0.05);
    doc.SetMode(kModeDerivative);
    EXPECT_EQ(doc.MeasureCurrentMode(false).columns[1]->amplitudeUnit, "V/s");

    // A 5 ms sine of 1 V beside a 40 ms square: the sine is measured over its own 4000
    // samples, not averaged onto the square's time base with the zero line after it.
    doc.SetMode(kModeOriginal);
    Generate(doc, kGenSquare, 0.01, 1, 1, 0.04);
    Generate(doc, kGenSine, 0.001, 1, 2, 0.005);
    m = doc.MeasureCurrentMode(false);
    EXPECT_NEAR(*m.columns[1]->values[kMeasRms], 1 / std::sqrt(2.0), 2e-3);
    EXPECT_NEAR(*m.columns[1]->values[kMeasMax], 1, 1e-9);
    EXPECT_NEAR(*m.columns[1]->values[kMeasPeriod], 1e-3, 1e-9);
    EXPECT_FALSE(m.between[kMeasDelayRise]);  // two time steps
    // The derivative of the averaged record only as far as it holds the sine: its first 500
    // samples, as if the cursors marked them.
    doc.SetMode(kModeDerivative);
    const double whole = *doc.MeasureCurrentMode(false).columns[1]->values[kMeasRms];
    doc.m_nCursor1 = 0, doc.m_nCursor2 = 500;
    EXPECT_EQ(whole, *doc.MeasureCurrentMode(true).columns[1]->values[kMeasRms]);

    // Each generator run is a record; a plot switched off is none; a live fetch's update is one
    // that leaves the document unmarked.
    doc.TogglePlot(2);
    EXPECT_EQ(std::pair(heard, doc.RecordCount()), std::pair(3, uint64_t{3}));
    doc.SetModifiedFlag(false);
    doc.RecordArrived();
    EXPECT_EQ(std::tuple(heard, doc.RecordCount(), doc.IsModified()), std::tuple(4, uint64_t{4}, false));
    doc.RemoveRecordListener(listener);
    Generate(doc, kGenSine, 0.001);
    EXPECT_EQ(heard, 4);
}

// The values as the panel shows them, the table with and without statistics, and the
// statistics themselves: amplitudes 1, 2 and 4 V give a mean of 7/3 and a deviation of 1.53.
TEST(Measurements, TextsTablesAndStatistics) {
    const struct { std::optional<double> v; MeasureUnit unit; const char* amplitude; const char* text; } texts[] = {
        {1000, MeasureUnit::Frequency, "V", "1.00kHz"}, {50, MeasureUnit::Percent, "V", "50.00 %"},
        {2.8284, MeasureUnit::Amplitude, "V", "2.83 V"}, {std::nullopt, MeasureUnit::Time, "V", "—"},
        {3, MeasureUnit::Count, "", "3"}, {2.5, MeasureUnit::Count, "", "2.50"},
        {-30, MeasureUnit::Degrees, "", "-30.0°"},
        {2e5, MeasureUnit::Slew, "V", "200kV/s"}, {4e-4, MeasureUnit::Area, "V", "400uVs"},
        {2, MeasureUnit::Slew, "V/s", "2.00 V/s²"}, {2, MeasureUnit::Area, "V/s", "2.00 V"}};
    for (const auto& t : texts) EXPECT_EQ(MeasureText(t.v, t.unit, t.amplitude), t.text);
    // Percentages, degrees and counts read as printf writes them: exact ties (to the even digit),
    // near ties, small negatives, large values, and values over many magnitudes.
    std::vector<double> values = {0.125, -0.125, 0.375, 0.75, 0.25, 1.005, 2.675, -0.001, -0.04, 1e12 + 0.5, 0.0, -0.0};
    for (int i = 0; i < 3000; ++i) values.push_back(std::sin(i * 12.9898) * std::pow(10.0, i % 13 - 4));
    for (double v : values) {
        char two[64], one[64], whole[64];
        std::snprintf(two, sizeof two, "%.2f %%", v + 0.0);
        std::snprintf(one, sizeof one, "%.1f°", v + 0.0);
        std::snprintf(whole, sizeof whole, v == std::floor(v) ? "%.0f" : "%.2f", v + 0.0);
        EXPECT_EQ(MeasureText(v, MeasureUnit::Percent, ""), two) << v;
        EXPECT_EQ(MeasureText(v, MeasureUnit::Degrees, ""), one) << v;
        EXPECT_EQ(MeasureText(v, MeasureUnit::Count, ""), whole) << v;
    }

    CKivDoc doc;
    CMeasureStats stats;
    for (double amplitude : {1.0, 2.0, 4.0}) {
        Generate(doc, kGenConstant, 0.001, amplitude, 1);
        stats.Add(doc.MeasureCurrentMode(false));
    }
    const CMeasureStats::Summary s = stats.Find(kModeOriginal, 1, kMeasMax);
    EXPECT_EQ(std::tuple(s.count, s.min, s.max, s.last), std::tuple(int64_t{3}, 1.0, 4.0, 4.0));
    EXPECT_NEAR(s.mean, 7.0 / 3, 1e-12);
    EXPECT_NEAR(*s.deviation, std::sqrt(7.0 / 3), 1e-12);
    EXPECT_EQ(stats.Find(kModeOriginal, 1, kMeasPeriod).count, 0);  // never defined

    MeasureSet rows;
    rows.set(kMeasMax).set(kMeasPeriod).set(kMeasPhase);
    const ModeMeasurements m = doc.MeasureCurrentMode(false);
    EXPECT_EQ(MeasureGridText(BuildMeasureGrid(m, rows), false),
              "          Wykres 1\nMaksimum    4.00 V\nOkres            —\n");
    EXPECT_EQ(MeasureGridText(BuildMeasureGrid(m, rows, &stats), true),
              "\tBieżąca\tŚrednia\tMin\tMaks\tσ\tn\nMaksimum\t4.00 V\t2.33 V\t1.00 V\t4.00 V\t1.53 V\t3\n"
              "Okres\t—\t—\t—\t—\t—\t0\n");
    stats.Reset();
    EXPECT_EQ(std::pair(stats.Records(), stats.Find(kModeOriginal, 1, kMeasMax).count),
              std::pair(int64_t{0}, int64_t{0}));
    CKivDoc xy;
    Generate(xy, kGenSine, 0.001);
    xy.SetMode(kModeXY);
    EXPECT_EQ(MeasureGridText(BuildMeasureGrid(xy.MeasureCurrentMode(false), rows), true),
              "Brak pomiarów w tym trybie\n");
}
