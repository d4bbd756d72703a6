#include <gtest/gtest.h>

#include "data/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"

namespace {

int Ramp(int i) { return i % 200; }

std::vector<std::string> Labels(const std::string* l, int n) { return std::vector<std::string>(l, l + n); }

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
    EXPECT_EQ(m->m_window.right, 4000);
    EXPECT_FALSE(m->IsZoomed());

    // Full-height drag: the float 0.005 makes the bottom 199.
    m->ZoomTo(1000, 0, 3000, 200);
    EXPECT_EQ(m->m_window.left, 1000);
    EXPECT_EQ(m->m_window.right, 3000);
    EXPECT_EQ(m->m_window.bottom, 199);
    EXPECT_TRUE(m->IsZoomed());
    // Nearest lower sample: i = 2 reads sample 1001.
    EXPECT_EQ(m->m_nDisp1[2], Trunc((Ramp(1001) + 199 - 200) * 200.0 / 199));

    // A drag of 4 units leaves the window alone.
    const WindowRect before = m->m_window;
    m->ZoomTo(100, 10, 104, 100);
    m->ZoomTo(100, 10, 3000, 14);
    EXPECT_EQ(m->m_window.left, before.left);
    EXPECT_EQ(m->m_window.bottom, before.bottom);

    // Vertical window 50..150 stretched onto 0..200.
    m->ZoomTo(0, 50, 4000, 150);
    EXPECT_EQ(m->m_window.top, 49);
    EXPECT_EQ(m->m_window.bottom, 149);

    // A click without a drag restores everything.
    m->ZoomTo(7, 7, 7, 7);
    EXPECT_FALSE(m->IsZoomed());
    EXPECT_EQ(m->m_window.left, 0);
    EXPECT_EQ(m->m_window.bottom, 200);
    for (int i : {0, 1234, 3999}) EXPECT_EQ(m->m_nDisp1[i], Ramp(i));
}

TEST(Data, ReadOutsThroughTheWindow) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return i < 2000 ? 150 : 75; }, {-1, 's', 0.5}, {-1, 'V', 20.0});
    CData* m = doc.GetCurrentMode();
    m->GetDisplaySamples(1);
    float v;
    int e;
    m->ValueAt(10, v, e, 1);
    EXPECT_FLOAT_EQ(v, 1000.0f);  // (150 - 100) * 20 mV
    EXPECT_EQ(e, -1);

    doc.m_nCursor1 = 2000;
    doc.m_nCursor2 = 4000;  // reads sample 3999
    float a, b;
    m->CursorValues(a, b, e, 1);
    EXPECT_FLOAT_EQ(a, -500.0f);
    EXPECT_FLOAT_EQ(b, -500.0f);
    m->CursorValues(a, b, e, 3);
    EXPECT_FLOAT_EQ(a, 1000.0f);
    EXPECT_FLOAT_EQ(b, 2000.0f);
    int i1, i2;
    m->CursorRawValues(a, b, i1, i2, e, 3);
    EXPECT_EQ(i2, 3999);
    EXPECT_FLOAT_EQ(b, 3999 * 0.5f);
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
    EXPECT_EQ(info.max, 100);
    EXPECT_EQ(info.min, 1);  // the zoom above left bottom at 99
    info.max = 50;
    info.min = -50;
    m->SetAxisWindow(info, 1);
    EXPECT_EQ(m->m_window.top, 50);
    EXPECT_EQ(m->m_window.bottom, 150);
}

TEST(Data, LabelTexts) {
    std::string l[11];
    CData::FormatLabels(l, 0.0f, 0.625f, 8, 0, true);
    EXPECT_EQ(Labels(l, 9), (std::vector<std::string>{"0.00 ", "0.63 ", "1.25 ", "1.88 ", "2.50 ", "3.13 ",
                                                     "3.75 ", "4.38 ", "5.00 "}));
    // 1500 at exponent -1 is labelled at exponent 0.
    CData::FormatLabels(l, 0.0f, 187.5f, 8, -1, true);
    EXPECT_EQ(l[8], "1.50 ");
    EXPECT_EQ(l[1], "0.19 ");
    // Small values climb down to milli, negative ones keep a leading zero.
    CData::FormatLabels(l, -0.5f, 1.0f, 8, 0, true);
    EXPECT_EQ(l[0], "-0.50 ");
    EXPECT_EQ(l[8], "7.50 ");
    CData::FormatLabels(l, 0.0f, 0.0025f, 2, 0, true);
    EXPECT_EQ(l[2], "5.00m");
    EXPECT_EQ(l[1], "2.50m");
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
