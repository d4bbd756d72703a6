#include <gtest/gtest.h>

#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "view/ui/CPlotRenderer.h"

namespace {

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kGrid = qRgb(80, 80, 80);
constexpr QRgb kGrey = qRgb(150, 150, 150);
constexpr QRgb kBlue = qRgb(0, 0, 255);

const int kGridY[] = {20, 86, 152, 218, 285, 351, 417, 483, 550};
const int kGridX[] = {60, 132, 204, 276, 348, 420, 492, 564, 636, 708, 780};

QRgb Colour(const CKivDoc& doc, int plot) {
    const COLORREF c = plot == 1 ? doc.Source().m_crColour1 : doc.Source().m_crColour2;
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

int Count(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += image.pixel(x, y) == colour;
    return n;
}

// Fourier mode with bars set by hand, so that only the drawing is under test.
void ShowBars(CKivDoc& doc, std::initializer_list<std::pair<int, int>> bars1,
              std::initializer_list<std::pair<int, int>> bars2) {
    doc.OnModeCommand(ID_MODE_FOURIER);
    CData& f = *doc.GetFourierMode();
    for (int k = 0; k < kHarmonics; ++k) f.m_nHarm1[k] = f.m_nHarm2[k] = 0;
    for (auto [k, v] : bars1) f.m_nHarm1[k] = v;
    for (auto [k, v] : bars2) f.m_nHarm2[k] = v;
    f.m_crColour1 = doc.Source().m_crColour1;
    f.m_crColour2 = doc.Source().m_crColour2;
    f.m_bReady = 1;
}

}  // namespace

// No plot: background and grid only. Each grid line stops short of its end, so the
// bottom-right corner (780, 550) is the one grid point left out.
TEST(RenderPlot, GridOnEmptyDocument) {
    CKivDoc doc;
    const QImage image = RenderPlot(doc, 800, 600, false);
    ASSERT_EQ(image.size(), QSize(800, 600));
    for (int y : kGridY) {
        EXPECT_EQ(Count(image, kGrid, 60, y, 779, y), 720) << "row " << y;
        EXPECT_EQ(image.pixel(59, y), kBlack);
    }
    for (int x : kGridX) {
        EXPECT_EQ(Count(image, kGrid, x, 20, x, 549), 530) << "column " << x;
        EXPECT_EQ(image.pixel(x, 19), kBlack);
        EXPECT_EQ(image.pixel(x, 551), kBlack);
    }
    EXPECT_EQ(image.pixel(780, 550), kBlack);
    // 9 rows of 720, 11 columns of 530, 80 crossings counted twice; the rest black.
    EXPECT_EQ(Count(image, kGrid, 0, 0, 799, 599), 9 * 720 + 11 * 530 - 80);
    EXPECT_EQ(Count(image, kBlack, 0, 0, 799, 599), 800 * 600 - (9 * 720 + 11 * 530 - 80));
}

// Code 100 lies at y = 550 - trunc(100 * sy) = 286 (sy held as a float, 2.6499999);
// sample 2000 at x = 60 + trunc(2000 * sx) = 420.
TEST(RenderPlot, SamplePositions) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return i == 2000 ? 150 : 100; });
    const QImage image = RenderPlot(doc, 800, 600, false);
    const QRgb c = Colour(doc, 1);
    EXPECT_EQ(image.pixel(100, 286), c);
    EXPECT_EQ(image.pixel(100, 285), kGrid);
    EXPECT_EQ(image.pixel(100, 287), kBlack);
    EXPECT_EQ(image.pixel(60, 286), c);
    EXPECT_EQ(image.pixel(778, 286), c);
    EXPECT_NE(image.pixel(779, 286), c);  // the last point ends a line: left out
    // The spike: 150 * sy = 397.49999 -> y = 153, on the column of sample 2000.
    EXPECT_EQ(Count(image, c, 420, 153, 420, 286), 286 - 153 + 1);
    EXPECT_EQ(image.pixel(420, 152), kGrid);  // grid row and column
    EXPECT_NE(image.pixel(419, 153), c);
    EXPECT_NE(image.pixel(421, 153), c);
}

// A code outside 0..200 lifts the pen: no line joins the two sides, and the last
// point before the gap, being only an end point, is not drawn.
TEST(RenderPlot, OffScaleCodeBreaksTheCurve) {
    for (int gap : {201, -1, 50}) {
        CKivDoc doc;
        FillPlot(doc.Source(), 1, [gap](int i) { return i < 2000 ? 50 : i == 2000 ? gap : 150; });
        const QImage image = RenderPlot(doc, 800, 600, false);
        const QRgb c = Colour(doc, 1);
        // y(50) = 550 - 132 = 418, y(150) = 153; sample 1999 is at x = 419.
        const int joined = Count(image, c, 60, 154, 799, 416);
        if (gap == 50) {
            EXPECT_EQ(joined, 416 - 154 + 1) << "a drawable code joins the sides";
            continue;
        }
        EXPECT_EQ(joined, 0) << gap;
        EXPECT_EQ(image.pixel(418, 418), c);
        EXPECT_EQ(image.pixel(419, 418), kBlack) << gap;
        EXPECT_EQ(image.pixel(420, 153), c) << "the curve starts again with a move";
    }
}

TEST(RenderPlot, LabelColumnsAndColours) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + (i % 80); });
    {
        const QImage image = RenderPlot(doc, 800, 600, false);
        const QRgb c1 = Colour(doc, 1);
        // One column, boxes (left - 48 .. left - 3), in plot 1's colour; the
        // horizontal labels keep that colour.
        EXPECT_GT(Count(image, c1, 12, 0, 57, 579), 0);
        EXPECT_EQ(Count(image, c1, 0, 0, 11, 599), 0);
        EXPECT_GT(Count(image, c1, 37, 560, 799, 579), 0);
        EXPECT_EQ(Count(image, kGrey, 0, 0, 799, 599), 0);
    }
    FillPlot(doc.Source(), 2, [](int i) { return 20 + (i % 50); });
    doc.DataChanged();
    const QImage image = RenderPlot(doc, 800, 600, false);
    const QRgb c1 = Colour(doc, 1), c2 = Colour(doc, 2);
    // Plot area from x = 100; plot 2's column next to it (53..98), plot 1's outside (7..52).
    EXPECT_EQ(image.pixel(100, 20), kGrid);
    EXPECT_EQ(image.pixel(99, 20), kBlack);
    EXPECT_EQ(image.pixel(100, 549), kGrid);
    EXPECT_GT(Count(image, c2, 53, 0, 98, 579), 0);
    EXPECT_EQ(Count(image, c1, 53, 0, 98, 579), 0);
    EXPECT_GT(Count(image, c1, 7, 0, 52, 579), 0);
    EXPECT_EQ(Count(image, c2, 7, 0, 52, 579), 0);
    // Horizontal labels grey with two curves.
    EXPECT_GT(Count(image, kGrey, 77, 560, 799, 579), 0);
    EXPECT_EQ(Count(image, c1, 100, 551, 799, 599) + Count(image, c2, 100, 551, 799, 599), 0);
    // Both curves drawn: plot 2 sits lower (codes 20..69).
    EXPECT_GT(Count(image, c1, 101, 21, 779, 285), 0);
    EXPECT_GT(Count(image, c2, 101, 370, 779, 549), 0);
}

TEST(RenderPlot, WhiteBackground) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + (i % 80); });
    const QImage image = RenderPlot(doc, 800, 600, true);
    EXPECT_EQ(image.pixel(0, 0), kWhite);
    EXPECT_EQ(image.pixel(61, 21), kWhite);
    EXPECT_EQ(image.pixel(60, 20), kGrid);
    EXPECT_EQ(image.pixel(799, 599), kWhite);
    // Label cells are filled with the background too: no black anywhere.
    EXPECT_EQ(Count(image, kBlack, 0, 0, 799, 599), 0);
}

// Plot 2 gives the position across (sxy = float(720 * 0.005) = 3.5999999), plot 1 the
// height: plot 2 at code 100 puts the curve at x = 60 + trunc(359.99999) = 419.
TEST(RenderPlot, XYCurve) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return i * 200 / 3999; });
    FillPlot(doc.Source(), 2, [](int) { return 100; });
    doc.OnModeCommand(ID_MODE_XY);
    CData& xy = *doc.GetCurrentMode();
    for (int i = 0; i < kSamples; ++i) {
        xy.m_nDisp1[i] = i * 200 / 3999;
        xy.m_nDisp2[i] = 100;
    }
    xy.m_crColour1 = doc.Source().m_crColour1;
    xy.m_bReady = 1;
    const QImage image = RenderPlot(doc, 800, 600, false);
    const QRgb c = Colour(doc, 1);
    EXPECT_EQ(Count(image, c, 419, 22, 419, 550), 550 - 22 + 1);
    EXPECT_EQ(image.pixel(419, 21), kBlack);  // code 200 is the end point
    EXPECT_EQ(Count(image, c, 0, 0, 418, 599) + Count(image, c, 420, 0, 799, 550), 0);
}

// Bar k starts at left + trunc(k * sb): sb = float(720 * 0.02) = 14.3999996, so bar 10
// starts at 60 + 143. Height trunc(100 * sy) = 264: rows 287..550.
TEST(RenderPlot, FourierBarsOneCurve) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 7; });
    ShowBars(doc, {{10, 100}, {20, 201}, {30, -1}}, {});
    const QImage image = RenderPlot(doc, 800, 600, false);
    const QRgb c = Colour(doc, 1);
    EXPECT_EQ(Count(image, c, 203, 400, 212, 400), 10);
    EXPECT_NE(image.pixel(202, 400), c);
    EXPECT_NE(image.pixel(213, 400), c);
    EXPECT_EQ(Count(image, c, 207, 287, 207, 550), 264);
    EXPECT_NE(image.pixel(207, 286), c);
    // Codes outside 0..200 draw no bar.
    EXPECT_EQ(Count(image, c, 340, 21, 520, 549), 0);
}

TEST(RenderPlot, FourierBarsTwoCurves) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 7; });
    FillPlot(doc.Source(), 2, [](int i) { return 100 - i % 5; });
    ShowBars(doc, {{10, 100}}, {{10, 50}});
    const QImage image = RenderPlot(doc, 800, 600, false);
    const QRgb c1 = Colour(doc, 1), c2 = Colour(doc, 2);
    // left 100, sb = float(680 * 0.02) = 13.5999994: x0 = 135. Plot 1: 6 pixels,
    // a 3-pixel gap, plot 2: 6 pixels.
    EXPECT_NE(image.pixel(234, 500), c1);
    EXPECT_EQ(Count(image, c1, 235, 500, 240, 500), 6);
    EXPECT_EQ(Count(image, kBlack, 241, 500, 243, 500), 3);
    EXPECT_EQ(Count(image, c2, 244, 500, 249, 500), 6);
    EXPECT_NE(image.pixel(250, 500), c2);
    // Plot 2's bar: trunc(50 * sy) = 132 pixels high.
    EXPECT_EQ(Count(image, c2, 246, 0, 246, 599), 132);
}

// Labels under the bars: one fewer, each 11 pixels right of its grid line.
TEST(RenderPlot, FourierHorizontalLabels) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 7; });
    auto labelPixels = [&](int x0, int x1) {
        const QImage image = RenderPlot(doc, 800, 600, false);
        return Count(image, Colour(doc, 1), x0, 560, x1, 579);
    };
    EXPECT_GT(labelPixels(757, 799), 0);  // the label under x = 780
    EXPECT_GT(labelPixels(37, 47), 0);    // the first label, centred on x = 60
    ShowBars(doc, {}, {});
    for (std::string& s : doc.GetFourierMode()->m_strLabelX) s = "88888";
    EXPECT_EQ(labelPixels(757, 799), 0);
    EXPECT_EQ(labelPixels(37, 47), 0);
    EXPECT_GT(labelPixels(48, 93), 0);  // centred on 71
}

// Clicked at plot x 140 (W = 720): harmonic 10; its line at x = 60 + 143 + 5, dashed
// from the bottom up, the top end left out; triangles above and below.
TEST(RenderPlot, FourierCursor) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 7; });
    ShowBars(doc, {}, {});
    const QImage image = RenderPlot(doc, 800, 600, false, 200);
    const int x = 208;
    for (int y = 21; y <= 550; ++y) {
        const int n = (550 - y) % 24;
        const bool on = n < 9 || (n >= 12 && n < 15) || (n >= 18 && n < 21);
        EXPECT_EQ(image.pixel(x, y) == kBlue, on) << y;
    }
    EXPECT_EQ(image.pixel(x, 20), kGrid);
    for (int y : {17, 553}) {  // top - 3 and bottom + 3: x - 5 .. x + 5
        EXPECT_EQ(Count(image, kBlue, 203, y, 213, y), 11) << y;
        EXPECT_NE(image.pixel(202, y), kBlue);
        EXPECT_NE(image.pixel(214, y), kBlue);
    }
    EXPECT_EQ(Count(image, kBlue, 0, 0, 799, 16) + Count(image, kBlue, 0, 554, 799, 599), 0);
}

TEST(RenderPlot, SelectHarmonic) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 7; });
    CFourierCursor cursor;
    const CData& mode = *doc.GetCurrentMode();
    const WindowRect one{60, 20, 780, 550};
    // a = 9.72, e = 10.42: 0.42 > 0.28, so the harmonic holding more of the span, 10.
    cursor.m_nClickX = 200;
    EXPECT_EQ(cursor.SelectHarmonic(mode, one), 10);
    EXPECT_EQ(cursor.m_nPlot, 0);
    EXPECT_EQ(cursor.m_strPlot, "Wykres pierwszy");
    cursor.m_nClickX = 198;  // a = 9.58, e = 10.28: 0.28 <= 0.42 -> 9
    EXPECT_EQ(cursor.SelectHarmonic(mode, one), 9);
    cursor.m_nClickX = 5000;
    EXPECT_EQ(cursor.SelectHarmonic(mode, one), 49);
    EXPECT_EQ(cursor.LineX(mode, one), 60 + 705 + 5);
    cursor.m_nClickX = 0;
    EXPECT_EQ(cursor.SelectHarmonic(mode, one), 0);

    // Only plot 2 on: the one curve is plot 2.
    FillPlot(doc.Source(), 2, [](int i) { return 100 + i % 7; });
    doc.OnPlotToggle(ID_PLOT1_TOGGLE);
    cursor.SelectHarmonic(mode, one);
    EXPECT_EQ(cursor.m_strPlot, "Wykres drugi");

    // Two curves (W = 680, s = 13.5999994): the second plot from k * s + left + 8 on.
    doc.OnPlotToggle(ID_PLOT1_TOGGLE);
    const WindowRect two{100, 20, 780, 550};
    cursor.m_nClickX = 243;
    EXPECT_EQ(cursor.SelectHarmonic(mode, two), 10);
    EXPECT_EQ(cursor.m_nPlot, 0);
    EXPECT_EQ(cursor.LineX(mode, two), 100 + 135 + 3);
    cursor.m_nClickX = 244;
    EXPECT_EQ(cursor.SelectHarmonic(mode, two), 10);
    EXPECT_EQ(cursor.m_nPlot, 1);
    EXPECT_EQ(cursor.m_strPlot, "Wykres drugi");
    EXPECT_EQ(cursor.LineX(mode, two), 100 + 135 + 12);
}
