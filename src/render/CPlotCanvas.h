// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QImage>
#include <cstdint>
#include <vector>

// Lines on the back bitmap with the drawing rules the picture was laid out for: one
// pixel wide, and a line covers its start point but never its end point, so that a
// polyline draws each joint once and a rectangle's far corner stays empty.
class CPlotCanvas {
public:
    // Dash-dot-dot marks the Fourier cursor, dots the offset marker's guide lines.
    enum class Style { Solid, DashDotDot, Dot };

    // damage, when given, gets the rectangle of each line drawn: the view repairs only those
    // before the next frame.
    explicit CPlotCanvas(QImage& image, std::vector<QRect>* damage = nullptr);
    ~CPlotCanvas() { EndLayers(); }
    CPlotCanvas(const CPlotCanvas&) = delete;
    CPlotCanvas& operator=(const CPlotCanvas&) = delete;

    void SelectPen(QRgb colour, Style style = Style::Solid) {
        if (colour != m_colour) m_bNewLayer = true;
        m_colour = colour;
        m_style = style;
    }
    // The gaps of a styled pen are filled with this colour: the DC's background is
    // opaque, and the picture never makes it transparent.
    void SetBkColor(QRgb colour) { m_bkColour = colour; }
    // R2_NOT: every pixel of a line is inverted instead of painted, so that drawing the
    // same line twice restores the picture.
    void SetInvert(bool invert) { m_bInvert = invert; }
    void MoveTo(int x, int y) {
        m_x = x;
        m_y = y;
    }
    // Line from the current position to (x, y), which becomes the current position.
    void LineTo(int x, int y) {
        Line(m_x, m_y, x, y);
        m_x = x;
        m_y = y;
    }
    // Every line of the picture comes through here: (x1, y1) up to, not including, (x2, y2).
    void Line(int x1, int y1, int x2, int y2);

    // From here on the picture is background outside area, and inside it every solid line is
    // gathered instead of painted, one layer per pen colour, until EndLayers composes the area
    // row by row, each pixel written once in the colour of the last layer over it. A noisy
    // curve's thousands of tall segments would otherwise read and write most of a picture far
    // larger than the caches, once per curve. Any other line (styled, inverted, leaving the
    // area) composes what is gathered first and is painted as usual: the pixels are always
    // those of painting line by line. An empty area fills the whole picture instead.
    void BeginLayers(const QRect& area, QRgb background);
    void EndLayers();

private:
    void Plot(int x, int y, int n) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        QRgb& pixel = m_bits[y * m_stride + x];
        if (m_bInvert) pixel ^= 0x00FFFFFF;
        else pixel = StyleOn(n) ? m_colour : m_bkColour;
    }
    bool StyleOn(int n) const;

    // Gathers a line in the current layer when it can; false when it must be painted.
    bool Gather(int x1, int y1, int x2, int y2);
    // A run or span in the area's coordinates; layer 0 is the first colour gathered.
    struct Stroke {
        int16_t at, from, to;  // column and rows from .. to - 1 of a run; row and columns of a span
        uint8_t layer;
    };
    void Put(std::vector<Stroke>& strokes, int at, int from, int to);
    static constexpr int kMaxLayers = 8;
    bool m_bLayers = false;
    QRect m_area;
    QRgb m_base = 0;
    std::vector<QRgb> m_layerColours;
    bool m_bNewLayer = true;  // the next gathered line opens a layer
    std::vector<Stroke> m_runs, m_spans;
    // Compose's working rows, kept between pictures.
    std::vector<int> m_bucket;
    std::vector<uint32_t> m_events;
    std::vector<int32_t> m_depth;
    std::vector<int8_t> m_top;
    std::vector<QRgb> m_row;

    std::vector<QRect>* m_damage;
    QRgb* m_bits;
    qsizetype m_stride;  // in pixels
    int m_width, m_height;
    QRgb m_colour = qRgb(0, 0, 0);
    QRgb m_bkColour = qRgb(255, 255, 255);
    Style m_style = Style::Solid;
    bool m_bInvert = false;
    int m_x = 0, m_y = 0;
};
