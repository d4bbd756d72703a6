#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/CDataFourier.h"
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

// The transform summed term by term with sin and cos, no tables, no angle reduction.
struct Direct {
    double amp[kHarmonics], a[kHarmonics], b[kHarmonics], top = 0;
    Direct(const int32_t* codes, double step, int i1, int i2) {
        const int K = kHarmonics, M = i2 - i1 + 1;
        const double w = 6.283185307179586;
        double C[K] = {}, S[K] = {}, Cm[K] = {}, Sm[K] = {};
        for (int k = 0; k < K; ++k)
            for (int i = i1; i < i2; ++i) {
                const double x = (codes[i] - 100) * step, m = M - K + k;
                C[k] += x * std::cos(w * k * i / M), S[k] += x * -std::sin(w * k * i / M);
                Cm[k] += x * std::cos(w * m * i / M), Sm[k] += x * -std::sin(w * m * i / M);
            }
        amp[0] = std::hypot(S[0], C[0]) / M;
        for (int k = 1; k < K; ++k) {
            a[k] = (Cm[K - k] + C[k]) / M, b[k] = (S[k] - Sm[K - k]) / M;
            amp[k] = std::hypot(a[k], b[k]);
        }
        top = *std::max_element(amp, amp + K);
    }
};

}  // namespace

// A constant x: DC x N / M, each harmonic 2|x| / M. With i1 = 0 the one sample missing
// from the basis period puts harmonic k at -2x (cos, sin)(2 pi k / M) / M.
TEST(Fourier, ConstantPlot) {
    FourierDoc f;
    FillPlot(f.doc.Source(), 1, [](int) { return 150; });  // 1 V
    CDataFourier& m = f.Run(0, 4000);
    EXPECT_EQ(m.m_nHarm1[0], 200);
    EXPECT_NEAR(m.m_scaleY1.step, 3999.0 / 4000 / 200, 1e-15);
    for (int k = 1; k < kHarmonics; ++k)  // 0.0005 < 0.5 % of 0.99975: no bar, no phase
        EXPECT_TRUE(m.m_nHarm1[k] == 0 && m.m_dA1[k] == 0 && m.m_dB1[k] == 0 && m.m_dPhase1[k] == 0) << k;
    EXPECT_TRUE(m.m_scaleX.exponent == 0 && m.m_scaleX.unit == 'H' && m.m_scaleX.step == 0.0125);

    f.Run(100, 0);  // swapped: samples 0..99, M = 101
    for (int k = 1; k < kHarmonics; ++k) {
        EXPECT_EQ(m.m_nHarm1[k], 4) << k;  // (2 / 101) / (100 / 101) of 200
        const double angle = 2 * kPi * k / 101;
        EXPECT_NEAR(m.m_dA1[k], -2 * std::cos(angle) / 101, 1e-14);
        EXPECT_NEAR(m.m_dB1[k], -2 * std::sin(angle) / 101, 1e-14);
        EXPECT_NEAR(m.m_dPhase1[k], angle - kPi, 1e-12);
    }
    float amp;
    int e;
    double phase, a0, an, bn;
    m.GetHarmonic(0, amp, e, phase, a0, an, bn, 2);  // one plot: plot 2 reads plot 1
    EXPECT_TRUE(amp == (float)(200 * m.m_scaleY1.step) && std::fabs(a0 - 100.0 / 101) < 1e-12);
}

// Five whole periods of cos(theta + pi/4) over cursors 0 and 4000 (M = 4000).
TEST(Fourier, CosineWithWholePeriods) {
    FourierDoc f;
    auto wave = [](int i) { return 100 + (int)std::floor(100 * std::cos(2 * kPi * 5 * i / 4000 + kPi / 4) + 0.5); };
    FillPlot(f.doc.Source(), 1, wave, {0, 's', 0.001}, {0, 'V', 0.01});
    CDataFourier& m = f.Run(0, 4000);
    EXPECT_EQ(m.m_nHarm1[5], 200);
    EXPECT_NEAR(m.m_scaleY1.step * 200, 1.0, 0.002);
    EXPECT_NEAR(m.m_dPhase1[5], kPi / 4, 0.002);
    EXPECT_NEAR(m.m_dA1[5], std::sqrt(0.5), 0.002);
    EXPECT_NEAR(m.m_dB1[5], std::sqrt(0.5), 0.002);
    for (int k = 0; k < kHarmonics; ++k) EXPECT_TRUE(k == 5 || m.m_nHarm1[k] <= 1) << k;
}

TEST(Fourier, TwoPlotsMatchTheDirectSums) {
    FourierDoc f;
    CDataSrc& s = f.doc.Source();
    FillPlot(s, 1, [](int i) { return 100 + (int)(60 * std::sin(i * 0.013) + 25 * std::cos(i * 0.171)); });
    FillPlot(s, 2, [](int i) { return (i / 37) % 3 ? 160 : 20; }, {0, 's', 0.001}, {-1, 'V', 5.0});
    for (auto [lo, hi] : {std::pair{0, 3999}, std::pair{123, 3877}}) {
        CDataFourier& m = f.Run(hi == 3999 ? 4000 : hi, lo);
        const Direct d[2] = {{s.m_nShown1, 0.02, lo, hi}, {s.m_nShown2, 5.0, lo, hi}};
        const int32_t* harm[2] = {m.m_nHarm1, m.m_nHarm2};
        const double *a[2] = {m.m_dA1, m.m_dA2}, *b[2] = {m.m_dB1, m.m_dB2};
        for (int p = 0; p < 2; ++p) {
            const double tol = 1e-9 * d[p].top;
            EXPECT_NEAR((p ? m.m_scaleY2 : m.m_scaleY1).step, d[p].top / 200, tol);
            for (int k = 0; k < kHarmonics; ++k) {
                EXPECT_EQ(harm[p][k], (int)std::floor(d[p].amp[k] * 200 / d[p].top + 0.5)) << p << " " << k;
                const bool kept = k > 0 && d[p].amp[k] >= 0.005 * d[p].top;
                EXPECT_NEAR(a[p][k], kept ? d[p].a[k] : 0, tol);
                EXPECT_NEAR(b[p][k], kept ? d[p].b[k] : 0, tol);
            }
        }
    }
}

TEST(Fourier, MessagesAndProgress) {
    FourierDoc f;
    FillPlot(f.doc.Source(), 1, [](int i) { return 100 + i % 7; });
    auto& boxes = f.host.messages.boxes;
    auto& events = f.host.progress.events;
    CDataFourier& m = f.Run(4000, 3999);  // 4000 counts as 3999: nothing computed, not ready
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Kursory pokrywanją się. Zmień pozycję kursorów ");
    EXPECT_TRUE(m.m_bReady == 0 && events.empty() && m.m_nHarm1[0] == 0);

    f.Run(3, 100);  // 97 samples warn and still compute; 98 do not warn
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text,
              "Liczba próbek jest za mała do przeprowadzenia analizy widmowej, ustaw większy przedział czasu./n "
              "Otrzymane dane nie bedą poprawne");
    EXPECT_EQ(boxes[1].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(m.m_bReady == 1 && m.m_nHarm1[0] != 0);
    events.clear();
    f.Run(3, 101);
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(events, (std::vector<std::string>{"open:oblicznie DFT ", "10", "20", "50", "90", "100", "close"}));
    FillPlot(f.doc.Source(), 2, [](int) { return 100; });
    events.clear();
    f.Run(3, 101);
    EXPECT_EQ(events, (std::vector<std::string>{"open:oblicznie DFT ", "10", "20", "40", "90", "100", "close"}));
    EXPECT_EQ(m.m_pProgress, nullptr);
}

// Flat at the zero line: no bars and every read-out 0; the axis keeps its step.
TEST(Fourier, FlatPlotAndNoPlot) {
    FourierDoc f;
    FillPlot(f.doc.Source(), 1, [](int) { return 100; });
    CDataFourier& m = f.Run(0, 4000);
    float amp;
    int e;
    double phase, a0, an, bn;
    for (int k = 0; k < kHarmonics; ++k) {
        m.GetHarmonic(k, amp, e, phase, a0, an, bn, 1);
        EXPECT_TRUE(m.m_nHarm1[k] == 0 && amp == 0 && a0 == 0 && an == 0 && bn == 0 && phase == 0) << k;
    }
    EXPECT_EQ(m.m_scaleY1.step, 0.02);

    FourierDoc none;
    std::string out;
    none.Run(0, 4000).ExportHarmonics(out);
    EXPECT_TRUE(none.doc.GetFourierMode()->m_bReady == 1 && none.host.progress.events.empty() && out.empty());
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
        "wykres z kana\xB3u 1\r\nnr harm;an wsp\xF3\xB3" "czynnik;bn wsp\xF3\xB3" "czynnik;hn amplituda;fin faza;\r\n";
    const std::string row49 = "49;1,000000000000000;0,000000000000000;1,000000000000000;0,000000000000000;\r\n";
    EXPECT_EQ(out.substr(0, head.size()), head);
    EXPECT_EQ(out.substr(out.size() - row49.size()), row49);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 52);
}
