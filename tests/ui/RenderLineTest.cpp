#include <gtest/gtest.h>

#include <vector>

#include "view/ui/CGdiCanvas.h"

namespace {

// Draws on a black 32 x 32 picture and lists the inked pixels, row by row.
template <typename Draw>
std::vector<QPoint> Inked(Draw draw) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    CGdiCanvas dc(image);
    dc.SelectPen(qRgb(255, 255, 255));
    draw(dc);
    std::vector<QPoint> out;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255)) out.emplace_back(x, y);
    return out;
}

std::vector<QPoint> Line(int x1, int y1, int x2, int y2) {
    return Inked([=](CGdiCanvas& dc) { dc.Line(x1, y1, x2, y2); });
}

}  // namespace

// A line covers its start point and stops one pixel short of its end, whichever way it
// runs, so a polyline draws each joint once. Off the picture it is clipped.
TEST(RenderLine, EndPointLeftOutInAllFourDirections) {
    using P = std::vector<QPoint>;
    EXPECT_EQ(Line(10, 10, 14, 10), (P{{10, 10}, {11, 10}, {12, 10}, {13, 10}}));  // right
    EXPECT_EQ(Line(14, 12, 10, 12), (P{{11, 12}, {12, 12}, {13, 12}, {14, 12}}));  // left
    EXPECT_EQ(Line(5, 10, 5, 13), (P{{5, 10}, {5, 11}, {5, 12}}));                  // down
    EXPECT_EQ(Line(7, 13, 7, 10), (P{{7, 11}, {7, 12}, {7, 13}}));                  // up
    EXPECT_TRUE(Line(4, 4, 4, 4).empty());
    EXPECT_EQ(Line(-5, 30, 40, 30).size(), 32u);
    const P corner = {{2, 2}, {3, 2}, {4, 2}, {4, 3}};
    EXPECT_EQ(Inked([](CGdiCanvas& dc) { dc.MoveTo(2, 2), dc.LineTo(4, 2), dc.LineTo(4, 4); }), corner);
    // (0,0)-(4,2): heights 0, 0.5, 1, 1.5 round to 0, 1, 1, 2, whether the line lies
    // inside the picture or is cut by its edge.
    EXPECT_EQ(Line(10, 10, 14, 12), (P{{10, 10}, {11, 11}, {12, 11}, {13, 12}}));
    EXPECT_EQ(Line(-1, 20, 3, 22), (P{{0, 21}, {1, 21}, {2, 22}}));
}
