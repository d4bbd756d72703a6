#include <gtest/gtest.h>

#include <cmath>

#include "data/CKivDoc.h"
#include "support/PlotFill.h"

namespace {

const AxisScale kTime{0, 's', 0.001};
int Wave1(int i) { return 100 + (int)(45 * std::sin(i * 0.01)); }
int Wave2(int i) { return 100 + (int)(50 * std::cos(i * 0.023)); }

CData& Computed(CKivDoc& doc, int mode) {
    doc.m_modes[mode]->Recalculate();
    return *doc.m_modes[mode];
}

}  // namespace

TEST(XY, CopiesBothPlotsAndIdenticalPlotsGiveTheDiagonal) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, Wave1, kTime, {0, 'V', 0.02});
    FillPlot(doc.Source(), 2, Wave1, kTime, {-1, 'V', 7.0});
    CData& m = Computed(doc, kModeXY);
    for (int i = 0; i < kSamples; ++i)
        ASSERT_TRUE(m.m_nCalc1[i] == Wave1(i) && m.m_nCalc2[i] == Wave1(i) && m.m_nDisp1[i] == m.m_nDisp2[i]) << i;
    EXPECT_TRUE(m.m_scaleY2.step == 7.0 && m.m_window.right == 200 && m.m_crColour2 == doc.Source().m_crColour2);
}

TEST(Sum, ReferencePlotAndConversion) {
    CKivDoc doc;
    CDataSrc& s = doc.Source();
    // Identical scales: code2 - 100 + 0.5 truncates toward zero, one code up below 100.
    FillPlot(s, 1, Wave1, kTime, {0, 'V', 0.02});
    FillPlot(s, 2, Wave2, kTime, {0, 'V', 0.02});
    CData& m = Computed(doc, kModeSum);
    for (int i = 0; i < kSamples; ++i) {
        const int c1 = Wave1(i), c2 = Wave2(i);
        ASSERT_TRUE(m.m_nCalc1[i] == c1 + c2 - (c2 >= 100 ? 100 : 99) && m.m_nCalc2[i] == c2) << i;
    }
    EXPECT_TRUE(m.m_scaleY1.step == 0.02 && m.m_crColour2 == s.m_crColour1);

    // Plot 2 in mV at 1000 times plot 1's step: plot 1 is the reference, and plot 2's
    // codes, divided by 1000 and multiplied by 1000, enter as they are.
    FillPlot(s, 2, Wave2, kTime, {-1, 'V', 20.0});
    Computed(doc, kModeSum);
    for (int i = 0; i < kSamples; ++i)
        ASSERT_EQ(m.m_nCalc1[i], Wave1(i) + Wave2(i) - (Wave2(i) >= 100 ? 100 : 99)) << i;
    EXPECT_EQ(m.m_scaleY2.exponent, -1);

    // Equal exponents, plot 2's step twice plot 1's: plot 2 is the reference.
    FillPlot(s, 2, Wave2, kTime, {0, 'V', 0.04});
    Computed(doc, kModeSum);
    for (int i = 0; i < kSamples; ++i)
        ASSERT_TRUE(m.m_nCalc1[i] == Wave2(i) + (int)((Wave1(i) - 100) * 0.5 + 0.5) && m.m_nCalc2[i] == Wave1(i)) << i;
    EXPECT_EQ(m.m_scaleY1.step, 0.04);
}

TEST(Product, IntegerProductAndRescaling) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 200; }, kTime, {0, 'V', 0.02});
    FillPlot(doc.Source(), 2, [](int i) { return i < 2000 ? 200 : 100; }, kTime, {-1, 'A', 3.0});
    CData& m = Computed(doc, kModeProduct);
    // 100 * 100 = 10000 codes from the zero line, shrunk by 100 to code 200.
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(m.m_nCalc1[i], i < 2000 ? 200 : 100) << i;
    EXPECT_NEAR(m.m_scaleY1.step, 100 * 0.02 * 3.0, 1e-12);
    EXPECT_TRUE(m.m_scaleY1.exponent == -1 && m.m_scaleY1.unit == 'V' && m.m_nCalc2[0] == 200);
    EXPECT_EQ(m.m_crColour2, doc.Source().m_crColour1);

    // Within 100 codes nothing is rescaled: 10 * -7 = -70.
    FillPlot(doc.Source(), 1, [](int) { return 110; }, kTime, {0, 'V', 0.02});
    FillPlot(doc.Source(), 2, [](int) { return 93; }, kTime, {0, 'V', 0.5});
    Computed(doc, kModeProduct);
    EXPECT_TRUE(m.m_nCalc1[5] == 30 && m.m_scaleY1.step == 0.5 * 0.02);

    doc.OnPlotToggle(ID_PLOT2_TOGGLE);  // not available: the last result stays
    m.m_nCalc1[5] = 77;
    EXPECT_EQ(Computed(doc, kModeProduct).m_nCalc1[5], 77);
}
