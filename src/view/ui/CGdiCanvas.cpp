#include "view/ui/CGdiCanvas.h"

#include <cstdlib>

CGdiCanvas::CGdiCanvas(QImage& image)
    : m_bits(reinterpret_cast<QRgb*>(image.bits())),
      m_stride(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
      m_width(image.width()),
      m_height(image.height()) {
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32);
}

// 9 on, 3 off, 3 on, 3 off, 3 on, 3 off, counted in pixels from the line's start.
bool CGdiCanvas::DashDotDotOn(int n) {
    const int p = n % 24;
    return p < 9 || (p >= 12 && p < 15) || (p >= 18 && p < 21);
}

void CGdiCanvas::Line(int x1, int y1, int x2, int y2) {
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    // One pixel per step along the major axis; the minor coordinate is the nearest
    // one to the ideal line. The end point, step dx (or dy), is left out.
    if (dx >= dy) {
        for (int i = 0; i < dx; ++i) {
            const int j = static_cast<int>((2LL * i * dy + dx) / (2LL * dx));
            Plot(x1 + sx * i, y1 + sy * j, i);
        }
    } else {
        for (int i = 0; i < dy; ++i) {
            const int j = static_cast<int>((2LL * i * dx + dy) / (2LL * dy));
            Plot(x1 + sx * j, y1 + sy * i, i);
        }
    }
}
