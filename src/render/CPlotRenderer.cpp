// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/CPlotRenderer.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <algorithm>

#include "document/CKivDoc.h"
#include "render/CPlotCanvas.h"

namespace {

constexpr QRgb kGridColour = qRgb(80, 80, 80);
constexpr QRgb kLabelGrey = qRgb(150, 150, 150);
constexpr QRgb kCursorBlue = qRgb(0, 0, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

QRgb ToQRgb(PlotColour c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

bool Drawable(int32_t code) { return code >= 0 && code <= 200; }

// Scale factors are kept as 32-bit floats, the products taken in double.
float ScaleF(int pixels, float perUnit) { return static_cast<float>(MulF(pixels, perUnit)); }

// The picture's lines through a painter, in the bitmap's pixel coordinates: each
// pixel's centre is the point a cosmetic pen passes through. Joined lines go out as
// one polyline, so a curve is one drawing call, not four thousand.
class CPainterCanvas {
public:
    CPainterCanvas(QPainter& painter, bool hairlines) : m_painter(painter), m_hairlines(hairlines) {}
    ~CPainterCanvas() { Flush(); }
    CPainterCanvas(const CPainterCanvas&) = delete;
    CPainterCanvas& operator=(const CPainterCanvas&) = delete;

    void SelectPen(QRgb colour, CPlotCanvas::Style style = CPlotCanvas::Style::Solid) {
        Flush();
        QPen pen(QColor(colour), 1);
        pen.setCosmetic(m_hairlines);
        // The bitmap's patterns in device pixels, as a cosmetic pen counts them.
        if (style == CPlotCanvas::Style::DashDotDot) pen.setDashPattern({9, 3, 3, 3, 3, 3});
        else if (style == CPlotCanvas::Style::Dot) pen.setDashPattern({3, 3});
        m_painter.setPen(pen);
    }
    // The gaps of a styled line take this colour, as on the bitmap.
    void SetBkColor(QRgb colour) {
        Flush();
        m_painter.setBackground(QColor(colour));
        m_painter.setBackgroundMode(Qt::OpaqueMode);
    }
    void MoveTo(int x, int y) {
        Flush();
        m_x = x;
        m_y = y;
    }
    void LineTo(int x, int y) {
        if (m_points.isEmpty()) m_points.append(Centre(m_x, m_y));
        m_points.append(Centre(x, y));
        m_x = x;
        m_y = y;
    }
    void Line(int x1, int y1, int x2, int y2) {
        Flush();
        m_painter.drawLine(Centre(x1, y1), Centre(x2, y2));
    }
    // Draws the polyline gathered so far.
    void Flush() {
        if (m_points.size() > 1) m_painter.drawPolyline(m_points.constData(), static_cast<int>(m_points.size()));
        m_points.clear();
    }

private:
    static QPointF Centre(int x, int y) { return {x + 0.5, y + 0.5}; }

    QPainter& m_painter;
    const bool m_hairlines;
    QList<QPointF> m_points;
    int m_x = 0, m_y = 0;
};

}  // namespace

CPlotRenderer::CPlotRenderer() : m_font(LabelFont()) {}

QFont CPlotRenderer::LabelFont() {
    QFont font(QStringLiteral("Courrier New"));
    font.setPixelSize(15);
    font.setWeight(QFont::Bold);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::Monospace, QFont::NoAntialias);
    return font;
}

WindowRect CPlotRenderer::Layout(const CData& mode, int width, int height) {
    return {mode.ShowsTwoCurves() ? 100 : 60, 20, width - 20, height - 50};
}

// A label in its 46 x 20 box centred on the anchor: centred across, from the top of
// the box down (the box was asked to centre vertically, which the Windows text call
// ignores for multi-line boxes), clipped to the box, on an opaque cell.
void CPlotRenderer::DrawLabel(QPainter& p, const QFontMetrics& fm, const std::string& text, int ax, int ay,
                              QRgb colour, QRgb background) {
    if (text.empty()) return;
    const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const int tw = fm.horizontalAdvance(s);
    DrawLabelAt(p, fm, s, tw, LabelBox(ax, ay), LabelX(ax, tw), colour, background);
}

void CPlotRenderer::DrawLabelAt(QPainter& p, const QFontMetrics& fm, const QString& s, int tw, const QRect& box,
                                int x, QRgb colour, QRgb background) {
    p.setClipRect(box);
    // The cell is cut to the box by hand as well: an SVG keeps no clip, and a neighbour's
    // cell painted later would cover the start of this label.
    p.fillRect(QRect(x, box.top(), tw, fm.height()) & box, QColor(background));
    p.setPen(QColor(colour));
    p.drawText(x, box.top() + fm.ascent(), s);
}

// The labels repeat from picture to picture, and laying out and drawing text costs more than
// the rest of a small picture: each is drawn once into a picture of its box and copied after.
void CPlotRenderer::BlitLabel(QImage& image, const std::string& text, int ax, int ay, QRgb colour,
                              QRgb background) {
    if (text.empty()) return;
    if (m_labels.size() > 512) m_labels.clear();
    auto [it, added] = m_labels.try_emplace(text);
    LabelText& label = it->second;
    const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (added) label.width = QFontMetrics(m_font).horizontalAdvance(s);
    const QRect box = LabelBox(ax, ay);
    const int x = LabelX(ax, label.width);
    const int offset = x - box.left();
    auto sprite = std::find_if(label.sprites.begin(), label.sprites.end(), [&](const LabelSprite& l) {
        return l.colour == colour && l.background == background && l.offset == offset;
    });
    if (sprite == label.sprites.end()) {
        LabelSprite made{colour, background, offset, QImage(box.size(), QImage::Format_ARGB32_Premultiplied), {}};
        made.picture.fill(Qt::transparent);
        {
            QPainter p(&made.picture);
            p.setFont(m_font);
            DrawLabelAt(p, QFontMetrics(m_font, &made.picture), s, label.width, QRect(QPoint(0, 0), box.size()),
                        offset, colour, background);
        }
        for (int r = 0; r < box.height(); ++r) {
            const QRgb* line = reinterpret_cast<const QRgb*>(made.picture.constScanLine(r));
            for (int c = 0; c < box.width();) {
                if (qAlpha(line[c]) == 0) {
                    ++c;
                    continue;
                }
                const int from = c;
                while (c < box.width() && qAlpha(line[c]) == 255) ++c;
                if (c < box.width() && qAlpha(line[c]) != 0) {  // smoothed text: only a painter draws it
                    made.spans.clear();
                    made.picture = QImage();
                    r = box.height();
                    break;
                }
                made.spans.push_back({r, from, c});
            }
        }
        sprite = label.sprites.insert(label.sprites.end(), std::move(made));
    }
    if (sprite->picture.isNull()) {
        QPainter p(&image);
        p.setFont(m_font);
        DrawLabelAt(p, QFontMetrics(m_font, &image), s, label.width, box, x, colour, background);
        return;
    }
    for (const LabelSprite::Span& span : sprite->spans) {
        const int y = box.top() + span.row;
        const int from = std::max(box.left() + span.from, 0), to = std::min(box.left() + span.to, image.width());
        if (y < 0 || y >= image.height() || from >= to) continue;
        const QRgb* source = reinterpret_cast<const QRgb*>(sprite->picture.constScanLine(span.row));
        std::copy(source + (from - box.left()), source + (to - box.left()),
                  reinterpret_cast<QRgb*>(image.scanLine(y)) + from);
    }
}

QImage CPlotRenderer::RenderPlot(CKivDoc& doc, int width, int height, bool whiteBackground,
                                 CFourierCursor* fourier) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const QRgb background = whiteBackground ? kWhite : kBlack;
    CData& mode = *doc.GetCurrentMode();
    const WindowRect rc = Layout(mode, width, height);
    CPlotCanvas dc(image);
    // Labels lie outside the plot, so they may go on before the plot is composed.
    dc.BeginLayers(QRect(QPoint(rc.left, rc.top), QPoint(rc.right, rc.bottom)), background);
    auto withText = [&](auto&& draw) {
        draw([&](const std::string& text, int ax, int ay, QRgb colour, QRgb cell) {
            BlitLabel(image, text, ax, ay, colour, cell);
        });
    };
    Draw(dc, withText, mode, width, height, background, fourier);
    dc.EndLayers();
    return image;
}

void CPlotRenderer::PaintPlot(QPainter& painter, CKivDoc& doc, int width, int height, bool whiteBackground,
                              CFourierCursor* fourier, bool hairlines) {
    const QRgb background = whiteBackground ? kWhite : kBlack;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, width, height), QColor(background));
    {
        CPainterCanvas dc(painter, hairlines);
        auto withText = [&](auto&& draw) {
            dc.Flush();  // the grid lies under the labels
            painter.save();
            // The face the font resolved to, by name: a vector file names its fonts, and the
            // program's own name for it is no face another program finds.
            QFont font = m_font;
            font.setFamily(QFontInfo(m_font).family());
            painter.setFont(font);
            painter.setBackgroundMode(Qt::TransparentMode);
            const QFontMetrics fm(m_font);
            draw([&](const std::string& text, int ax, int ay, QRgb colour, QRgb cell) {
                DrawLabel(painter, fm, text, ax, ay, colour, cell);
            });
            painter.restore();
        };
        Draw(dc, withText, *doc.GetCurrentMode(), width, height, background, fourier);
    }
    painter.restore();
}

template <class Canvas, class WithText>
void CPlotRenderer::Draw(Canvas& dc, WithText withText, CData& mode, int width, int height, QRgb background,
                         CFourierCursor* fourier) {
    m_rcPlot = Layout(mode, width, height);
    const int left = m_rcPlot.left, top = m_rcPlot.top, right = m_rcPlot.right, bottom = m_rcPlot.bottom;
    const int W = right - left, H = bottom - top;
    const int divX = std::clamp(mode.m_nDivX, 1, kLabels - 1);
    const int divY = std::clamp(mode.m_nDivY, 1, kLabels - 1);

    dc.SelectPen(kGridColour);
    for (int i = 0; i <= divY; ++i) {
        const int y = top + H * i / divY;
        dc.MoveTo(left, y);
        dc.LineTo(right, y);
    }
    for (int i = 0; i <= divX; ++i) {
        const int x = left + W * i / divX;
        dc.MoveTo(x, top);
        dc.LineTo(x, bottom);
    }
    if (!mode.IsAvailable()) return;

    const bool two = mode.ShowsTwoCurves();
    withText([&](auto&& label) {
        QRgb text = kLabelGrey;
        if (!two) {
            // Labels first: asking for them brings the mode up to date, colours included.
            const std::string* labels = mode.GetAxisLabels(1);
            text = ToQRgb(mode.GetColour(1));
            for (int j = 0; j <= divY; ++j)
                label(labels[j], left - 25, top + H * (divY - j) / divY, text, background);
        } else {
            const std::string* labels2 = mode.GetAxisLabels(3);
            const std::string* labels1 = mode.GetAxisLabels(2);
            const QRgb colour2 = ToQRgb(mode.GetColour(2)), colour1 = ToQRgb(mode.GetColour(1));
            for (int j = 0; j <= divY; ++j) {
                const int y = top + H * (divY - j) / divY;
                label(labels2[j], left - 24, y, colour2, background);
                label(labels1[j], left - 70, y, colour1, background);
            }
        }
        const std::string* labelsX = mode.GetAxisLabels(0);
        // Fourier: one label fewer, moved under the bars.
        const bool fourierMode = mode.IsFourier();
        const int last = fourierMode ? divX - 1 : divX, shift = fourierMode ? 11 : 0;
        for (int k = 0; k <= last; ++k)
            label(labelsX[k], left + W * k / divX + shift, bottom + 20, text, background);
    });

    const float sx = ScaleF(W, 0.00025f);   // pixels per sample
    const float sxy = ScaleF(W, 0.005f);    // pixels per code across, XY mode
    const float sy = ScaleF(H, 0.005f);     // pixels per code
    const float sb = ScaleF(W, 0.02f);      // pixels per harmonic
    const QRgb pen1 = ToQRgb(mode.GetColour(1)), pen2 = ToQRgb(mode.GetColour(2));
    auto yOf = [&](int32_t code) { return bottom - Trunc(MulF(code, sy)); };

    dc.SetBkColor(background);
    if (mode.IsFourier()) {
        const int b = two ? 6 : 10;
        dc.SelectPen(pen1);
        for (int k = 0; k < kHarmonics; ++k) {
            const int32_t v = mode.m_nHarm1[k];
            if (!Drawable(v)) continue;
            const int x0 = left + Trunc(MulF(k, sb));
            for (int j = 0; j < b; ++j) {
                dc.MoveTo(x0 + j, bottom);
                dc.LineTo(x0 + j, yOf(v));
            }
        }
        if (two) {
            dc.SelectPen(pen2);
            for (int k = 0; k < kHarmonics; ++k) {
                const int32_t v = mode.m_nHarm2[k];
                if (!Drawable(v)) continue;
                const int x0 = left + Trunc(MulF(k, sb));
                for (int j = b; j < 2 * b; ++j) {
                    dc.MoveTo(x0 + j + 3, bottom);
                    dc.LineTo(x0 + j + 3, yOf(v));
                }
            }
        }
        CFourierCursor own;
        CFourierCursor& cursor = fourier ? *fourier : own;
        cursor.SelectHarmonic(mode, m_rcPlot);
        const int x = cursor.LineX(mode, m_rcPlot);
        dc.SelectPen(kCursorBlue, CPlotCanvas::Style::DashDotDot);
        dc.MoveTo(x, bottom);
        dc.LineTo(x, top);
        dc.SelectPen(kCursorBlue);
        for (const int s : {-1, 1}) {  // the triangle above the plot, then its mirror below
            const int edge = s < 0 ? top : bottom;
            dc.Line(x - 5, edge + 3 * s, x + 5, edge + 3 * s);
            dc.Line(x - 3, edge + 2 * s, x + 3, edge + 2 * s);
            dc.Line(x - 1, edge + s, x + 1, edge + s);
            dc.Line(x - 5, edge + 3 * s, x, edge);
            dc.Line(x + 5, edge + 3 * s, x, edge);
        }
    } else if (mode.IsXY()) {
        const int32_t* p1 = mode.GetDisplaySamples(1);
        const int32_t* p2 = mode.GetDisplaySamples(2);
        auto xOf = [&](int32_t code) { return left + Trunc(MulF(code, sxy)); };
        dc.SelectPen(pen1);
        // Where the first point is not drawable its position is never used.
        const bool first = Drawable(p1[0]) && Drawable(p2[0]);
        dc.MoveTo(first ? xOf(p2[0]) : left, first ? yOf(p1[0]) : bottom);
        bool lifted = false;
        for (int i = 0; i < kSamples; ++i) {
            if (!Drawable(p1[i]) || !Drawable(p2[i])) {
                lifted = true;
                continue;
            }
            if (lifted) dc.MoveTo(xOf(p2[i]), yOf(p1[i]));
            else dc.LineTo(xOf(p2[i]), yOf(p1[i]));
            lifted = false;
        }
    } else {
        auto curve = [&](const int32_t* p) {
            dc.MoveTo(left, Drawable(p[0]) ? yOf(p[0]) : bottom);
            bool lifted = false;
            for (int i = 0; i < kSamples; ++i) {
                if (!Drawable(p[i])) {  // a code off the scale lifts the pen
                    lifted = true;
                    continue;
                }
                const int x = left + Trunc(MulF(i, sx));
                if (lifted) dc.MoveTo(x, yOf(p[i]));
                else dc.LineTo(x, yOf(p[i]));
                lifted = false;
            }
        };
        // Both arrays are asked for before drawing, as the mode hands them out.
        const int32_t* p1 = mode.GetDisplaySamples(1);
        const int32_t* p2 = mode.GetDisplaySamples(2);
        dc.SelectPen(pen1);
        curve(p1);
        if (two) {
            dc.SelectPen(pen2);
            curve(p2);
        }
    }
}


RgbPicture ToRgbPicture(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    RgbPicture picture{rgb.width(), rgb.height(), {}};
    picture.pixels.resize(static_cast<size_t>(rgb.width()) * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            picture.pixels[static_cast<size_t>(y) * rgb.width() + x] = line[x] & 0x00FFFFFFu;
    }
    return picture;
}

QImage RenderPlot(CKivDoc& doc, int width, int height, bool whiteBackground, int fourierClickX) {
    CPlotRenderer renderer;
    CFourierCursor cursor;
    cursor.m_nClickX = fourierClickX;
    return renderer.RenderPlot(doc, width, height, whiteBackground, &cursor);
}

void PaintPreviewPicture(QPainter& painter, CKivDoc& doc, const QRect& target, const CFourierCursor* fourier,
                         bool hairlines) {
    constexpr int kPictureWidth = 800, kPictureHeight = 600;
    // A copy: the render picks the harmonic again for this picture's plot area, which
    // must not move the cursor of the window on screen.
    CFourierCursor cursor;
    if (fourier) cursor = *fourier;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / kPictureWidth, double(target.height()) / kPictureHeight);
    painter.setClipRect(QRect(0, 0, kPictureWidth, kPictureHeight));
    CPlotRenderer renderer;
    renderer.PaintPlot(painter, doc, kPictureWidth, kPictureHeight, true, &cursor, hairlines);
    painter.restore();
}
