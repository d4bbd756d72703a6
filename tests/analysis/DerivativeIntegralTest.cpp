#include <gtest/gtest.h>

#include <algorithm>

#include "data/CKivDoc.h"
#include "support/PlotFill.h"

namespace {

const AxisScale kTime{-1, 's', 0.5};  // 0.5 ms per sample
const AxisScale kVolt{0, 'V', 0.02};

CData& Computed(CKivDoc& doc, int mode) {
    doc.m_modes[mode]->Recalculate();
    return *doc.m_modes[mode];
}

}  // namespace

// Slope r: every average is r, so code 200 (falling: -100 + 0.5 truncates to -99, code
// 1) and step r * Y.step / X.step / 100.
TEST(Derivative, RampsSingleRaisedSampleAndFlat) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 3 * i; }, kTime, kVolt);
    FillPlot(doc.Source(), 2, [](int i) { return 4000 - i; }, kTime, {-1, 'V', 5.0});
    CData& m = Computed(doc, kModeDerivative);
    for (int i = 0; i < kSamples; ++i) ASSERT_TRUE(m.m_nCalc1[i] == 200 && m.m_nCalc2[i] == 1) << i;
    EXPECT_NEAR(m.m_scaleY1.step, 3 * 0.02 / 0.5 / 100, 1e-15);
    EXPECT_NEAR(m.m_scaleY2.step, 5.0 / 0.5 / 100, 1e-14);
    EXPECT_TRUE(m.m_scaleY1.exponent == 1 && m.m_scaleY2.exponent == 0 && m.m_scaleX.step == 0.5);

    // Inner value i is (s[i+11] - s[i-10]) / 21: +90/21 at 1989, -90/21 at 2010. Only
    // plot 2 on: its codes, scale and colour.
    FillPlot(doc.Source(), 2, [](int i) { return i == 2000 ? 190 : 100; }, kTime, kVolt);
    doc.OnPlotToggle(ID_PLOT1_TOGGLE);
    Computed(doc, kModeDerivative);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(m.m_nCalc1[i], i == 1989 ? 200 : i == 2010 ? 1 : 100) << i;
    EXPECT_NEAR(m.m_scaleY1.step, 90.0 / 21 * 0.02 / 0.5 / 100, 1e-15);
    EXPECT_TRUE(m.m_crColour1 == doc.Source().m_crColour2 && m.m_crColour2 == doc.Source().m_crColour2);

    // Flat: reads 0 everywhere, the step stays unscaled.
    FillPlot(doc.Source(), 2, [](int) { return 137; }, kTime, kVolt);
    Computed(doc, kModeDerivative);
    EXPECT_TRUE(std::all_of(m.m_nCalc1, m.m_nCalc1 + kSamples, [](int c) { return c == 100; }));
    EXPECT_EQ(m.m_scaleY1.step, 0.02 / 0.5);
}

// Constant 150: area 50 (k + 1) up to k = 3997, largest 199900, so code
// 100 + round(100 (k + 1) / 3998); the last two repeat the one before. Flat: 100.
TEST(Integral, ConstantRisesLinearlyAndFlatReadsZero) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, kTime, kVolt);
    FillPlot(doc.Source(), 2, [](int) { return 100; }, kTime, {-1, 'V', 5.0});
    CData& m = Computed(doc, kModeIntegral);
    for (int i = 0; i < kSamples; ++i) {
        const int k = std::min(i, 3997);
        ASSERT_TRUE(m.m_nCalc1[i] == 100 + (200 * (k + 1) + 3998) / (2 * 3998) && m.m_nCalc2[i] == 100) << i;
    }
    EXPECT_EQ(m.m_nCalc1[3999], 200);
    EXPECT_NEAR(m.m_scaleY1.step, 0.02 * 0.5 * 199900 / 100, 1e-12);
    EXPECT_TRUE(m.m_scaleY1.exponent == -1 && m.m_scaleY2.exponent == -2 && m.m_scaleY2.step == 5.0 * 0.5);
}
