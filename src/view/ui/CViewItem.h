// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

#include "data/CData.h"

class CFourierCursor;
class CKivDoc;
class QWidget;

// Hit-test flags of a mouse position (the view's hit flags).
enum ViewHit {
    HIT_PLOT = 0x1,
    HIT_YAXIS = 0x2,    // the label strip of one column
    HIT_Y1AXIS = 0x4,   // outer column of two (plot 1)
    HIT_Y2AXIS = 0x8,   // inner column of two (plot 2)
    HIT_XAXIS = 0x10,
    HIT_CURSOR1 = 0x80,
    HIT_CURSOR2 = 0x100,
    HIT_MARKER1 = 0x200,
    HIT_MARKER2 = 0x400,
};

// What the items drew over the frame the view keeps between paints, repaired from the picture
// before the next frame, and what this frame got back; an item that cannot tell what it drew
// sets the whole frame to be copied again.
struct FrameDamage {
    std::vector<QRect> drawn;
    bool all = false;
    std::vector<QRect> repaired;
    bool repairedAll = true;
    // Where an opaque item painted after the others lies in the kept frame: the others may
    // leave it alone, and it then has nothing of theirs to cover again at each frame.
    QRect covered;
};

// What an item over the picture may ask of the view it lies on: the document, the plot as
// the last render laid it out, the view's switches, the viewport and the frame's damage.
class IPlotView {
public:
    virtual ~IPlotView() = default;
    virtual CKivDoc& Document() const = 0;
    virtual const WindowRect& PlotRect() const = 0;
    virtual bool CursorsShown() const = 0;
    virtual bool OffsetCursorShown() const = 0;
    virtual bool WhiteBackground() const = 0;
    virtual bool IsActive() const = 0;
    virtual const CFourierCursor& FourierCursor() const = 0;
    virtual QWidget* Viewport() const = 0;
    // Of the scroll bars: where the viewport's top-left corner lies in the picture.
    virtual QPoint ScrollPosition() const = 0;
    virtual FrameDamage& Damage() = 0;
    // Whether items paint the frame kept between paints, or a picture of the screen.
    virtual bool IsKeptFrame(const QImage& frame) const = 0;
    // A new picture of the document (m_bRedraw and a repaint).
    virtual void RenderAgain() = 0;
    // An edit the document's file keeps.
    virtual void MarkEdited() = 0;
};

// Something the user handles over the view's picture: it answers the hit test for its
// part of the window, follows a drag from press to release and paints itself over each
// frame, never into the back bitmap, so that moving it costs a copy and a few lines.
// Points are in view coordinates; the geometry is that of the last paint.
class CViewItem {
public:
    explicit CViewItem(IPlotView& view) : m_view(view) {}
    virtual ~CViewItem() = default;
    CViewItem(const CViewItem&) = delete;
    CViewItem& operator=(const CViewItem&) = delete;

    // The item's flags at pt, given the flags of the view's own areas (plot, label strips).
    virtual int HitTest(QPoint pt, int hit) const = 0;
    // Left button down with the hit flags of pt. An item that takes the drag may narrow
    // the rectangle the mouse is confined to until the release.
    virtual void Press(QPoint pt, int hit, QRect& confine) = 0;
    virtual bool IsDragging() const = 0;
    // A mouse move while the item is dragged.
    virtual void Move(QPoint pt) = 0;
    // Left button up while the item is dragged: ends the drag and applies it.
    virtual void Release() = 0;
    // True when the next frame must go through Paint: something to draw or to take down.
    virtual bool NeedsPaint() const = 0;
    virtual void Paint(QImage& frame, CData& mode) = 0;

protected:
    IPlotView& m_view;
};
