#include "view/ui/CGdiCanvas.h"

#include <algorithm>
#include <cstdlib>

CGdiCanvas::CGdiCanvas(QImage& image)
    : m_bits(reinterpret_cast<QRgb*>(image.bits())),
      m_stride(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
      m_width(image.width()),
      m_height(image.height()) {
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32);
}

// Counted in pixels from the line's start. Dash-dot-dot: 9 on, 3 off, 3 on, 3 off, 3 on,
// 3 off; dots: 3 on, 3 off.
bool CGdiCanvas::StyleOn(int n) const {
    switch (m_style) {
    case Style::DashDotDot: {
        const int p = n % 24;
        return p < 9 || (p >= 12 && p < 15) || (p >= 18 && p < 21);
    }
    case Style::Dot: return n % 6 < 3;
    default: return true;
    }
}

void CGdiCanvas::Line(int x1, int y1, int x2, int y2) {
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    const int n = std::max(dx, dy);  // pixels drawn: the end point, step n, is left out
    if (n == 0) return;
    const bool inside = x1 >= 0 && y1 >= 0 && x1 < m_width && y1 < m_height && x2 >= 0 && y2 >= 0 &&
                        x2 < m_width && y2 < m_height;
    if (!inside || m_style != Style::Solid || m_bInvert) {
        // Step i along the major axis; the minor coordinate is the nearest one to the
        // ideal line, trunc((2 i minor + major) / (2 major)).
        for (int i = 0; i < n; ++i) {
            const int j = static_cast<int>((2LL * i * (dx >= dy ? dy : dx) + n) / (2LL * n));
            if (dx >= dy) Plot(x1 + sx * i, y1 + sy * j, i);
            else Plot(x1 + sx * j, y1 + sy * i, i);
        }
        return;
    }
    // The same pixels without the per-pixel checks: the curves are most of the picture.
    QRgb* p = m_bits + y1 * m_stride + x1;
    const qsizetype major = dx >= dy ? sx : sy * m_stride;
    const qsizetype minor = dx >= dy ? sy * m_stride : sx;
    const int m = std::min(dx, dy);
    int num = n;  // 2 i m + n, kept below 2 n
    for (int i = 0; i < n; ++i) {
        *p = m_colour;
        p += major;
        num += 2 * m;
        if (num >= 2 * n) {
            num -= 2 * n;
            p += minor;
        }
    }
}
