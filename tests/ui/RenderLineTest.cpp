#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "view/ui/CGdiCanvas.h"

namespace {

constexpr QRgb kInk = qRgb(255, 255, 255);

QImage Blank() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    return image;
}

std::vector<QPoint> Inked(const QImage& image) {
    std::vector<QPoint> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kInk) out.emplace_back(x, y);
    return out;
}

std::vector<QPoint> Pixels(int x, int y, int dx, int dy, int n) {
    std::vector<QPoint> out;
    for (int i = 0; i < n; ++i) out.emplace_back(x + i * dx, y + i * dy);
    return out;
}

// Sorted the way Inked() scans: rows, then columns.
std::vector<QPoint> Sorted(std::vector<QPoint> v) {
    std::sort(v.begin(), v.end(),
              [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
    return v;
}

}  // namespace

// A line covers its start point and stops one pixel short of its end, whichever way it runs.
TEST(RenderLine, StartIncludedEndLeftOutInAllFourDirections) {
    struct Case {
        int x1, y1, x2, y2;
        std::vector<QPoint> expected;
    } cases[] = {
        {10, 10, 20, 10, Pixels(10, 10, 1, 0, 10)},   // right: 10..19
        {20, 12, 10, 12, Pixels(11, 12, 1, 0, 10)},   // left: 20..11
        {5, 10, 5, 20, Pixels(5, 10, 0, 1, 10)},      // down: 10..19
        {7, 20, 7, 10, Pixels(7, 11, 0, 1, 10)},      // up: 20..11
        {3, 3, 8, 8, Pixels(3, 3, 1, 1, 5)},          // diagonal: (8, 8) left out
        {4, 4, 4, 4, {}},                          // a point: nothing
    };
    for (const Case& c : cases) {
        QImage image = Blank();
        CGdiCanvas dc(image);
        dc.SelectPen(kInk);
        dc.Line(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Inked(image), Sorted(c.expected)) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

TEST(RenderLine, PolylineDrawsEachJointOnceAndClipsAtTheEdges) {
    QImage image = Blank();
    CGdiCanvas dc(image);
    dc.SelectPen(kInk);
    dc.MoveTo(2, 2);
    dc.LineTo(6, 2);
    dc.LineTo(6, 6);
    std::vector<QPoint> expected = Pixels(2, 2, 1, 0, 4);
    for (QPoint p : Pixels(6, 2, 0, 1, 4)) expected.push_back(p);
    EXPECT_EQ(Inked(image), Sorted(expected));

    QImage edge = Blank();
    CGdiCanvas dc2(edge);
    dc2.SelectPen(kInk);
    dc2.Line(-5, 30, 40, 30);  // runs off both sides
    EXPECT_EQ(Inked(edge), Pixels(0, 30, 1, 0, 32));
}

// The Fourier cursor's pen: 9 on, 3 off, 3 on, 3 off, 3 on, 3 off, from the start point.
TEST(RenderLine, DashDotDotPatternCountsFromTheStart) {
    QImage image(4, 60, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    CGdiCanvas dc(image);
    dc.SelectPen(kInk, CGdiCanvas::Style::DashDotDot);
    dc.Line(1, 55, 1, 5);  // upwards, 50 pixels: 55 .. 6
    std::string got;
    for (int y = 55; y >= 5; --y) got += image.pixel(1, y) == kInk ? '#' : '.';
    EXPECT_EQ(got, "#########...###...###..."
                   "#########...###...###..."
                   "##.");
}

// Slanted lines: at step i along the major axis the minor offset is the nearest one,
// (2 i minor + major) / (2 major) in integers; the same whether the line lies inside
// the picture or runs off its edge.
TEST(RenderLine, SlantedLinesTakeTheNearestMinorPixel) {
    struct Case {
        int x1, y1, x2, y2;
    } cases[] = {{2, 0, 12, 6}, {12, 6, 2, 0}, {3, 25, 5, 5}, {20, 20, 9, 30}, {27, 0, 37, 6}, {5, 29, -9, 20}};
    for (const Case& c : cases) {
        const int dx = std::abs(c.x2 - c.x1), dy = std::abs(c.y2 - c.y1), n = std::max(dx, dy);
        const int sx = c.x2 >= c.x1 ? 1 : -1, sy = c.y2 >= c.y1 ? 1 : -1;
        std::vector<QPoint> expected;
        for (int i = 0; i < n; ++i) {
            const int j = (2 * i * std::min(dx, dy) + n) / (2 * n);
            const QPoint p = dx >= dy ? QPoint(c.x1 + sx * i, c.y1 + sy * j) : QPoint(c.x1 + sx * j, c.y1 + sy * i);
            if (p.x() >= 0 && p.x() < 32 && p.y() >= 0 && p.y() < 32) expected.push_back(p);
        }
        QImage image = Blank();
        CGdiCanvas dc(image);
        dc.SelectPen(kInk);
        dc.Line(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Inked(image), Sorted(expected)) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}
