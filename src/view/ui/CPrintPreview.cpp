// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CPrintPreview.h"

#include <QPainter>
#include <QPrinter>

#include "document/CKivDoc.h"
#include "render/CPlotRenderer.h"

bool PaintPreviewPage(CKivDoc& doc, QPrinter& printer, const CFourierCursor* fourier) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const int hr = printer.width(), vr = printer.height();
    PaintPreviewPicture(painter, doc, QRect(0, 0, hr, CPlotRenderer::PrintedHeight(hr, vr)), fourier);
    return painter.end();
}
