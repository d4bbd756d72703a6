#include <gtest/gtest.h>

#include "data/CDataSrc.h"
#include "support/PlotFill.h"

namespace {

int Ramp(int i) { return i % 200; }
int Wave(int i) { return 20 + (i * 7) % 160; }

}  // namespace

// One time base: each plot copied with its settings, inverted first, then shifted; the
// multiplier scales the axis, not the codes. Plot 2 alone lands in the first slot with its
// own scales; with nothing on nothing changes.
TEST(DataSrc, SettingsApplyInOrderInTheirSlots) {
    CDataSrc s;
    FillPlot(s, 1, Ramp);
    FillPlot(s, 2, Wave);
    s.m_bInvert1 = 1, s.m_bOffset1 = 1, s.m_nOffset1 = 10;
    s.m_bMultiplier2 = 1, s.m_fMultiplier2 = 2.5f;
    s.Rebuild();
    // 200 - code + 10 for codes 0, 1, 199, 199.
    EXPECT_EQ(std::vector<int>({s.m_nShown1[0], s.m_nShown1[1], s.m_nShown1[199], s.m_nShown1[3999]}),
              std::vector<int>({210, 209, 11, 11}));
    EXPECT_EQ(std::vector<int>({s.m_nShown2[0], s.m_nShown2[1], s.m_nShown2[3999]}), std::vector<int>({20, 27, 173}));
    EXPECT_EQ(std::tuple(s.m_axisY1.step, s.m_axisY2.step, s.m_axisX.step), std::tuple(0.02, 0.05, 0.001));

    FillPlot(s, 2, Wave, {-2, 's', 4.0}, {-1, 'V', 6.0});
    s.m_nEnabled = 2;
    s.m_bInvert2 = 1;
    s.Rebuild();
    EXPECT_EQ(std::tuple(s.m_nShown1[7], s.m_axisY1.exponent, s.m_axisY1.step, s.m_axisX.exponent),
              std::tuple(131, -1, 15.0, -2));  // 200 - 69; 6 mV * 2.5
    s.m_nEnabled = 0;
    s.m_nRaw2[7] = 0;
    s.Rebuild();
    EXPECT_EQ(s.m_nShown1[7], 131);
}

TEST(DataSrc, FinerPlotIsAveragedWithOneZeroLineCode) {
    // Plot 1 at 1 ms per sample, plot 2 at 2 ms: plot 2 is coarser.
    CDataSrc s;
    FillPlot(s, 1, Wave, {-1, 's', 1.0});
    FillPlot(s, 2, Ramp, {-1, 's', 2.0});
    // Output o is (100 + sample 2o + sample 2o + 1) / 3: (100 + 20 + 27) / 3, (100 + 34 + 41) / 3,
    // (100 + 140 + 147) / 3, (100 + 166 + 173) / 3; beyond the finer record the zero line.
    const int outputs[] = {0, 1, 500, 1999, 2000, 3999};
    std::vector<int> shown;
    for (int o : outputs) shown.push_back(s.m_nShown1[o]);
    EXPECT_EQ(shown, std::vector<int>({49, 58, 129, 146, 100, 100}));
    EXPECT_EQ(std::pair(s.m_nShown2[0], s.m_nShown2[3999]), std::pair(0, 199));
    EXPECT_EQ(std::pair(s.m_axisX.exponent, s.m_axisX.step), std::pair(-1, 2.0));

    // Across exponents: 500 us against 1 ms is two finer samples per output, and plot 1
    // is the coarser one now.
    CDataSrc t;
    FillPlot(t, 1, Ramp, {-1, 's', 1.0});
    FillPlot(t, 2, Wave, {-2, 's', 500.0});
    // (100 + 160 + 167) / 3
    EXPECT_EQ(std::tuple(t.m_nShown2[10], t.m_nShown1[10], t.m_axisX.exponent), std::tuple(142, 10, -1));

    // Equal exponents and steps differing: the larger step wins, ties go to plot 1.
    CDataSrc u;
    FillPlot(u, 1, Ramp, {0, 's', 3.0});
    FillPlot(u, 2, Wave, {0, 's', 1.0});
    EXPECT_EQ(u.m_nShown2[0], 45);  // (100 + 20 + 27 + 34) / 4
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
