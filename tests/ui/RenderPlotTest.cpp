// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPainter>
#include <QStringList>
#include <functional>

#include "document/CKivDoc.h"
#include "support/PlotFill.h"
#include "render/CPlotCanvas.h"
#include "render/CPlotRenderer.h"

// Geometry on 800 x 600 with one curve: plot (60, 20)-(780, 550), W = 720, H = 530.
// The factors are floats: sy = 530 * 0.005f = 2.6499999, sx = 0.18, sb = 14.3999996;
// code 100 is 264 pixels high, code 50 132, code 150 397.
namespace {

constexpr QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kGrid = qRgb(80, 80, 80),
               kGrey = qRgb(150, 150, 150), kBlue = qRgb(0, 0, 255);
constexpr QRgb kPlot1 = qRgb(50, 150, 255), kPlot2 = qRgb(255, 0, 128);  // a new document's colours

int Count(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += image.pixel(x, y) == colour;
    return n;
}

// Pixels of one colour in a region; kSome stands for "at least one".
constexpr int kSome = -1;
struct Region {
    QRgb colour;
    int x0, y0, x1, y1, count;
};
void ExpectInk(const QImage& image, std::initializer_list<Region> regions) {
    for (const Region& r : regions) {
        const int n = Count(image, r.colour, r.x0, r.y0, r.x1, r.y1);
        if (r.count == kSome) EXPECT_GT(n, 0) << std::hex << r.colour << std::dec << " " << r.x0 << "," << r.y0;
        else EXPECT_EQ(n, r.count) << std::hex << r.colour << std::dec << " " << r.x0 << "," << r.y0;
    }
}

// Fourier mode with bars set by hand, so that only the drawing is under test.
void ShowBars(CKivDoc& doc, std::initializer_list<std::pair<int, int>> bars1,
              std::initializer_list<std::pair<int, int>> bars2) {
    doc.SetMode(kModeFourier);
    CData& f = *doc.GetFourierMode();
    for (int k = 0; k < kHarmonics; ++k) f.m_nHarm1[k] = f.m_nHarm2[k] = 0;
    for (auto [k, v] : bars1) f.m_nHarm1[k] = v;
    for (auto [k, v] : bars2) f.m_nHarm2[k] = v;
    f.m_crColour1 = doc.Source().m_crColour1;
    f.m_crColour2 = doc.Source().m_crColour2;
    f.m_bReady = 1;
}

}  // namespace

// No plot: the background and the grid, nothing else. Each line leaves out its end,
// so the corner (780, 550) stays empty.
TEST(RenderPlot, EmptyDocumentShowsOnlyBackgroundAndGrid) {
    CKivDoc doc;
    for (const bool white : {false, true}) {
        const QImage image = RenderPlot(doc, 800, 600, white);
        ASSERT_EQ(image.size(), QSize(800, 600));
        for (int y : {20, 86, 152, 218, 285, 351, 417, 483, 550}) ExpectInk(image, {{kGrid, 60, y, 779, y, 720}});
        for (int x = 60; x <= 780; x += 72) ExpectInk(image, {{kGrid, x, 20, x, 549, 530}});
        const int grid = 9 * 720 + 11 * 530 - 80;  // 80 crossings counted twice
        ExpectInk(image, {{kGrid, 0, 0, 799, 599, grid}, {white ? kWhite : kBlack, 0, 0, 799, 599, 800 * 600 - grid}});
    }
}

TEST(RenderPlot, TimeCurvesAndLabelColumns) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return i == 2000 ? 150 : 100; });
    QImage image = RenderPlot(doc, 800, 600, false);
    // Code 100 at y = 286 from x = 60 to the last sample's x = 779, which ends a line.
    // Sample 2000 (code 150, y = 153) at x = 420: up from 1999 at x = 419, down again.
    // One label column (boxes 12..57) in plot 1's colour, which the horizontal labels keep.
    ExpectInk(image, {{kPlot1, 60, 286, 799, 286, 779 - 60}, {kPlot1, 60, 287, 799, 287, 0},
                      {kPlot1, 420, 0, 420, 555, 286 - 153 + 1},
                      {kPlot1, 419, 0, 419, 219, 0}, {kPlot1, 421, 0, 421, 285, 0},
                      {kPlot1, 12, 0, 57, 559, kSome}, {kPlot1, 757, 560, 799, 579, kSome},
                      {kPlot1, 0, 0, 11, 599, 0}, {kGrey, 0, 0, 799, 599, 0}});

    // Codes 50 up to sample 1999 (x = 419, y = 418), 150 from sample 2001 (x = 420, y = 153).
    for (const int gap : {201, -1, 50}) {
        FillPlot(doc.Source(), 1, [gap](int i) { return i < 2000 ? 50 : i == 2000 ? gap : 150; });
        doc.DataChanged();
        const QImage broken = RenderPlot(doc, 800, 600, false);
        // An off-scale code lifts the pen: nothing joins the sides, and sample 1999,
        // only ever an end point, stays empty. A drawable code joins them.
        EXPECT_EQ(Count(broken, kPlot1, 60, 154, 799, 417), gap == 50 ? 417 - 154 + 1 : 0) << gap;
        EXPECT_EQ(std::pair(broken.pixel(419, 418), broken.pixel(420, 153)),
                  std::pair(gap == 50 ? kPlot1 : kBlack, kPlot1)) << gap;
    }

    // Two curves: the plot from x = 100, plot 2's label column nearer (53..98), plot 1's
    // outside (7..52), horizontal labels grey. Label cells take the background; the
    // second curve, codes 20..69, lies low.
    FillPlot(doc.Source(), 2, [](int i) { return 20 + i % 50; });
    doc.DataChanged();
    image = RenderPlot(doc, 800, 600, true);
    EXPECT_EQ(std::pair(image.pixel(100, 20), image.pixel(99, 20)), std::pair(kGrid, kWhite));
    ExpectInk(image, {{kPlot2, 53, 0, 98, 559, kSome}, {kPlot1, 7, 0, 52, 559, kSome}, {kPlot1, 53, 0, 98, 559, 0},
                      {kPlot2, 0, 0, 52, 559, 0}, {kGrey, 77, 560, 799, 579, kSome}, {kPlot1, 100, 551, 799, 599, 0},
                      {kPlot2, 100, 551, 799, 599, 0}, {kPlot2, 101, 370, 779, 549, kSome},
                      {kBlack, 0, 0, 799, 599, 0}});
}

// Plot 2 gives the position across (sxy = 3.5999999: code 100 at x = 60 + 359), plot 1
// the height; code 200 at y = 21 is only the last end point.
TEST(RenderPlot, XYCurve) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return i * 200 / 3999; });
    FillPlot(doc.Source(), 2, [](int) { return 100; });
    doc.SetMode(kModeXY);
    ExpectInk(RenderPlot(doc, 800, 600, false),
              {{kPlot1, 419, 22, 419, 550, 550 - 22 + 1}, {kPlot1, 58, 0, 799, 555, 550 - 22 + 1}});
}

// Bar k from x = left + trunc(k * sb). A click at plot x d picks the harmonic holding
// most of [d, d + 10]: from d = 139 on that is 10, and the cursor stands on its bar at
// 60 + 143 + 5 = 208: dash-dot-dot from the bottom up, gaps in the background colour,
// top end left out, a triangle of rows 11, 9, 5 wide above and below.
TEST(RenderPlot, FourierBarsLabelsAndCursor) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 7; });
    ShowBars(doc, {{10, 100}, {20, 201}, {30, -1}}, {});
    CData& fourier = *doc.GetFourierMode();
    for (std::string& s : fourier.m_strLabelX) s = "88888";
    for (std::string& s : fourier.m_strLabelY1) s.clear();
    fourier.m_strLabelY1[0] = "88888";  // label 0 belongs to the bottom line
    QImage image = RenderPlot(doc, 800, 600, false, 60 + 139);
    for (int y = 21; y <= 550; ++y) {
        const int n = (550 - y) % 24;
        const bool on = n < 9 || (n >= 12 && n < 15) || (n >= 18 && n < 21);
        EXPECT_EQ(image.pixel(208, y), on ? kBlue : kBlack) << y;
    }
    EXPECT_EQ(image.pixel(208, 20), kGrid);
    for (auto [row, width] : {std::pair{17, 11}, {18, 9}, {19, 5}, {553, 11}, {552, 9}, {551, 5}})
        ExpectInk(image, {{kBlue, 208 - width / 2, row, 208 + width / 2, row, width}});
    // Bar 10 only (codes 201 and -1 draw none), 10 x 264, less the cursor's column. Nothing
    // else blue: two triangles and the line, 22 periods of 15 and 2 more. Labels under the
    // bars: the first centred on 71, not 60; none under x = 780.
    ExpectInk(image, {{kPlot1, 203, 287, 212, 550, 9 * 264}, {kPlot1, 58, 0, 799, 555, 9 * 264},
                      {kBlue, 0, 0, 799, 599, 2 * (11 + 9 + 5) + 22 * 15 + 2}, {kPlot1, 12, 540, 57, 559, kSome},
                      {kPlot1, 0, 0, 57, 539, 0}, {kPlot1, 37, 560, 47, 579, 0}, {kPlot1, 48, 560, 93, 579, kSome},
                      {kPlot1, 757, 560, 799, 579, 0}});

    // Two curves: left 100, sb = 13.5999994, bar 10 at 235: 6 pixels, a 3-pixel gap,
    // 6 pixels of plot 2 (code 50: 132 high). A click at 381 (d = 281) picks 20 for the
    // 6-pixel span [281, 287] and plot 2, being right of 20 * sb + 108 = 379.99999:
    // the cursor at 100 + 271 + 12, not + 3.
    FillPlot(doc.Source(), 2, [](int i) { return 100 - i % 5; });
    ShowBars(doc, {{10, 100}}, {{10, 50}});
    ExpectInk(RenderPlot(doc, 800, 600, false, 381),
              {{kBlue, 100 + 271 + 12, 21, 100 + 271 + 12, 550, 22 * 15 + 2}, {kPlot1, 235, 500, 240, 500, 6},
               {kPlot2, 244, 500, 249, 500, 6}, {kPlot1, 0, 500, 799, 500, 6}, {kPlot2, 0, 500, 799, 500, 6},
               {kPlot2, 246, 0, 246, 599, 132}});
}

namespace {

// The pixels a drawing inks on a black 32 x 32 picture, row by row.
QString Inked(const std::function<void(CPlotCanvas&)>& draw) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    CPlotCanvas dc(image);
    dc.SelectPen(qRgb(255, 255, 255));
    draw(dc);
    QStringList out;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255)) out << QString("%1,%2").arg(x).arg(y);
    return out.join(' ');
}

}  // namespace

// A line covers its start point and stops one pixel short of its end, whichever way it
// runs, so a polyline draws each joint once. Off the picture it is clipped.
TEST(RenderLine, EndPointLeftOutInAllFourDirections) {
    // Right, left, down, up, a point; (0,0)-(4,2) inside the picture and cut by its edge:
    // heights 0, 0.5, 1, 1.5 round to 0, 1, 1, 2 either way.
    for (auto [x1, y1, x2, y2, want] :
         {std::tuple{10, 10, 14, 10, "10,10 11,10 12,10 13,10"}, {14, 12, 10, 12, "11,12 12,12 13,12 14,12"},
          {5, 10, 5, 13, "5,10 5,11 5,12"}, {7, 13, 7, 10, "7,11 7,12 7,13"}, {4, 4, 4, 4, ""},
          {10, 10, 14, 12, "10,10 11,11 12,11 13,12"}, {-1, 20, 3, 22, "0,21 1,21 2,22"}}) {
        const int a = x1, b = y1, c = x2, d = y2;
        EXPECT_EQ(Inked([=](CPlotCanvas& dc) { dc.Line(a, b, c, d); }), want) << a << "," << b << " " << c << "," << d;
    }
    EXPECT_EQ(Inked([](CPlotCanvas& dc) { dc.Line(-5, 30, 40, 30); }).count(' ') + 1, 32);
    EXPECT_EQ(Inked([](CPlotCanvas& dc) { dc.MoveTo(2, 2), dc.LineTo(4, 2), dc.LineTo(4, 4); }), "2,2 3,2 4,2 4,3");
}

// Gathered in layers and composed, lines ink what they ink painted one by one: a grid, then
// random polylines of steep, shallow and flat segments in colours that come back (a later
// layer over an earlier one), until a ninth layer, a styled line or one that comes into the
// area from outside makes the canvas compose and paint the rest as it comes.
TEST(RenderLine, LayersInkWhatLinesInk) {
    static constexpr QRgb kColours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)};
    for (const int breakAt : {-1, 100, 150}) {
        auto draw = [breakAt](bool layers) {
            QImage image(90, 60, QImage::Format_RGB32);
            image.fill(qRgb(9, 9, 9));  // a layered canvas paints all of it
            CPlotCanvas dc(image);
            if (layers) dc.BeginLayers(QRect(5, 4, 82, 52), qRgb(0, 0, 0));
            else image.fill(qRgb(0, 0, 0));
            dc.SelectPen(qRgb(80, 80, 80));
            for (int y = 4; y <= 55; y += 17) dc.Line(5, y, 86, y);
            for (int x = 5; x <= 85; x += 16) dc.Line(x, 4, x, 55);
            uint32_t seed = 7;
            dc.MoveTo(5, 30);
            for (int i = 0; i < 800; ++i) {
                if (i % 25 == 0) dc.SelectPen(kColours[i / 25 % 4]);  // layers 1 .. 7, then painted
                if (i == breakAt) dc.SelectPen(qRgb(0, 0, 255), breakAt == 100 ? CPlotCanvas::Style::Dot : CPlotCanvas::Style::Solid);
                if (i == breakAt && breakAt == 150) dc.MoveTo(50, 59);
                seed = seed * 1664525u + 1013904223u;
                const int y = i % 97 == 5 ? 31 : static_cast<int>(seed >> 8) % 52 + 4;  // a flat step now and then
                dc.LineTo(5 + i * 78 / 800 + static_cast<int>(seed >> 30), y);
            }
            dc.EndLayers();
            return image;
        };
        EXPECT_EQ(draw(true), draw(false)) << breakAt;
    }
}

// The label boxes, laid out once and copied after, hold the pixels a painter draws there,
// on both backgrounds, on a picture that cuts boxes off, and drawn from what was laid out before.
TEST(RenderPlot, LabelsAsAPainterDrawsThem) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 37; });
    FillPlot(doc.Source(), 2, [](int i) { return 60 + i % 17; });
    doc.DataChanged();
    CPlotRenderer renderer;
    for (const QSize size : {QSize(800, 600), QSize(333, 251), QSize(800, 600), QSize(150, 90)}) {
        for (const bool white : {false, true}) {
            const QImage image = renderer.RenderPlot(doc, size.width(), size.height(), white);
            QImage painted(size, QImage::Format_RGB32);
            QPainter p(&painted);
            renderer.PaintPlot(p, doc, size.width(), size.height(), white);
            const WindowRect rc = renderer.PlotRect();
            int differ = 0, text = 0;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    if (x < rc.left - 1 || y > rc.bottom + 1) {
                        differ += image.pixel(x, y) != painted.pixel(x, y);
                        text += image.pixel(x, y) != (white ? kWhite : kBlack);
                    }
            EXPECT_EQ(differ, 0) << size.width() << " " << white;
            EXPECT_GT(text, 0);
        }
    }
}
