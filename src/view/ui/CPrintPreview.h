// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRect>

#include "render/CPlotRenderer.h"

class CFourierCursor;
class CKivDoc;
class QPainter;
class QPrinter;

// The page the print preview shows. The printed page stretches the 800 x 600 bitmap,
// whose one-pixel lines the preview's reduction would drop; here the same picture is
// drawn with lines that stay one screen pixel wide at every zoom.

// One page, laid out as the printed one: as wide as the page, as high as the printed
// picture. fourier is the view's Fourier cursor (null: clicked at x 0); it is left as
// it is. False when the printer cannot be painted on.
bool PaintPreviewPage(CKivDoc& doc, QPrinter& printer, const CFourierCursor* fourier = nullptr);
