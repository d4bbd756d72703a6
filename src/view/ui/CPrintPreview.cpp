#include "view/ui/CPrintPreview.h"

#include <QPainter>
#include <QPrinter>

#include "view/ui/CFourierCursor.h"
#include "view/ui/CKivView.h"
#include "view/ui/CPlotRenderer.h"

namespace {

constexpr int kPictureWidth = 800, kPictureHeight = 600;

}  // namespace

void PaintPreviewPicture(QPainter& painter, CKivDoc& doc, const QRect& target, const CFourierCursor* fourier) {
    // A copy: the render picks the harmonic again for this picture's plot area, which
    // must not move the cursor of the window on screen.
    CFourierCursor cursor;
    if (fourier) cursor = *fourier;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / kPictureWidth, double(target.height()) / kPictureHeight);
    painter.setClipRect(QRect(0, 0, kPictureWidth, kPictureHeight));
    CPlotRenderer renderer;
    renderer.PaintPlot(painter, doc, kPictureWidth, kPictureHeight, true, &cursor);
    painter.restore();
}

bool PaintPreviewPage(CKivDoc& doc, QPrinter& printer, const CFourierCursor* fourier) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const int hr = printer.width(), vr = printer.height();
    PaintPreviewPicture(painter, doc, QRect(0, 0, hr, CKivView::PrintedHeight(hr, vr)), fourier);
    return painter.end();
}
