// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/CPlotCanvas.h"

#include <algorithm>
#include <cstdlib>

CPlotCanvas::CPlotCanvas(QImage& image, std::vector<QRect>* damage)
    : m_damage(damage),
      m_bits(reinterpret_cast<QRgb*>(image.bits())),
      m_stride(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
      m_width(image.width()),
      m_height(image.height()) {
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32);
}

// Counted in pixels from the line's start. Dash-dot-dot: 9 on, 3 off, 3 on, 3 off, 3 on,
// 3 off; dots: 3 on, 3 off.
bool CPlotCanvas::StyleOn(int n) const {
    switch (m_style) {
    case Style::DashDotDot: {
        const int p = n % 24;
        return p < 9 || (p >= 12 && p < 15) || (p >= 18 && p < 21);
    }
    case Style::Dot: return n % 6 < 3;
    default: return true;
    }
}

void CPlotCanvas::Line(int x1, int y1, int x2, int y2) {
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    const int n = std::max(dx, dy);  // pixels drawn: the end point, step n, is left out
    if (n == 0) return;
    if (m_damage) {  // the pixels drawn, to the one before the end point
        const int j = static_cast<int>((2LL * (n - 1) * std::min(dx, dy) + n) / (2LL * n));
        const int xl = x1 + sx * (dx >= dy ? n - 1 : j), yl = y1 + sy * (dx >= dy ? j : n - 1);
        m_damage->push_back(
            QRect(QPoint(std::min(x1, xl), std::min(y1, yl)), QPoint(std::max(x1, xl), std::max(y1, yl))));
    }
    if (m_bLayers && Gather(x1, y1, x2, y2)) return;
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

void CPlotCanvas::BeginLayers(const QRect& area, QRgb background) {
    EndLayers();
    m_area = area & QRect(0, 0, m_width, m_height);
    auto fill = [&](int y0, int y1, int x0, int x1) {
        for (int y = y0; y < y1; ++y) std::fill(m_bits + y * m_stride + x0, m_bits + y * m_stride + x1, background);
    };
    if (m_area.isEmpty() || m_area.width() > INT16_MAX || m_area.height() > INT16_MAX) {
        fill(0, m_height, 0, m_width);
        return;
    }
    fill(0, m_area.top(), 0, m_width);
    fill(m_area.top(), m_area.bottom() + 1, 0, m_area.left());
    fill(m_area.top(), m_area.bottom() + 1, m_area.right() + 1, m_width);
    fill(m_area.bottom() + 1, m_height, 0, m_width);
    m_bLayers = true;
    m_base = background;
    m_layerColours.clear();
    m_bNewLayer = true;
}

bool CPlotCanvas::Gather(int x1, int y1, int x2, int y2) {
    if (m_style != Style::Solid || m_bInvert || !m_area.contains(x1, y1) || !m_area.contains(x2, y2) ||
        (m_bNewLayer && m_layerColours.size() == kMaxLayers)) {
        EndLayers();
        return false;
    }
    if (m_bNewLayer) {
        m_layerColours.push_back(m_colour);
        m_bNewLayer = false;
    }
    x1 -= m_area.left(), x2 -= m_area.left(), y1 -= m_area.top(), y2 -= m_area.top();
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    // The line rule by columns (steep) or rows: step i, 0 .. n-1 along the major axis, lies in
    // minor offset k from i_k = ceil((2k - 1) major / (2 minor)) on.
    const int major = std::max(dx, dy), minor = dx >= dy ? dy : dx;
    int from = 0;
    for (int k = 0; k <= minor; ++k) {
        const int to =
            k == minor ? major : static_cast<int>((int64_t{2 * k + 1} * major + 2 * minor - 1) / (2 * minor));
        if (to > from) {
            const int a = sy > 0 ? from : -to + 1, b = sy > 0 ? to : -from + 1;  // along y, from y1
            const int c = sx > 0 ? from : -to + 1, d = sx > 0 ? to : -from + 1;  // along x, from x1
            if (dy > dx) Put(m_runs, x1 + sx * k, y1 + a, y1 + b);
            else Put(m_spans, y1 + sy * k, x1 + c, x1 + d);
        }
        from = to;
    }
    return true;
}

// A polyline's next stroke in the same column (row) mostly touches the last one: one stroke.
void CPlotCanvas::Put(std::vector<Stroke>& strokes, int at, int from, int to) {
    const auto layer = static_cast<uint8_t>(m_layerColours.size() - 1);
    if (!strokes.empty()) {
        Stroke& last = strokes.back();
        if (last.layer == layer && last.at == at && from <= last.to && to >= last.from) {
            last.from = static_cast<int16_t>(std::min<int>(last.from, from));
            last.to = static_cast<int16_t>(std::max<int>(last.to, to));
            return;
        }
    }
    strokes.push_back({static_cast<int16_t>(at), static_cast<int16_t>(from), static_cast<int16_t>(to), layer});
}

// Row by row: a run adds to its layer's depth in its column where it begins and takes it back
// where it ends, and each column keeps the colour of its highest layer with depth, so a row is
// one copy of that colour row plus the spans lying in it.
void CPlotCanvas::EndLayers() {
    if (!m_bLayers) return;
    m_bLayers = false;
    const int w = m_area.width(), h = m_area.height();
    // Events of the runs bucketed by row (counting sort, so each row keeps the order drawn):
    // column << 4 | layer << 1 | end. The spans likewise, by index.
    m_bucket.assign(static_cast<size_t>(2 * (h + 1)), 0);
    int* eventsAt = m_bucket.data();
    int* spansAt = eventsAt + h + 1;
    for (const Stroke& r : m_runs) {
        ++eventsAt[r.from];
        if (r.to < h) ++eventsAt[r.to];
    }
    for (const Stroke& s : m_spans) ++spansAt[s.at];
    for (int y = 0, e = 0, s = 0; y <= h; ++y) {  // counts to starts, exclusive
        std::swap(e, eventsAt[y]), e += eventsAt[y];
        std::swap(s, spansAt[y]), s += spansAt[y];
    }
    m_events.resize(m_runs.size() * 2 + m_spans.size());
    uint32_t* spanIndex = m_events.data() + m_runs.size() * 2;
    for (const Stroke& r : m_runs) {
        const uint32_t code = uint32_t(r.at) << 4 | uint32_t(r.layer) << 1;
        m_events[static_cast<size_t>(eventsAt[r.from]++)] = code;
        if (r.to < h) m_events[static_cast<size_t>(eventsAt[r.to]++)] = code | 1;
    }
    for (size_t i = 0; i < m_spans.size(); ++i) spanIndex[spansAt[m_spans[i].at]++] = static_cast<uint32_t>(i);
    // eventsAt[y] and spansAt[y] are now the ends of row y's lists, the starts of row y + 1's.

    const int layers = static_cast<int>(m_layerColours.size());
    m_depth.assign(static_cast<size_t>(layers) * w, 0);
    m_top.assign(static_cast<size_t>(w), -1);
    m_row.assign(static_cast<size_t>(w), m_base);
    const QRgb* colours = m_layerColours.data();
    for (int y = 0, e = 0, s = 0; y < h; ++y) {
        for (; e < eventsAt[y]; ++e) {
            const uint32_t code = m_events[static_cast<size_t>(e)];
            const int x = static_cast<int>(code >> 4), layer = static_cast<int>(code >> 1 & 7);
            int32_t& depth = m_depth[static_cast<size_t>(layer) * w + x];
            if (!(code & 1)) {
                if (depth++ == 0 && layer > m_top[x]) {
                    m_top[x] = static_cast<int8_t>(layer);
                    m_row[x] = colours[layer];
                }
            } else if (--depth == 0 && layer == m_top[x]) {
                int t = layer - 1;
                while (t >= 0 && m_depth[static_cast<size_t>(t) * w + x] == 0) --t;
                m_top[x] = static_cast<int8_t>(t);
                m_row[x] = t >= 0 ? colours[t] : m_base;
            }
        }
        QRgb* out = m_bits + (m_area.top() + y) * m_stride + m_area.left();
        std::copy(m_row.begin(), m_row.end(), out);
        for (; s < spansAt[y]; ++s) {  // in layer order: a later layer's span lies over
            const Stroke& span = m_spans[spanIndex[s]];
            for (int x = span.from; x < span.to; ++x)
                if (m_top[x] <= span.layer) out[x] = colours[span.layer];
        }
    }
    m_runs.clear();
    m_spans.clear();
    m_layerColours.clear();
}
