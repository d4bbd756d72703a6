#include <gtest/gtest.h>

#include "data/CDataSrc.h"
#include "support/PlotFill.h"

namespace {

int Ramp(int i) { return i % 200; }
int Wave(int i) { return 20 + (i * 7) % 160; }

}  // namespace

TEST(DataSrc, IdenticalTimeScalesCopyAndApplySettingsInOrder) {
    CDataSrc s;
    FillPlot(s, 1, Ramp);
    FillPlot(s, 2, Wave);
    s.m_bInvert1 = 1, s.m_bOffset1 = 1, s.m_nOffset1 = 10;  // inverted first, then shifted
    s.m_bMultiplier2 = 1, s.m_fMultiplier2 = 2.5f;
    s.Rebuild();
    for (int i : {0, 1, 199, 3999}) {
        EXPECT_EQ(s.m_nShown1[i], 200 - Ramp(i) + 10) << i;
        EXPECT_EQ(s.m_nShown2[i], Wave(i)) << i;  // the multiplier leaves codes alone
    }
    EXPECT_DOUBLE_EQ(s.m_axisY2.step, 0.02 * 2.5);
    EXPECT_DOUBLE_EQ(s.m_axisY1.step, 0.02);
    EXPECT_DOUBLE_EQ(s.m_axisX.step, 0.001);
}

TEST(DataSrc, FinerPlotIsAveragedWithOneZeroLineCode) {
    // Plot 1 at 1 ms per sample, plot 2 at 2 ms: plot 2 is coarser.
    CDataSrc s;
    FillPlot(s, 1, Wave, {-1, 's', 1.0});
    FillPlot(s, 2, Ramp, {-1, 's', 2.0});
    for (int o : {0, 1, 500, 1999}) EXPECT_EQ(s.m_nShown1[o], (100 + Wave(2 * o) + Wave(2 * o + 1)) / 3) << o;
    for (int o : {2000, 2001, 3999}) EXPECT_EQ(s.m_nShown1[o], 100) << o;
    for (int i : {0, 3999}) EXPECT_EQ(s.m_nShown2[i], Ramp(i));
    EXPECT_EQ(std::pair(s.m_axisX.exponent, s.m_axisX.step), std::pair(-1, 2.0));

    // Across exponents: 500 us against 1 ms is two finer samples per output, and plot 1
    // is the coarser one now.
    CDataSrc t;
    FillPlot(t, 1, Ramp, {-1, 's', 1.0});
    FillPlot(t, 2, Wave, {-2, 's', 500.0});
    EXPECT_EQ(std::tuple(t.m_nShown2[10], t.m_nShown1[10], t.m_axisX.exponent),
              std::tuple((100 + Wave(20) + Wave(21)) / 3, Ramp(10), -1));

    // Equal exponents and steps differing: the larger step wins, ties go to plot 1.
    CDataSrc u;
    FillPlot(u, 1, Ramp, {0, 's', 3.0});
    FillPlot(u, 2, Wave, {0, 's', 1.0});
    EXPECT_EQ(u.m_nShown2[0], (100 + Wave(0) + Wave(1) + Wave(2)) / 4);
}

TEST(DataSrc, SinglePlotLandsInFirstSlotWithItsSettings) {
    CDataSrc s;
    FillPlot(s, 1, Ramp);
    FillPlot(s, 2, Wave, {-2, 's', 4.0}, {-1, 'V', 5.0});
    s.m_nEnabled = 2;
    s.m_bInvert2 = 1, s.m_bMultiplier2 = 1, s.m_fMultiplier2 = 3.0f;
    s.Rebuild();
    EXPECT_EQ(std::tuple(s.m_nShown1[7], s.m_axisY1.exponent, s.m_axisY1.step, s.m_axisX.exponent),
              std::tuple(200 - Wave(7), -1, 15.0, -2));

    // Nothing on: nothing changes.
    s.m_nEnabled = 0;
    s.m_nRaw2[7] = 0;
    s.Rebuild();
    EXPECT_EQ(s.m_nShown1[7], 200 - Wave(7));
}

TEST(DataSrc, NegativeMultiplierBecomesInversion) {
    CDataSrc s;
    PlotSettings ps;
    ps.bEnabled = 1, ps.bMultiplier = 1, ps.fMultiplier = -2.0f, ps.crColour = RGB(1, 2, 3);
    s.SetPlotSettings(ps, 1);
    // The caller's record learns it too.
    EXPECT_EQ(std::tuple(ps.fMultiplier, ps.bInvert, s.m_fMultiplier1, s.m_bInvert1, s.m_nEnabled),
              std::tuple(2.0f, 1, 2.0f, 1, 1));

    // Without the multiplier ticked a negative value is kept as it is.
    PlotSettings off;
    off.bMultiplier = 0, off.fMultiplier = -2.0f;
    s.SetPlotSettings(off, 2);
    EXPECT_EQ(std::pair(s.m_fMultiplier2, s.m_bInvert2), std::pair(-2.0f, 0));

    PlotSettings back;
    s.GetPlotSettings(back, 1);
    EXPECT_EQ(std::pair(back.bEnabled, back.crColour), std::pair(1, RGB(1, 2, 3)));
    s.m_nEnabled = 3;
    s.GetPlotSettings(back, 2);
    EXPECT_EQ(back.bEnabled, 2);  // the bit unshifted
}
