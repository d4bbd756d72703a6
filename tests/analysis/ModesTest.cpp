#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data/CKivDoc.h"
#include "support/PlotFill.h"

namespace {

const AxisScale kTime{-1, 's', 0.5};  // 0.5 ms per sample
const AxisScale kVolt{0, 'V', 0.02};
int Wave1(int i) { return 100 + (int)(45 * std::sin(i * 0.01)); }
int Wave2(int i) { return 100 + (int)(50 * std::cos(i * 0.023)); }

CData& Computed(CKivDoc& doc, int mode) {
    doc.m_modes[mode]->Recalculate();
    return *doc.m_modes[mode];
}

bool All(const int32_t* codes, int code) {
    return std::all_of(codes, codes + kSamples, [code](int c) { return c == code; });
}

}  // namespace

// Slope r: every average is r, so code 200 (falling: -100 + 0.5 truncates to -99, code
// 1) and step r * Y.step / X.step / 100, each plot with its own M.
TEST(Derivative, RampsSingleRaisedSampleAndFlat) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 3 * i; }, kTime, kVolt);
    FillPlot(doc.Source(), 2, [](int i) { return 4000 - i; }, kTime, {-1, 'V', 5.0});
    CData& m = Computed(doc, kModeDerivative);
    EXPECT_EQ(std::pair(All(m.m_nCalc1, 200), All(m.m_nCalc2, 1)), std::pair(true, true));
    EXPECT_NEAR(m.m_scaleY1.step, 3 * 0.02 / 0.5 / 100, 1e-15);
    EXPECT_NEAR(m.m_scaleY2.step, 5.0 / 0.5 / 100, 1e-14);
    EXPECT_EQ(std::pair(m.m_scaleY1.exponent, m.m_scaleY2.exponent), std::pair(1, 0));

    // Inner value i is (s[i+11] - s[i-10]) / 21: +90/21 at 1989, -90/21 at 2010. Only
    // plot 2 on: its codes, scale and colour.
    FillPlot(doc.Source(), 2, [](int i) { return i == 2000 ? 190 : 100; }, kTime, kVolt);
    doc.OnPlotToggle(ID_PLOT1_TOGGLE);
    Computed(doc, kModeDerivative);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(m.m_nCalc1[i], i == 1989 ? 200 : i == 2010 ? 1 : 100) << i;
    EXPECT_EQ(std::pair(m.m_crColour1, m.m_crColour2), std::pair(RGB(255, 0, 128), RGB(255, 0, 128)));

    FillPlot(doc.Source(), 2, [](int) { return 137; }, kTime, kVolt);  // flat: reads 0, step not rescaled
    Computed(doc, kModeDerivative);
    EXPECT_EQ(std::pair(All(m.m_nCalc1, 100), m.m_scaleY1.step), std::pair(true, 0.04));
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

// Identical scales, then plot 2 in mV at 1000 times plot 1's step (plot 1 stays the
// reference; plot 2's codes, divided by 1000 and multiplied by 1000, enter unchanged):
// code1 + code2 - 100, or - 99 below the zero line (the half added before truncation
// toward zero). Within 100 codes of the zero line nothing is rescaled.
TEST(SumAndXY, ReferencePlotConversionAndCopies) {
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
    // Equal exponents, plot 2's step twice plot 1's: plot 2 (120) is the reference, plot 1
    // enters halved: 45 -> 23, -45 -> -22, -1 -> 0, 1 -> 1, 3 -> 2, -3 -> -1.
    const int codes1[] = {145, 55, 99, 101, 103, 97};
    FillPlot(s, 1, [&](int i) { return codes1[i % 6]; }, kTime, kVolt);
    FillPlot(s, 2, [](int) { return 120; }, kTime, {0, 'V', 0.04});
    CData& m = Computed(doc, kModeSum);
    EXPECT_EQ(std::vector<int>(m.m_nCalc1 + 3990, m.m_nCalc1 + 3996), std::vector<int>({143, 98, 120, 121, 122, 119}));
    EXPECT_EQ(std::tuple(m.m_nCalc2[3991], m.m_scaleY1.step), std::tuple(55, 0.04));
    FillPlot(s, 1, Wave1, kTime, kVolt);
    FillPlot(s, 2, Wave2, kTime, {0, 'V', 0.04});

    CData& xy = Computed(doc, kModeXY);  // plot 1 vertical, plot 2 horizontal, as they are
    for (int i = 0; i < kSamples; ++i)
        ASSERT_EQ(std::pair(xy.m_nCalc1[i], xy.m_nCalc2[i]), std::pair(Wave1(i), Wave2(i))) << i;
    EXPECT_EQ(std::tuple(xy.m_scaleY2.step, xy.m_window.right, xy.m_crColour2), std::tuple(0.04, 200, s.m_crColour2));
    // Plot 2's codes -100..100 across 8 divisions of 1 V.
    EXPECT_EQ(xy.GetAxisLabels(0)[1] + xy.GetAxisLabels(0)[8], "-3.00 4.00 ");
}

// 100 * 100 = 10000 codes from the zero line, shrunk by 100 to code 200.
TEST(Product, IntegerProductRescaledAndKeptWhenUnavailable) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 200; }, kTime, kVolt);
    FillPlot(doc.Source(), 2, [](int i) { return i < 2000 ? 200 : 100; }, kTime, {-1, 'A', 3.0});
    CData& m = Computed(doc, kModeProduct);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(m.m_nCalc1[i], i < 2000 ? 200 : 100) << i;
    EXPECT_NEAR(m.m_scaleY1.step, 100 * 0.02 * 3.0, 1e-12);
    EXPECT_EQ(std::tuple(m.m_scaleY1.exponent, m.m_scaleY1.unit, m.m_nCalc2[0], m.m_crColour2),
              std::tuple(-1, 'V', 200, RGB(50, 150, 255)));

    doc.OnPlotToggle(ID_PLOT2_TOGGLE);  // one plot: the last result stays
    m.m_nCalc1[5] = 77;
    EXPECT_EQ(Computed(doc, kModeProduct).m_nCalc1[5], 77);
    EXPECT_EQ(m.m_bReady, 1);
}
