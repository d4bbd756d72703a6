// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "document/CKivDoc.h"
#include "support/PlotFill.h"

namespace {

using V = std::vector<int>;
int Ramp(int i) { return i % 200; }
int Wave(int i) { return 20 + (i * 7) % 160; }

std::tuple<int, int, int, int> Window(const CData& m) {
    return {m.m_window.left, m.m_window.top, m.m_window.right, m.m_window.bottom};
}

}  // namespace

// One time base: each plot copied with its settings, inverted first, then shifted; the
// multiplier scales the axis, not the codes. Plot 2 alone lands in the first slot with its
// own scales; with nothing on nothing changes. Then how settings are stored and read.
TEST(DataSrc, SettingsApplyInOrderInTheirSlots) {
    CDataSrc s;
    FillPlot(s, 1, Ramp);
    FillPlot(s, 2, Wave);
    s.m_bInvert1 = 1, s.m_bOffset1 = 1, s.m_nOffset1 = 10;
    s.m_bMultiplier2 = 1, s.m_fMultiplier2 = 2.5f;
    s.Rebuild();
    // 200 - code + 10 for codes 0, 1, 199, 199.
    EXPECT_EQ(V({s.m_nShown1[0], s.m_nShown1[1], s.m_nShown1[199], s.m_nShown1[3999]}), V({210, 209, 11, 11}));
    EXPECT_EQ(V({s.m_nShown2[0], s.m_nShown2[1], s.m_nShown2[3999]}), V({20, 27, 173}));
    EXPECT_EQ(std::tuple(s.m_axisY1.step, s.m_axisY2.step, s.m_axisX.step), std::tuple(0.02, 0.05, 0.001));

    FillPlot(s, 2, Wave, {-2, 's', 4.0}, {-1, 'V', 6.0});
    s.m_nEnabled = 2, s.m_bInvert2 = 1;
    s.Rebuild();
    EXPECT_EQ(std::tuple(s.m_nShown1[7], s.m_axisY1.exponent, s.m_axisY1.step, s.m_axisX.exponent),
              std::tuple(131, -1, 15.0, -2));  // 200 - 69; 6 mV * 2.5
    s.m_nEnabled = 0, s.m_nRaw2[7] = 0;
    s.Rebuild();
    EXPECT_EQ(s.m_nShown1[7], 131);

    // A negative multiplier with its box ticked is stored as its magnitude with the invert
    // flag toggled (here to off); the caller's record learns it too.
    PlotSettings ps;
    ps.bEnabled = 1, ps.bInvert = 1, ps.bMultiplier = 1, ps.fMultiplier = -2.0f, ps.crColour = MakeColour(1, 2, 3);
    s.SetPlotSettings(ps, 1);
    EXPECT_EQ(std::tuple(ps.fMultiplier, ps.bInvert, s.m_fMultiplier1, s.m_bInvert1, s.m_nEnabled),
              std::tuple(2.0f, 0, 2.0f, 0, 1));

    // Without the multiplier ticked a negative value is kept as it is.
    PlotSettings off;
    off.bMultiplier = 0, off.fMultiplier = -2.0f;
    s.SetPlotSettings(off, 2);
    EXPECT_EQ(std::pair(s.m_fMultiplier2, s.m_bInvert2), std::pair(-2.0f, 0));

    PlotSettings back;
    s.GetPlotSettings(back, 1);
    EXPECT_EQ(std::pair(back.bEnabled, back.crColour), std::pair(1, MakeColour(1, 2, 3)));
    s.m_nEnabled = 3;
    s.GetPlotSettings(back, 2);
    EXPECT_EQ(back.bEnabled, 2);  // the bit unshifted
}

TEST(DataSrc, FinerPlotIsAveragedWithOneZeroLineCode) {
    // Plot 1 at 1 ms per sample, plot 2 at 2 ms: plot 2 is coarser.
    CDataSrc s;
    FillPlot(s, 1, Wave, {-1, 's', 1.0});
    FillPlot(s, 2, Ramp, {-1, 's', 2.0});
    // Output o is (100 + sample 2o + sample 2o + 1) / 3: (100 + 20 + 27) / 3, (100 + 34 + 41) / 3,
    // (100 + 140 + 147) / 3, (100 + 166 + 173) / 3; beyond the finer record the zero line.
    const int32_t* shown = s.m_nShown1;
    EXPECT_EQ(V({shown[0], shown[1], shown[500], shown[1999], shown[2000], shown[3999]}),
              V({49, 58, 129, 146, 100, 100}));
    EXPECT_EQ(V({s.m_nShown2[0], s.m_nShown2[3999]}), V({0, 199}));
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

TEST(FloatConstants, WidenedNotNarrowed) {
    // h = 200, y = 200 in the zoom: 199.99999..., not 200.
    EXPECT_EQ(Trunc(MulF(200.0 * 200, 0.005f)), 199);
    // Render scale on 800 x 600: code 100 lands at y = 286.
    const float sy = static_cast<float>(MulF(530, 0.005f));
    EXPECT_EQ(550 - Trunc(100 * static_cast<double>(sy)), 286);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(1e300), 2147483647);
}

// Plot 2 alone: shown in the first slot, in plot 1's colour of the original plot.
TEST(Data, ZoomWindowRules) {
    CKivDoc doc;
    FillPlot(doc.Source(), 2, Ramp);
    CData* m = doc.GetCurrentMode();
    m->GetDisplaySamples(1);
    EXPECT_EQ(m->GetColour(2), MakeColour(50, 150, 255));
    EXPECT_EQ(m->GetAxisLabels(0)[10], "4.00 ");  // 4000 samples of 1 ms
    EXPECT_EQ(Window(*m), std::tuple(0, 0, 4000, 200));
    EXPECT_FALSE(m->IsZoomed());

    // Full-height drag: the float 0.005 makes the bottom 199.
    m->ZoomTo(1000, 0, 3000, 200);
    EXPECT_EQ(Window(*m), std::tuple(1000, 0, 3000, 199));
    EXPECT_TRUE(m->IsZoomed());
    // Display point 199 lies at sample 1099.5 and reads the lower one, code 99, which the
    // window 1..200 maps to (99 - 1) * 200 / 199 = 98.49: 98. Point 100: code 50, 49.24.
    EXPECT_EQ(std::pair(m->m_nDisp1[199], m->m_nDisp1[100]), std::pair(98, 49));

    // A drag of 4 units either way leaves the window alone.
    m->ZoomTo(100, 10, 104, 100);
    m->ZoomTo(100, 10, 3000, 14);
    EXPECT_EQ(Window(*m), std::tuple(1000, 0, 3000, 199));

    // Vertical window 50..150 stretched onto 0..200.
    m->ZoomTo(0, 50, 4000, 150);
    EXPECT_EQ(std::pair(m->m_window.top, m->m_window.bottom), std::pair(49, 149));

    // A click without a drag restores everything.
    m->ZoomTo(7, 7, 7, 7);
    EXPECT_EQ(Window(*m), std::tuple(0, 0, 4000, 200));
    EXPECT_EQ(std::tuple(m->m_nDisp1[0], m->m_nDisp1[1234], m->m_nDisp1[3999]), std::tuple(0, 34, 199));
}

TEST(Data, ReadOutsThroughTheWindow) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return i < 2000 ? 150 : 75; }, {-1, 's', 0.5}, {-1, 'V', 20.0});
    CData* m = doc.GetCurrentMode();
    m->GetDisplaySamples(1);
    float v, a, b;
    int e, i1, i2;
    m->ValueAt(10, v, e, 1);
    EXPECT_EQ(std::pair(v, e), std::pair(1000.0f, -1));  // (150 - 100) * 20 mV

    doc.m_nCursor1 = 2000, doc.m_nCursor2 = 4000;  // cursor 2 reads sample 3999
    m->CursorValues(a, b, e, 1);
    EXPECT_EQ(std::pair(a, b), std::pair(-500.0f, -500.0f));
    m->CursorValues(a, b, e, 3);
    EXPECT_EQ(std::pair(a, b), std::pair(1000.0f, 2000.0f));
    m->CursorRawValues(a, b, i1, i2, e, 3);
    EXPECT_EQ(std::pair(i2, b), std::pair(3999, 1999.5f));
    m->CursorRawValues(a, b, i1, i2, e, 1);
    EXPECT_EQ(a, 1500.0f);  // display code 75 times 20

    // Zoomed to the second half: cursor 2000 of the window is sample 3000, 1500 ms.
    m->ZoomTo(2000, 0, 4000, 100);
    m->CursorValues(a, b, e, 3);
    EXPECT_FLOAT_EQ(a, 1500.0f);

    // Reading the scale into the dialog is no edit (the view marks the document when OK applies it).
    AxisWindowInfo info;
    m->GetAxisInfo(info, 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(std::pair(info.min, info.max), std::pair(1, 100));  // the zoom above left bottom at 99
    info.max = 50, info.min = -50;
    m->SetAxisWindow(info, 1);
    EXPECT_EQ(std::pair(m->m_window.top, m->m_window.bottom), std::pair(50, 150));
}

// Start, step, divisions, exponent, with decimals, the labels.
TEST(Data, LabelTexts) {
    const std::tuple<float, float, int, int, bool, std::vector<std::string>> cases[] = {
        {0.0f, 0.625f, 8, 0, true, {"0.00 ", "0.63 ", "1.25 ", "1.88 ", "2.50 ", "3.13 ", "3.75 ", "4.38 ", "5.00 "}},
        // Up to 1500 at exponent -1: labelled at exponent 0.
        {0.0f, 187.5f, 8, -1, true, {"0.00 ", "0.19 ", "0.38 ", "0.56 ", "0.75 ", "0.94 ", "1.13 ", "1.31 ", "1.50 "}},
        // Negative ones keep a leading zero.
        {-0.5f, 1.0f, 8, 0, true, {"-0.50 ", "0.50 ", "1.50 ", "2.50 ", "3.50 ", "4.50 ", "5.50 ", "6.50 ", "7.50 "}},
        {0.0f, 0.0025f, 2, 0, true, {"0.00m", "2.50m", "5.00m"}},  // small values climb down to milli
        {0.0f, 3.7f, 1, 0, false, {"0 ", "4 "}},                    // without decimals: whole numbers
        {0.0f, 0.0f, 8, 0, true, std::vector<std::string>(9, "0.000 ")},  // an all-zero range ends
    };
    for (const auto& [start, step, count, exponent, decimals, labels] : cases) {
        std::string l[11];
        CData::FormatLabels(l, start, step, count, exponent, decimals);
        EXPECT_EQ(std::vector<std::string>(l, l + count + 1), labels) << step;
    }
}

