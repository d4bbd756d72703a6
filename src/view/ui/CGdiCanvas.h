#pragma once
#include <QImage>
#include <vector>

// Lines on the back bitmap with the drawing rules the picture was laid out for: one
// pixel wide, and a line covers its start point but never its end point, so that a
// polyline draws each joint once and a rectangle's far corner stays empty.
class CGdiCanvas {
public:
    // Dash-dot-dot marks the Fourier cursor, dots the offset marker's guide lines.
    enum class Style { Solid, DashDotDot, Dot };

    // damage, when given, gets the rectangle of each line drawn: the view repairs only those
    // before the next frame.
    explicit CGdiCanvas(QImage& image, std::vector<QRect>* damage = nullptr);

    void SelectPen(QRgb colour, Style style = Style::Solid) {
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

    // Between these two, the steep solid lines of one colour are gathered as vertical runs and
    // painted together: a noisy curve's thousands of tall segments cross the same pixels many
    // times, and painting them one by one, a row apart each, is what a picture costs most.
    // The pixels are the same as line by line: one colour, so the order does not matter.
    void BeginRuns() { m_bRuns = true; }
    void FlushRuns();

private:
    void Plot(int x, int y, int n) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        QRgb& pixel = m_bits[y * m_stride + x];
        if (m_bInvert) pixel ^= 0x00FFFFFF;
        else pixel = StyleOn(n) ? m_colour : m_bkColour;
    }
    bool StyleOn(int n) const;

    struct Run {
        int x, y0, y1;  // pixels (x, y0) .. (x, y1 - 1)
    };
    std::vector<Run> m_runs;
    std::vector<int16_t> m_starts;  // per row of a 16-column block: runs begun minus runs ended
    bool m_bRuns = false;

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
