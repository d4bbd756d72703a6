// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/CDataFourier.h"
#include "analysis/FourierPanelValues.h"
#include "analysis/MeanRms.h"
#include "support/DataFixture.h"
#include "support/PlotFill.h"

namespace {

using Texts = std::vector<std::string>;
const AxisScale kTime{-1, 's', 0.5};  // 0.5 ms per sample
const AxisScale kVolt{0, 'V', 0.02};
int Wave1(int i) { return 100 + (int)(45 * std::sin(i * 0.01)); }
int Wave2(int i) { return 100 + (int)(50 * std::cos(i * 0.023)); }

CData& Computed(CKivDoc& doc, int mode) {
    doc.m_modes[mode]->Recalculate();
    return *doc.m_modes[mode];
}

const double kPi = 3.141592653589793;

// The spectrum between cursors c1 and c2, computed afresh.
CDataFourier& Spectrum(CKivDoc& doc, int c1, int c2) {
    doc.m_nCursor1 = c1, doc.m_nCursor2 = c2, doc.m_currentMode = kModeFourier, doc.GetFourierMode()->m_bReady = 0;
    return static_cast<CDataFourier&>(Computed(doc, kModeFourier));
}

// The Fourier mode's tests see its messages and progress window.
class Fourier : public ::testing::Test, public HostedDoc {};

}  // namespace

// Slope r: every average is r, so code 200 (falling: -100 + 0.5 truncates to -99, code
// 1) and step r * Y.step / X.step / 100, each plot with its own M.
TEST(Derivative, RampsSingleRaisedSampleAndFlat) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 3 * i; }, kTime, kVolt);
    FillPlot(doc.Source(), 2, [](int i) { return 4000 - i; }, kTime, {-1, 'V', 5.0});
    CData& m = Computed(doc, kModeDerivative);
    EXPECT_EQ(std::count(m.m_nCalc1, m.m_nCalc1 + kSamples, 200), kSamples);
    EXPECT_EQ(std::count(m.m_nCalc2, m.m_nCalc2 + kSamples, 1), kSamples);
    EXPECT_NEAR(m.m_scaleY1.step, 3 * 0.02 / 0.5 / 100, 1e-15);
    EXPECT_NEAR(m.m_scaleY2.step, 5.0 / 0.5 / 100, 1e-14);
    EXPECT_EQ(std::pair(m.m_scaleY1.exponent, m.m_scaleY2.exponent), std::pair(1, 0));

    // Inner value i is (s[i+11] - s[i-10]) / 21: +90/21 at 1989, -90/21 at 2010. Only
    // plot 2 on: its codes, scale and colour.
    FillPlot(doc.Source(), 2, [](int i) { return i == 2000 ? 190 : 100; }, kTime, kVolt);
    doc.TogglePlot(1);
    Computed(doc, kModeDerivative);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(m.m_nCalc1[i], i == 1989 ? 200 : i == 2010 ? 1 : 100) << i;
    EXPECT_EQ(std::pair(m.m_crColour1, m.m_crColour2), std::pair(MakeColour(255, 0, 128), MakeColour(255, 0, 128)));

    FillPlot(doc.Source(), 2, [](int) { return 137; }, kTime, kVolt);  // flat: reads 0, step not rescaled
    Computed(doc, kModeDerivative);
    EXPECT_EQ(std::pair(std::count(m.m_nCalc1, m.m_nCalc1 + kSamples, 100), m.m_scaleY1.step), std::pair(4000L, 0.04));
}

// Constant 150: area 50 (k + 1) up to k = 3997, largest 199900, so code
// 100 + round(100 (k + 1) / 3998). Plot 2 at code 0 at 3997 and 3998 only: areas -50
// and -150 at k = 3996 and 3997, codes 100 - 32 and 100 - 99, and the last two repeat 1.
TEST(Integral, ConstantRisesLinearlyAndTheLastTwoRepeat) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, kTime, kVolt);
    FillPlot(doc.Source(), 2, [](int i) { return i == 3997 || i == 3998 ? 0 : 100; }, kTime, {-1, 'V', 5.0});
    CData& m = Computed(doc, kModeIntegral);
    for (int i = 0; i < kSamples; ++i) {
        ASSERT_EQ(m.m_nCalc1[i], 100 + (200 * (std::min(i, 3997) + 1) + 3998) / (2 * 3998)) << i;
        ASSERT_EQ(m.m_nCalc2[i], i < 3996 ? 100 : i == 3996 ? 68 : 1) << i;
    }
    EXPECT_NEAR(m.m_scaleY1.step, 0.02 * 0.5 * 199900 / 100, 1e-12);
    EXPECT_NEAR(m.m_scaleY2.step, 5.0 * 0.5 * 150 / 100, 1e-14);
    EXPECT_EQ(std::pair(m.m_scaleY1.exponent, m.m_scaleY2.exponent), std::pair(-1, -2));
}

// Sum: identical scales, then plot 2 in mV at 1000 times plot 1's step (plot 1 stays the
// reference; plot 2's codes, divided by 1000 and multiplied by 1000, enter unchanged):
// code1 + code2 - 100, or - 99 below the zero line (the half added before truncation
// toward zero). Within 100 codes of the zero line nothing is rescaled.
TEST(SumXYAndProduct, ReferencePlotConversionCopiesAndRescaling) {
    CKivDoc doc;
    CDataSrc& s = doc.Source();
    FillPlot(s, 1, Wave1, kTime, kVolt);
    for (AxisScale y2 : {kVolt, AxisScale{-1, 'V', 20.0}}) {
        FillPlot(s, 2, Wave2, kTime, y2);
        CData& m = Computed(doc, kModeSum);
        for (int i = 0; i < kSamples; ++i)
            ASSERT_EQ(m.m_nCalc1[i], Wave1(i) + Wave2(i) - (Wave2(i) >= 100 ? 100 : 99)) << i;
        EXPECT_EQ(std::tuple(m.m_scaleY1.step, m.m_scaleY2.exponent, m.m_crColour2),
                  std::tuple(0.02, y2.exponent, s.m_crColour1));
    }
    FillPlot(s, 2, Wave2, kTime, {0, 'V', 0.04});
    CData& xy = Computed(doc, kModeXY);  // plot 1 vertical, plot 2 horizontal, as they are
    for (int i = 0; i < kSamples; ++i)
        ASSERT_EQ(std::pair(xy.m_nCalc1[i], xy.m_nCalc2[i]), std::pair(Wave1(i), Wave2(i))) << i;
    EXPECT_EQ(std::tuple(xy.m_scaleY2.step, xy.m_window.right, xy.m_crColour2), std::tuple(0.04, 200, s.m_crColour2));
    // Plot 2's codes -100..100 across 8 divisions of 1 V.
    EXPECT_EQ(xy.GetAxisLabels(0)[1] + xy.GetAxisLabels(0)[8], "-3.00 4.00 ");

    // Equal exponents, plot 2's step twice plot 1's: plot 2 (120) is the reference, plot 1
    // enters halved: 45 -> 23, -45 -> -22, -1 -> 0, 1 -> 1, 3 -> 2, -3 -> -1.
    const int codes1[] = {145, 55, 99, 101, 103, 97};
    FillPlot(s, 1, [&](int i) { return codes1[i % 6]; }, kTime, kVolt);
    FillPlot(s, 2, [](int) { return 120; }, kTime, {0, 'V', 0.04});
    CData& m = Computed(doc, kModeSum);
    EXPECT_EQ(Codes(m.m_nCalc1, 3990, 6), std::vector<int>({143, 98, 120, 121, 122, 119}));
    EXPECT_EQ(std::tuple(m.m_nCalc2[3991], m.m_scaleY1.step), std::tuple(55, 0.04));

    // Product: 100 * 100 = 10000 codes from the zero line, shrunk by 100 to code 200.
    FillPlot(s, 1, [](int) { return 200; }, kTime, kVolt);
    FillPlot(s, 2, [](int i) { return i < 2000 ? 200 : 100; }, kTime, {-1, 'A', 3.0});
    CData& p = Computed(doc, kModeProduct);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(p.m_nCalc1[i], i < 2000 ? 200 : 100) << i;
    EXPECT_NEAR(p.m_scaleY1.step, 100 * 0.02 * 3.0, 1e-12);
    EXPECT_EQ(std::tuple(p.m_scaleY1.exponent, p.m_scaleY1.unit, p.m_nCalc2[0], p.m_crColour2),
              std::tuple(-1, 'V', 200, MakeColour(50, 150, 255)));

    doc.TogglePlot(2);  // one plot: the last result stays
    p.m_nCalc1[5] = 77;
    EXPECT_EQ(Computed(doc, kModeProduct).m_nCalc1[5], 77);
    EXPECT_EQ(p.m_bReady, 1);
}

// Three whole periods of a 1 V sine (100 codes at 0.01 V, 1000 samples a period), the
// cursors either way round: rectified mean 2/pi = 0.6366 V, RMS 1/sqrt(2) = 0.7071 V. A
// constant -1 V (in mV) reads 1 V for both, and as plot 2 it comes first. Which commands
// are enabled, empty ranges and the dialogs are the shell's, kivtool's and the dialogs' tests.
TEST(MeanRms, SineConstantOrderAndTheModesThatHaveNoValues) {
    CKivDoc doc;
    auto sine = [](int i) { return 100 + (int)std::floor(100 * std::sin(2 * kPi * i / 1000) + 0.5); };
    FillPlot(doc.Source(), 1, sine, {0, 's', 0.001}, {0, 'V', 0.01});
    FillPlot(doc.Source(), 2, [](int) { return 50; }, {0, 's', 0.001}, {-1, 'V', 20.0});
    doc.m_nCursor1 = 3250, doc.m_nCursor2 = 250;
    std::string v[4];
    bool two = false;
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(two);
    EXPECT_EQ(Texts(v, v + 4), Texts({"1.00 ", "637m", "1.00 ", "707m"}));
    const MeanRmsFields f = MeanRmsDialogFields(v, two);
    EXPECT_EQ(Texts({f.m_strMean1, f.m_strMean2, f.m_strRms1, f.m_strRms2}), Texts({"637m", "1.00 ", "707m", "1.00 "}));

    doc.TogglePlot(2);
    ASSERT_TRUE(doc.ComputeMeanRms(v, two));
    EXPECT_EQ(std::tuple(two, v[0], v[1]), std::tuple(false, "637m", "707m"));
    doc.SetMode(kModeSum);  // needs both plots: no values, yet the command stays
    EXPECT_FALSE(doc.ComputeMeanRms(v, two));
    EXPECT_TRUE(doc.CanComputeMeanRms());
}

// Against the transform summed term by term with sin and cos, no tables, no angle reduction;
// the cursors swapped, 4000 read as 3999. Plot 1 is a constant x over the first range: DC
// |x| N / M and each harmonic 2|x| / M, since the sums miss one sample of the basis period;
// below 0.5 % of the DC term, so without a, b and phase. A wave over the others.
TEST_F(Fourier, TwoPlotsMatchTheDirectSums) {
    CDataSrc& s = doc.Source();
    FillPlot(s, 1, [](int) { return 150; });  // 1 V
    FillPlot(s, 2, [](int i) { return (i / 37) % 3 ? 160 : 20; }, {0, 's', 0.001}, {-1, 'V', 5.0});
    const int K = kHarmonics;
    for (auto [lo, hi] : {std::pair{0, 3999}, std::pair{123, 3877}, std::pair{7, 40}}) {
        CDataFourier& m = Spectrum(doc, hi == 3999 ? 4000 : hi, lo);
        if (lo == 0) {
            EXPECT_EQ(m.m_nHarm1[0], 200);
            EXPECT_NEAR(m.m_scaleY1.step, 3999.0 / 4000 / 200, 1e-15);
            EXPECT_EQ(std::tuple(m.m_scaleX.exponent, m.m_scaleX.unit, m.m_scaleX.step), std::tuple(0, 'H', 0.0125));
        }
        const int M = hi - lo + 1;
        for (int p = 1; p <= 2; ++p) {
            double C[K] = {}, S[K] = {}, Cm[K] = {}, Sm[K] = {}, amp[K], a[K] = {}, b[K] = {};
            for (int k = 0; k < K; ++k)
                for (int i = lo; i < hi; ++i) {
                    const double x = p == 1 ? (s.m_nShown1[i] - 100) * 0.02 : (s.m_nShown2[i] - 100) * 5.0;
                    const double mirror = M - K + k;
                    C[k] += x * std::cos(2 * kPi * k * i / M), S[k] += x * -std::sin(2 * kPi * k * i / M);
                    Cm[k] += x * std::cos(2 * kPi * mirror * i / M), Sm[k] += x * -std::sin(2 * kPi * mirror * i / M);
                }
            amp[0] = std::hypot(S[0], C[0]) / M;
            for (int k = 1; k < K; ++k) {
                a[k] = (Cm[K - k] + C[k]) / M, b[k] = (S[k] - Sm[K - k]) / M;
                amp[k] = std::hypot(a[k], b[k]);
            }
            const double top = *std::max_element(amp, amp + K), tol = 1e-9 * top;
            EXPECT_NEAR(m.GetScale(p + 4).step, top / 200, tol);
            for (int k = 0; k < K; ++k) {
                const bool kept = k > 0 && amp[k] >= 0.005 * top;
                EXPECT_EQ((p == 1 ? m.m_nHarm1 : m.m_nHarm2)[k], (int)std::floor(amp[k] * 200 / top + 0.5)) << lo << k;
                EXPECT_NEAR((p == 1 ? m.m_dA1 : m.m_dA2)[k], kept ? a[k] : 0, tol);
                EXPECT_NEAR((p == 1 ? m.m_dB1 : m.m_dB2)[k], kept ? b[k] : 0, tol);
                EXPECT_NEAR((p == 1 ? m.m_dPhase1 : m.m_dPhase2)[k], kept ? std::atan2(b[k], a[k]) : 0, 1e-6);
            }
        }
        FillPlot(s, 1, [](int i) { return 100 + (int)(60 * std::sin(i * 0.013) + 25 * std::cos(i * 0.171)); });
    }
}

TEST_F(Fourier, MessagesProgressFlatPlotAndNoPlot) {
    auto& boxes = host.messages.boxes;
    auto& events = host.progress.events;
    std::string out;
    Spectrum(doc, 0, 4000).ExportHarmonics(out);  // no plot: ready, nothing shown, nothing exported
    EXPECT_EQ(doc.GetFourierMode()->m_bReady, 1);
    EXPECT_EQ(events.size() + boxes.size() + out.size(), 0u);

    FillPlot(doc.Source(), 1, [](int) { return 100; });
    CDataFourier& m = Spectrum(doc, 4000, 3999);  // 4000 reads 3999: nothing computed, still not ready
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::tuple(boxes[0].text, boxes[0].caption, boxes[0].icon),
              std::tuple("Kursory pokrywanją się. Zmień pozycję kursorów ", "Kiv", MsgIcon::Exclamation));
    EXPECT_EQ(std::pair(m.m_bReady, events.size()), std::pair(uint8_t{0}, size_t{0}));

    Spectrum(doc, 3, 100);  // 97 samples warn and still compute
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text,
              "Liczba próbek jest za mała do przeprowadzenia analizy widmowej, ustaw większy przedział czasu./n "
              "Otrzymane dane nie bedą poprawne");
    // Flat at the zero line: no bars, every read-out 0, the axis keeps its step.
    EXPECT_EQ(std::tuple(m.m_bReady, m.m_scaleY1.step, std::count(m.m_nHarm1, m.m_nHarm1 + kHarmonics, 0)),
              std::tuple(1, 0.02, kHarmonics));

    EXPECT_EQ(events, Texts({"open:oblicznie DFT ", "10", "20", "50", "90", "100", "close"}));
    FillPlot(doc.Source(), 2, [](int) { return 100; });
    events.clear();
    Spectrum(doc, 3, 101);  // 98 do not warn
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(events, Texts({"open:oblicznie DFT ", "10", "20", "40", "90", "100", "close"}));
}

// Cursors 0 and 1: one sample, every angle 0, so every bin sums to x: a = x, b = 0,
// amp[k] = |x| = A, DC |x| / 2, bars 200 and 100, step A / 200. Plot 1: x = 1 (code
// 150, 0.02 V). Plot 2: x = -70 * 0.01 = -0.7000000000000001, phase atan2(0, x) = pi.
// Amplitudes go through float: 0.35f = 0.34999999403953552, 0.7f = 0.69999998807907104.
TEST_F(Fourier, HarmonicsTable) {
    FillPlot(doc.Source(), 1, [](int i) { return i == 0 ? 150 : 100; });
    FillPlot(doc.Source(), 2, [](int i) { return i == 0 ? 30 : 100; }, {0, 's', 0.001}, {0, 'V', 0.01});
    std::string expected =
        "wykres z kana\xB3u 1;;;;;;;wykres z kana\xB3u 2\r\n"
        "nr harm;an1 wsp\xF3\xB3" "czynnik;bn1 wsp\xF3\xB3" "czynnik;hn1 amplituda;fin1 faza;;;an2 wsp\xF3\xB3"
        "czynnik;bn2 wsp\xF3\xB3" "czynnik;hn2 amplituda;fin2 faza\r\n"
        "0;0,000000000000000;0,000000000000000;0,500000000000000;0,000000000000000;;;"
        "0,000000000000000;0,000000000000000;0,349999994039536;0,000000000000000\r\n";
    for (int n = 1; n < kHarmonics; ++n)
        expected += std::to_string(n) +
                    ";1,000000000000000;0,000000000000000;1,000000000000000;0,000000000000000;;;"
                    "-0,700000000000000;0,000000000000000;0,699999988079071;3,141592653589793\r\n";
    std::string out = "x";
    Spectrum(doc, 0, 1).ExportHarmonics(out);
    EXPECT_EQ(out, "x" + expected);

    doc.TogglePlot(2);  // one plot: five columns, rows closed by ";"
    out.clear();
    Spectrum(doc, 0, 1).ExportHarmonics(out);
    const std::string head =
        "wykres z kana\xB3u 1\r\nnr harm;an wsp\xF3\xB3" "czynnik;bn wsp\xF3\xB3" "czynnik;hn amplituda;fin faza;\r\n"
        "0;0,000000000000000;0,000000000000000;0,500000000000000;0,000000000000000;\r\n";
    EXPECT_EQ(out.substr(0, head.size()), head);
    float amp;  // the panel's plot 2 reads plot 1 then
    int e;
    double phase, a0, an, bn;
    doc.GetFourierMode()->GetHarmonic(3, amp, e, phase, a0, an, bn, 2);
    EXPECT_EQ(std::tuple(amp, a0, an), std::tuple(1.0f, 0.5, 1.0));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 52);
}

// The rest of the panel's texts are the panel's test.
TEST(FourierPanel, DegreesAndSmallPhases) {
    // 1.745416 * 180 / 3.14159 = 100.005055 (with 180 / pi it would be 100.004970); below
    // 0.01 rad: 0, not "-0.00" or "-0.57".
    for (auto [phase, text] : {std::pair{1.745416, "1.75 100.01"}, {-0.0099, "0.00 0.00"}}) {
        FourierPanelValues v;
        v.m_dPhase = phase;
        FormatFourierPanel(v);
        EXPECT_EQ(v.m_strPhaseRad + " " + v.m_strPhaseDeg, text) << phase;
    }
}
