#pragma once
#include <QImage>

// Lines on the back bitmap with the drawing rules the picture was laid out for: one
// pixel wide, and a line covers its start point but never its end point, so that a
// polyline draws each joint once and a rectangle's far corner stays empty.
class CGdiCanvas {
public:
    // Dash-dot-dot is the only styled pen the picture uses (the Fourier cursor).
    enum class Style { Solid, DashDotDot };

    explicit CGdiCanvas(QImage& image);

    void SelectPen(QRgb colour, Style style = Style::Solid) {
        m_colour = colour;
        m_style = style;
    }
    // The gaps of a styled pen are filled with this colour: the DC's background is
    // opaque, and the picture never makes it transparent.
    void SetBkColor(QRgb colour) { m_bkColour = colour; }
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

private:
    void Plot(int x, int y, int n) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        m_bits[y * m_stride + x] = m_style == Style::Solid || DashDotDotOn(n) ? m_colour : m_bkColour;
    }
    static bool DashDotDotOn(int n);

    QRgb* m_bits;
    qsizetype m_stride;  // in pixels
    int m_width, m_height;
    QRgb m_colour = qRgb(0, 0, 0);
    QRgb m_bkColour = qRgb(255, 255, 255);
    Style m_style = Style::Solid;
    int m_x = 0, m_y = 0;
};
