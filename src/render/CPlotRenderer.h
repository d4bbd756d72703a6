// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFont>
#include <QImage>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/CData.h"
#include "data/CPcxEncoder.h"
#include "render/CFourierCursor.h"

class CKivDoc;
class QFontMetrics;
class QPainter;

// The picture of a document's current display mode: background, grid, axis labels,
// the curves (or the harmonic bars and the Fourier cursor). Needs no widget, only a
// QGuiApplication for the font, so tools and the picture export can use it offscreen.
class CPlotRenderer {
public:
    CPlotRenderer();

    // Renders a width x height picture (RGB32) as the view's back bitmap. The current
    // mode recalculates first when its data are stale, which may raise the mode's
    // messages through the document's platform. fourier may be null (clicked x 0);
    // else its harmonic and plot are picked again for this picture.
    QImage RenderPlot(CKivDoc& doc, int width, int height, bool whiteBackground,
                      CFourierCursor* fourier = nullptr);
    // The same picture drawn through a painter onto any device, in a width x height
    // frame of the painter's coordinates. Lines take cosmetic pens, one device pixel
    // whatever the painter's transform, so that a shrunken picture (the print
    // preview) keeps every grid line and curve; without hairlines they are one unit of
    // the frame wide and scale with it, as the printed bitmap's pixels do (a PDF page).
    void PaintPlot(QPainter& painter, CKivDoc& doc, int width, int height, bool whiteBackground,
                   CFourierCursor* fourier = nullptr, bool hairlines = true);

    // Height of the printed picture on a page of hr x vr device pixels.
    static int PrintedHeight(int hr, int vr) { return hr < 1.5 * vr ? Trunc(hr * 0.6666667) : vr; }

    // Plot area of the last render.
    const WindowRect& PlotRect() const { return m_rcPlot; }

    // Plot area inside a client rectangle (0, 0, width, height): room for one label
    // column on the left, or two when the mode shows two curves.
    static WindowRect Layout(const CData& mode, int width, int height);

    // "Courrier New" bold 15 px; monospace hint so that a missing face still falls
    // back to a fixed-pitch one. Not antialiased: the picture keeps a handful of
    // colours, which the 256-colour picture export relies on.
    static QFont LabelFont();

private:
    // Grid, labels and curves on dc; withText(draw) runs draw(label) for the labels, where
    // label(text, ax, ay, colour, background) puts one on the same picture.
    template <class Canvas, class WithText>
    void Draw(Canvas& dc, WithText withText, CData& mode, int width, int height, QRgb background,
              CFourierCursor* fourier);
    void DrawLabel(QPainter& p, const QFontMetrics& fm, const std::string& text, int ax, int ay, QRgb colour,
                   QRgb background);
    static void DrawLabelAt(QPainter& p, const QFontMetrics& fm, const QString& s, int tw, const QRect& box, int x,
                            QRgb colour, QRgb background);
    void BlitLabel(QImage& image, const std::string& text, int ax, int ay, QRgb colour, QRgb background);
    // A label's box about its anchor, and the left of its text (tw wide) in it.
    static QRect LabelBox(int ax, int ay) { return {ax - 23, ay - 10, 46, 20}; }
    static int LabelX(int ax, int tw) { return (ax - 23 + ax + 23 - tw) / 2; }

    // One label drawn once: its opaque pixels, row by row.
    struct LabelSprite {
        QRgb colour, background;
        int offset;  // of the text in the box
        QImage picture;  // null where the text came out smoothed: drawn each time then
        struct Span {
            int row, from, to;
        };
        std::vector<Span> spans;
    };
    struct LabelText {
        int width = 0;
        std::vector<LabelSprite> sprites;
    };
    std::unordered_map<std::string, LabelText> m_labels;

    QFont m_font;
    WindowRect m_rcPlot;
};

// The page picture: 800 x 600 on white, scaled into target of painter (the print preview,
// the PDF export); hairlines as PaintPlot takes them.
void PaintPreviewPicture(QPainter& painter, CKivDoc& doc, const QRect& target, const CFourierCursor* fourier = nullptr,
                         bool hairlines = true);

// One call for tools: the picture as the view renders it, with the Fourier cursor
// clicked at fourierClickX.
QImage RenderPlot(CKivDoc& doc, int width, int height, bool whiteBackground, int fourierClickX = 0);

// The rendered picture as the picture export reads it: 0x00RRGGBB, row by row.
RgbPicture ToRgbPicture(const QImage& image);
