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
    EXPECT_FALSE(m->IsZoomed());
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

    doc.m_nCursor1 = 2000;
    doc.m_nCursor2 = 4000;  // reads sample 3999
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
    struct Case {
        float start, step;
        int count, exponent;
        bool decimals;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {0.0f, 0.625f, 8, 0, true, {"0.00 ", "0.63 ", "1.25 ", "1.88 ", "2.50 ", "3.13 ", "3.75 ", "4.38 ", "5.00 "}},
        // Up to 1500 at exponent -1: labelled at exponent 0.
        {0.0f, 187.5f, 8, -1, true, {"0.00 ", "0.19 ", "0.38 ", "0.56 ", "0.75 ", "0.94 ", "1.13 ", "1.31 ", "1.50 "}},
        // Negative ones keep a leading zero.
        {-0.5f, 1.0f, 8, 0, true, {"-0.50 ", "0.50 ", "1.50 ", "2.50 ", "3.50 ", "4.50 ", "5.50 ", "6.50 ", "7.50 "}},
        {0.0f, 0.0025f, 2, 0, true, {"0.00m", "2.50m", "5.00m"}},  // small values climb down to milli
        {0.0f, 3.7f, 1, 0, false, {"0 ", "4 "}},                    // without decimals: whole numbers
        {0.0f, 0.0f, 8, 0, true, std::vector<std::string>(9, "0.000 ")},  // an all-zero range ends
    };
    for (const Case& c : cases) {
        std::string l[11];
        CData::FormatLabels(l, c.start, c.step, c.count, c.exponent, c.decimals);
        EXPECT_EQ(std::vector<std::string>(l, l + c.count + 1), c.labels) << c.step;
    }
}

TEST(Data, OnePlotStateShowsPlotTwoInFirstSlot) {
    CKivDoc doc;
    FillPlot(doc.Source(), 2, Ramp);
    CData* m = doc.GetCurrentMode();
    EXPECT_EQ(m->GetDisplaySamples(1)[150], 150);
    EXPECT_EQ(m->GetColour(2), RGB(50, 150, 255));  // plot 1's colour in the original plot
    EXPECT_EQ(m->GetAxisLabels(0)[10], "4.00 ");   // 4000 samples of 1 ms
}
