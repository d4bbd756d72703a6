#include <gtest/gtest.h>

#include "data/CKivDoc.h"
#include "support/PlotFill.h"

namespace {

int Ramp(int i) { return i % 200; }

std::tuple<int, int, int, int> Window(const CData& m) {
    return {m.m_window.left, m.m_window.top, m.m_window.right, m.m_window.bottom};
}

}  // namespace

TEST(FloatConstants, WidenedNotNarrowed) {
    // h = 200, y = 200 in the zoom: 199.99999..., not 200.
    EXPECT_EQ(Trunc(MulF(200.0 * 200, 0.005f)), 199);
    // Render scale on 800 x 600: code 100 lands at y = 286.
    const float sy = static_cast<float>(MulF(530, 0.005f));
    EXPECT_EQ(550 - Trunc(100 * static_cast<double>(sy)), 286);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(1e300), 2147483647);
}

TEST(Data, ZoomWindowRules) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, Ramp);
    CData* m = doc.GetCurrentMode();
    m->GetDisplaySamples(1);
    EXPECT_EQ(Window(*m), std::tuple(0, 0, 4000, 200));
    EXPECT_FALSE(m->IsZoomed());

    // Full-height drag: the float 0.005 makes the bottom 199.
    m->ZoomTo(1000, 0, 3000, 200);
    EXPECT_EQ(Window(*m), std::tuple(1000, 0, 3000, 199));
    EXPECT_TRUE(m->IsZoomed());
    // Nearest lower sample: i = 2 reads sample 1001.
    EXPECT_EQ(m->m_nDisp1[2], Trunc((Ramp(1001) + 199 - 200) * 200.0 / 199));

    // A drag of 4 units either way leaves the window alone.
    m->ZoomTo(100, 10, 104, 100);
    m->ZoomTo(100, 10, 3000, 14);
    EXPECT_EQ(Window(*m), std::tuple(1000, 0, 3000, 199));

    // Vertical window 50..150 stretched onto 0..200.
    m->ZoomTo(0, 50, 4000, 150);
    EXPECT_EQ(std::pair(m->m_window.top, m->m_window.bottom), std::pair(49, 149));

    // A click without a drag restores everything.
    m->ZoomTo(7, 7, 7, 7);
    EXPECT_FALSE(m->IsZoomed());
    EXPECT_EQ(Window(*m), std::tuple(0, 0, 4000, 200));
    for (int i : {0, 1234, 3999}) EXPECT_EQ(m->m_nDisp1[i], Ramp(i));
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

    doc.m_nCursor1 = 2000;
    doc.m_nCursor2 = 4000;  // reads sample 3999
    m->CursorValues(a, b, e, 1);
    EXPECT_EQ(std::pair(a, b), std::pair(-500.0f, -500.0f));
    m->CursorValues(a, b, e, 3);
    EXPECT_EQ(std::pair(a, b), std::pair(1000.0f, 2000.0f));
    m->CursorRawValues(a, b, i1, i2, e, 3);
    EXPECT_EQ(std::pair(i2, b), std::pair(3999, 3999 * 0.5f));
    m->CursorRawValues(a, b, i1, i2, e, 1);
    EXPECT_FLOAT_EQ(a, 75 * 20.0f);  // display code times step

    // Zoomed to the second half: the time read-out follows the window.
    m->ZoomTo(2000, 0, 4000, 100);
    m->CursorValues(a, b, e, 3);
    EXPECT_FLOAT_EQ(a, 1000.0f + 2000 * 2000 * 0.5f * 0.00025f);

    // Reading the scale into the dialog marks the document modified.
    EXPECT_FALSE(doc.IsModified());
    AxisWindowInfo info;
    m->GetAxisInfo(info, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(std::pair(info.min, info.max), std::pair(1, 100));  // the zoom above left bottom at 99
    info.max = 50;
    info.min = -50;
    m->SetAxisWindow(info, 1);
    EXPECT_EQ(std::pair(m->m_window.top, m->m_window.bottom), std::pair(50, 150));
}

TEST(Data, LabelTexts) {
    std::string l[11];
    CData::FormatLabels(l, 0.0f, 0.625f, 8, 0, true);
    EXPECT_EQ(std::vector<std::string>(l, l + 9), (std::vector<std::string>{"0.00 ", "0.63 ", "1.25 ", "1.88 ",
                                                                           "2.50 ", "3.13 ", "3.75 ", "4.38 ", "5.00 "}));
    // 1500 at exponent -1 is labelled at exponent 0.
    CData::FormatLabels(l, 0.0f, 187.5f, 8, -1, true);
    EXPECT_EQ(std::pair(l[1], l[8]), (std::pair<std::string, std::string>("0.19 ", "1.50 ")));
    // Small values climb down to milli, negative ones keep a leading zero.
    CData::FormatLabels(l, -0.5f, 1.0f, 8, 0, true);
    EXPECT_EQ(std::pair(l[0], l[8]), (std::pair<std::string, std::string>("-0.50 ", "7.50 ")));
    CData::FormatLabels(l, 0.0f, 0.0025f, 2, 0, true);
    EXPECT_EQ(std::pair(l[1], l[2]), (std::pair<std::string, std::string>("2.50m", "5.00m")));
    // Without decimals: whole numbers.
    CData::FormatLabels(l, 0.0f, 3.7f, 1, 0, false);
    EXPECT_EQ(l[1], "4 ");
    // An all-zero range ends and reads zero.
    CData::FormatLabels(l, 0.0f, 0.0f, 8, 0, true);
    EXPECT_EQ(l[8], "0.000 ");
}

TEST(Data, OnePlotStateShowsPlotTwoInFirstSlot) {
    CKivDoc doc;
    FillPlot(doc.Source(), 2, Ramp);
    CData* m = doc.GetCurrentMode();
    EXPECT_EQ(m->GetDisplaySamples(1)[150], 150);
    EXPECT_EQ(m->GetColour(2), RGB(50, 150, 255));  // plot 1's colour in the original plot
    EXPECT_EQ(m->GetAxisLabels(0)[10], "4.00 ");   // 4000 samples of 1 ms
}
