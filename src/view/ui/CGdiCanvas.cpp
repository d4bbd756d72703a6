#include "view/ui/CGdiCanvas.h"

#include <algorithm>
#include <cstdlib>

CGdiCanvas::CGdiCanvas(QImage& image, std::vector<QRect>* damage)
    : m_damage(damage),
      m_bits(reinterpret_cast<QRgb*>(image.bits())),
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
    if (m_damage)
        m_damage->push_back(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
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
    if (m_bRuns && dy > dx) {
        // Step i (0 .. dy-1) is in column k from i_k = ceil((2k - 1) dy / (2 dx)) on, as the
        // nearest-column rule below gives it.
        int from = 0;
        for (int k = 0; k <= dx; ++k) {
            const int to = k == dx ? dy : static_cast<int>((int64_t{2 * k + 1} * dy + 2 * dx - 1) / (2 * dx));
            if (to > from) {
                const int x = x1 + sx * k;
                m_runs.push_back(sy > 0 ? Run{x, y1 + from, y1 + to} : Run{x, y1 - to + 1, y1 - from + 1});
            }
            from = to;
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

// Block by block of 16 columns, row by row: each row of a block is one stretch of memory.
void CGdiCanvas::FlushRuns() {
    m_bRuns = false;
    if (m_runs.empty()) return;
    constexpr int kBlock = 16;
    std::sort(m_runs.begin(), m_runs.end(), [](const Run& a, const Run& b) { return a.x / kBlock < b.x / kBlock; });
    m_starts.assign(static_cast<size_t>(m_height + 1) * kBlock, 0);
    for (size_t first = 0; first < m_runs.size();) {
        const int block = m_runs[first].x / kBlock, bx = block * kBlock;
        size_t last = first;
        int yMin = m_height, yMax = 0;
        for (; last < m_runs.size() && m_runs[last].x / kBlock == block; ++last) {
            const Run& r = m_runs[last];
            ++m_starts[static_cast<size_t>(r.y0) * kBlock + (r.x - bx)];
            --m_starts[static_cast<size_t>(r.y1) * kBlock + (r.x - bx)];
            yMin = std::min(yMin, r.y0);
            yMax = std::max(yMax, r.y1);
        }
        int16_t depth[kBlock] = {};
        const int columns = std::min(kBlock, m_width - bx);
        const QRgb colour = m_colour;
        for (int y = yMin; y < yMax; ++y) {
            int16_t* starts = &m_starts[static_cast<size_t>(y) * kBlock];
            QRgb* row = m_bits + y * m_stride + bx;
            for (int c = 0; c < kBlock; ++c) depth[c] = static_cast<int16_t>(depth[c] + starts[c]);
            std::fill(starts, starts + kBlock, int16_t{0});
            // Without a branch a pixel: the pattern of a noisy curve has no order to predict.
            auto paint = [&](int c) {
                const QRgb covered = depth[c] > 0 ? ~QRgb{0} : QRgb{0};
                row[c] = (row[c] & ~covered) | (colour & covered);
            };
            if (columns == kBlock) {
                for (int c = 0; c < kBlock; ++c) paint(c);
            } else {
                for (int c = 0; c < columns; ++c) paint(c);
            }
        }
        std::fill(&m_starts[static_cast<size_t>(yMax) * kBlock], &m_starts[static_cast<size_t>(yMax) * kBlock] + kBlock,
                  int16_t{0});
        first = last;
    }
    m_runs.clear();
}
