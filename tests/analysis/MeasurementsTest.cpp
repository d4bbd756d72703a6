#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "analysis/Generator.h"
#include "analysis/Measurements.h"
#include "analysis/ModeTable.h"
#include "document/CKivDoc.h"

namespace {

const double kPi = 3.141592653589793;
constexpr double kDt = 1e-6;

struct Expect {
    MeasureId id;
    std::optional<double> value;  // absent: the measurement must be absent
    double tolerance = 1e-9;
};

struct Signal {
    const char* name;
    int n;
    std::function<double(int)> f;
    std::vector<Expect> expect;
};

// Worked out from the signals themselves: a 400-sample period is 2.5 kHz at 1 us a sample; a
// jump between two samples crosses 10 % and 90 % 0.8 samples apart; a ramp over 10 samples
// takes 8 of them from 10 % to 90 %.
const Signal kSignals[] = {
    {"sine", 4000, [](int i) { return 3 * std::sin(2 * kPi * i / 400 + 0.3); },
     {{kMeasFrequency, 2500, 2.5}, {kMeasPeriod, 400e-6, 0.4e-6}, {kMeasRms, 3 / std::sqrt(2), 1e-3},
      {kMeasAcRms, 3 / std::sqrt(2), 1e-3}, {kMeasMean, 0, 1e-3}, {kMeasDuty, 50, 0.25}, {kMeasPeakToPeak, 6, 1e-3},
      {kMeasRise, 400e-6 * std::asin(0.8) / kPi, 1e-6}}},
    // Noise below the hysteresis at every sample must not add edges.
    {"noisy sine", 4000, [](int i) { return 3 * std::sin(2 * kPi * i / 400) + (i % 2 ? 0.4 : -0.4); },
     {{kMeasFrequency, 2500, 12.5}, {kMeasDuty, 50, 0.5}}},
    {"square 25 %", 4000, [](int i) { return i % 400 < 100 ? 5.0 : -1.0; },
     {{kMeasDuty, 25, 1e-9}, {kMeasFrequency, 2500, 1e-6}, {kMeasMean, 0.5}, {kMeasRms, std::sqrt(7.0)},
      {kMeasMax, 5}, {kMeasMin, -1}, {kMeasRise, 0.8 * kDt}, {kMeasFall, 0.8 * kDt}}},
    {"trapezoid", 1000,
     [](int i) {
         const int p = i % 100;
         return p < 10 ? -1 + p / 5.0 : p < 50 ? 1 : p < 60 ? 1 - (p - 50) / 5.0 : -1;
     },
     {{kMeasRise, 8 * kDt}, {kMeasFall, 8 * kDt}, {kMeasDuty, 50}, {kMeasPeriod, 100 * kDt}}},
    // The second low stays above 10 %: its rise starts from the first low's 10 % crossing
    // (9.1) and reaches 90 % at 29 + 6/7; the fall never gets back down to 10 %. Mid crossings
    // at 9.5 and 29 + 2/7.
    {"shallow low", 40, [](int i) { return i < 10 ? 0.0 : i < 20 ? 10.0 : i < 30 ? 3.0 : 10.0; },
     {{kMeasRise, (0.8 + 29 + 6 / 7.0 - 9.1) / 2 * kDt}, {kMeasFall, {}}, {kMeasPeriod, (29 + 2 / 7.0 - 9.5) * kDt}}},
    {"constant", 4000, [](int) { return -2.0; },
     {{kMeasPeakToPeak, 0}, {kMeasRms, 2}, {kMeasAcRms, 0}, {kMeasFrequency, {}}, {kMeasDuty, {}}, {kMeasRise, {}}}},
    {"one edge", 4000, [](int i) { return i < 2000 ? 0.0 : 1.0; },
     {{kMeasPeriod, {}}, {kMeasFrequency, {}}, {kMeasDuty, {}}, {kMeasRise, 0.8 * kDt}, {kMeasFall, {}}}},
    {"one sample", 1, [](int) { return 1.0; }, {{kMeasMax, {}}, {kMeasRms, {}}}},
};

// A document with the generator's signal on both plots, 10 ms over the record.
void Generate(CKivDoc& doc, uint8_t kind, double period) {
    GeneratorParams p;
    p.m_nKind = kind, p.m_dAmplitude = 2, p.m_dDuration = 0.01, p.m_dPeriod = period;
    doc.OnGenerate(&p);
}

}  // namespace

TEST(Measurements, IndependentValuesOfKnownSignals) {
    for (const Signal& s : kSignals) {
        std::vector<double> v(static_cast<size_t>(s.n));
        for (int i = 0; i < s.n; ++i) v[static_cast<size_t>(i)] = s.f(i);
        const MeasureValues got = MeasureSamples(v.data(), s.n, kDt);
        for (const Expect& e : s.expect) {
            const char* key = MeasureTable()[e.id].key;
            ASSERT_EQ(got[e.id].has_value(), e.value.has_value()) << s.name << ' ' << key;
            if (e.value) { EXPECT_NEAR(*got[e.id], *e.value, e.tolerance) << s.name << ' ' << key; }
        }
    }
}

// From a document: the span between the cursors, the Fourier rows, the modes without
// measurements, and the texts the panel shows.
TEST(Measurements, DocumentSpansModesAndTexts) {
    CKivDoc doc;
    Generate(doc, kGenSquare, 0.001);  // 400 samples a period, high first
    ModeMeasurements m = doc.MeasureCurrentMode(false);
    EXPECT_EQ(std::vector<int>(m.span, m.span + 2), std::vector<int>({0, 4000}));
    ASSERT_TRUE(m.columns[0] && m.columns[1]);
    EXPECT_EQ(*m.columns[1]->values[kMeasMean], 0);
    // A sine over whole periods: the mean is 0, not what the sum's rounding leaves.
    CKivDoc sine;
    Generate(sine, kGenSine, 0.002);
    EXPECT_EQ(*sine.MeasureCurrentMode(false).columns[0]->values[kMeasMean], 0);
    // 3.5 periods between the cursors, either way round: high for 2 of the 3.5 ms.
    doc.m_nCursor1 = 1400, doc.m_nCursor2 = 0;
    m = doc.MeasureCurrentMode(true);
    EXPECT_EQ(std::vector<int>(m.span, m.span + 2), std::vector<int>({0, 1400}));
    EXPECT_NEAR(*m.columns[0]->values[kMeasMean], 2 * (2.0 - 1.5) / 3.5, 2e-3);
    EXPECT_NEAR(*m.columns[0]->values[kMeasPeriod], 1e-3, 1e-9);
    EXPECT_EQ(MeasureText(m.columns[0]->values[kMeasFrequency], MeasureUnit::Frequency, "V"), "1.00kHz");
    EXPECT_EQ(MeasureText(m.columns[0]->values[kMeasDuty], MeasureUnit::Percent, "V"), "50.00 %");
    EXPECT_EQ(MeasureText(2.8284, MeasureUnit::Amplitude, "V"), "2.83 V");
    EXPECT_EQ(MeasureText(std::nullopt, MeasureUnit::Time, "V"), "—");

    // One period in the spectrum: the odd harmonics 1/k up to 49 give a THD of
    // 100 sqrt(sum 1/k^2, k = 3, 5 .. 49) = 47.3 %; the bars' 0.5 % steps move it a little.
    double ideal = 0;
    for (int k = 3; k < 50; k += 2) ideal += 1.0 / (k * k);
    doc.m_nCursor1 = 0, doc.m_nCursor2 = 400;
    doc.SetMode(kModeFourier);
    m = doc.MeasureCurrentMode(false);
    ASSERT_EQ(m.Rows().size(), 4u);
    EXPECT_NEAR(*m.columns[0]->values[kMeasThd], 100 * std::sqrt(ideal), 0.5);
    EXPECT_NEAR(*m.columns[0]->values[kMeasFundamental], 1000, 1e-3);
    EXPECT_NEAR(*m.columns[0]->values[kMeasA1], 4 * 2 / kPi, 0.05);  // 4A/pi
    Generate(doc, kGenSine, 0.001);
    doc.GetFourierMode()->m_bReady = 0;
    m = doc.MeasureCurrentMode(false);
    EXPECT_LT(*m.columns[1]->values[kMeasThd], 1.0);
    EXPECT_NEAR(*m.columns[1]->values[kMeasA1], 2, 0.02);

    // XY measures nothing; a sum is one curve of its own.
    doc.SetMode(kModeXY);
    m = doc.MeasureCurrentMode(true);
    EXPECT_TRUE(!m.columns[0] && !m.columns[1] && m.Rows().empty());
    EXPECT_EQ(MeasureTableText(m, true), "\n");
    doc.SetMode(kModeSum);
    m = doc.MeasureCurrentMode(false);
    ASSERT_TRUE(m.columns[0] && !m.columns[1]);
    EXPECT_EQ(std::tuple(m.columns[0]->name, m.columns[0]->plot), std::tuple("Suma", 0));
    EXPECT_NEAR(*m.columns[0]->values[kMeasMax], 4, 0.05);
    doc.SetMode(kModeDerivative);
    EXPECT_EQ(doc.MeasureCurrentMode(false).columns[1]->amplitudeUnit, "V/s");
}
