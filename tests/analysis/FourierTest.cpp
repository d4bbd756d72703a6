#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/CDataFourier.h"
#include "analysis/FourierPanelValues.h"
#include "data/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"

namespace {

const double kPi = 3.141592653589793;

struct FourierDoc {
    FakeHost host;
    CKivDoc doc{host.Platform()};
    CDataFourier& Run(int c1, int c2) {
        doc.m_nCursor1 = c1, doc.m_nCursor2 = c2, doc.m_currentMode = kModeFourier;
        auto& m = static_cast<CDataFourier&>(*doc.GetFourierMode());
        m.m_bReady = 0;
        m.Recalculate();
        return m;
    }
};

}  // namespace

// Plot 1 constant x: DC |x| N / M, each harmonic 2|x| / M, since the sums miss one
// sample of the basis period. Plot 2: five whole periods of cos(theta + pi/4) over
// cursors 0 and 4000 (M = 4000).
TEST(Fourier, ConstantAndCosine) {
    FourierDoc f;
    FillPlot(f.doc.Source(), 1, [](int) { return 150; });  // 1 V
    auto wave = [](int i) { return 100 + (int)std::floor(100 * std::cos(2 * kPi * 5 * i / 4000 + kPi / 4) + 0.5); };
    FillPlot(f.doc.Source(), 2, wave, {0, 's', 0.001}, {0, 'V', 0.01});
    CDataFourier& m = f.Run(0, 4000);  // harmonics 0.0005 V, below 0.5 % of the DC term
    EXPECT_EQ(m.m_nHarm1[0], 200);
    EXPECT_NEAR(m.m_scaleY1.step, 3999.0 / 4000 / 200, 1e-15);
    for (int k = 1; k < kHarmonics; ++k)
        EXPECT_EQ(std::tuple(m.m_nHarm1[k], m.m_dA1[k], m.m_dB1[k], m.m_dPhase1[k]), std::tuple(0, 0.0, 0.0, 0.0)) << k;
    EXPECT_EQ(std::tuple(m.m_scaleX.exponent, m.m_scaleX.unit, m.m_scaleX.step), std::tuple(0, 'H', 0.0125));
    // 1 V at pi / 4: a = b = sqrt(0.5); the other bars at most 1 (the rounded wave).
    const double ratios[] = {m.m_scaleY2.step * 200, m.m_dA2[5] / std::sqrt(0.5), m.m_dB2[5] / std::sqrt(0.5),
                             m.m_dPhase2[5] * 4 / kPi};
    for (double v : ratios) EXPECT_NEAR(v, 1.0, 0.003);
    EXPECT_EQ(m.m_nHarm2[5], 200);
    for (int k = 0; k < kHarmonics; ++k) EXPECT_LE(m.m_nHarm2[k], k == 5 ? 200 : 1) << k;
}

// Against the transform summed term by term with sin and cos, no tables, no angle reduction;
// the cursors swapped, 4000 read as 3999.
TEST(Fourier, TwoPlotsMatchTheDirectSums) {
    FourierDoc f;
    CDataSrc& s = f.doc.Source();
    FillPlot(s, 1, [](int i) { return 100 + (int)(60 * std::sin(i * 0.013) + 25 * std::cos(i * 0.171)); });
    FillPlot(s, 2, [](int i) { return (i / 37) % 3 ? 160 : 20; }, {0, 's', 0.001}, {-1, 'V', 5.0});
    const int K = kHarmonics;
    for (auto [lo, hi] : {std::pair{0, 3999}, std::pair{123, 3877}, std::pair{7, 40}}) {
        CDataFourier& m = f.Run(hi == 3999 ? 4000 : hi, lo);
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
    }
}

TEST(Fourier, MessagesProgressFlatPlotAndNoPlot) {
    FourierDoc f;
    auto& boxes = f.host.messages.boxes;
    auto& events = f.host.progress.events;
    std::string out;
    f.Run(0, 4000).ExportHarmonics(out);  // no plot: ready, nothing shown, nothing exported
    EXPECT_EQ(f.doc.GetFourierMode()->m_bReady, 1);
    EXPECT_EQ(events.size() + boxes.size() + out.size(), 0u);

    FillPlot(f.doc.Source(), 1, [](int) { return 100; });
    CDataFourier& m = f.Run(4000, 3999);  // 4000 reads 3999: nothing computed, still not ready
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::tuple(boxes[0].text, boxes[0].caption, boxes[0].icon),
              std::tuple("Kursory pokrywanją się. Zmień pozycję kursorów ", "Kiv", MsgIcon::Exclamation));
    EXPECT_EQ(std::pair(m.m_bReady, events.size()), std::pair(uint8_t{0}, size_t{0}));

    f.Run(3, 100);  // 97 samples warn and still compute
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text,
              "Liczba próbek jest za mała do przeprowadzenia analizy widmowej, ustaw większy przedział czasu./n "
              "Otrzymane dane nie bedą poprawne");
    // Flat at the zero line: no bars, every read-out 0, the axis keeps its step.
    EXPECT_EQ(std::tuple(m.m_bReady, m.m_scaleY1.step, std::count(m.m_nHarm1, m.m_nHarm1 + kHarmonics, 0)),
              std::tuple(1, 0.02, kHarmonics));

    auto progress = [](const char* third) {
        return std::vector<std::string>{"open:oblicznie DFT ", "10", "20", third, "90", "100", "close"};
    };
    EXPECT_EQ(events, progress("50"));
    FillPlot(f.doc.Source(), 2, [](int) { return 100; });
    events.clear();
    f.Run(3, 101);  // 98 do not warn
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(events, progress("40"));
}

// Cursors 0 and 1: one sample, every angle 0, so every bin sums to x: a = x, b = 0,
// amp[k] = |x| = A, DC |x| / 2, bars 200 and 100, step A / 200. Plot 1: x = 1 (code
// 150, 0.02 V). Plot 2: x = -70 * 0.01 = -0.7000000000000001, phase atan2(0, x) = pi.
// Amplitudes go through float: 0.35f = 0.34999999403953552, 0.7f = 0.69999998807907104.
TEST(Fourier, HarmonicsTable) {
    FourierDoc f;
    FillPlot(f.doc.Source(), 1, [](int i) { return i == 0 ? 150 : 100; });
    FillPlot(f.doc.Source(), 2, [](int i) { return i == 0 ? 30 : 100; }, {0, 's', 0.001}, {0, 'V', 0.01});
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
    f.Run(0, 1).ExportHarmonics(out);
    EXPECT_EQ(out, "x" + expected);

    f.doc.OnPlotToggle(ID_PLOT2_TOGGLE);  // one plot: five columns, rows closed by ";"
    out.clear();
    f.Run(0, 1).ExportHarmonics(out);
    const std::string head =
        "wykres z kana\xB3u 1\r\nnr harm;an wsp\xF3\xB3" "czynnik;bn wsp\xF3\xB3" "czynnik;hn amplituda;fin faza;\r\n"
        "0;0,000000000000000;0,000000000000000;0,500000000000000;0,000000000000000;\r\n";
    EXPECT_EQ(out.substr(0, head.size()), head);
    float amp;  // the panel's plot 2 reads plot 1 then
    int e;
    double phase, a0, an, bn;
    f.doc.GetFourierMode()->GetHarmonic(3, amp, e, phase, a0, an, bn, 2);
    EXPECT_EQ(std::tuple(amp, a0, an), std::tuple(1.0f, 0.5, 1.0));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 52);
}

// The rest of the panel's texts are the panel's test.
TEST(FourierPanel, DegreesAndSmallPhases) {
    FourierPanelValues v;
    // 1.745416 * 180 / 3.14159 = 100.005055 (with 180 / pi it would be 100.004970).
    v.m_dPhase = 1.745416;
    FormatFourierPanel(v);
    EXPECT_EQ(v.m_strPhaseRad + " " + v.m_strPhaseDeg, "1.75 100.01");
    v.m_dPhase = -0.0099;  // below 0.01 rad: 0, not "-0.00" or "-0.57"
    FormatFourierPanel(v);
    EXPECT_EQ(v.m_strPhaseRad + " " + v.m_strPhaseDeg, "0.00 0.00");
}
