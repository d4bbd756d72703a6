// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QTimer>
#include <memory>

#include "document/CKivDoc.h"
#include "platform/IViewSink.h"
#include "render/CFourierCursor.h"
#include "render/CPlotRenderer.h"
#include "view/ui/CCursorItem.h"
#include "view/ui/CMeasureItem.h"
#include "view/ui/COffsetMarkerItem.h"
#include "view/ui/CZoomBandItem.h"

class CFourierPanelDlg;

// The document's plot view: renders the current display mode into a back bitmap, keeps the
// frame it last showed and paints the items (cursors, offset markers, zoom band, measurements)
// over it. The commands that act on a document's window are CViewCommands'.
//
// The picture is never rendered inside paintEvent: a mode brought up to date by the
// render may show message boxes and a progress window, and a nested event loop must
// not run inside a paint. A render request (m_bRedraw) is served from a zero-time
// timer; a paint only copies the bitmap and paints the interactive items over it.
class CKivView : public QAbstractScrollArea, public IViewSink, public IPlotView {
    Q_OBJECT
public:
    explicit CKivView(CKivDoc* pDoc, QWidget* parent = nullptr);
    ~CKivView() override;

    CKivDoc* GetDocument() const { return m_pDoc; }
    void OnInitialUpdate();

    // IViewSink
    void SetRedraw() override;
    void Invalidate() override;
    void GetStoredFlags(int32_t& cursors, int32_t& whiteBackground) const override;
    void SetStoredFlags(int32_t cursors, int32_t whiteBackground) override;

    // IPlotView
    CKivDoc& Document() const override { return *m_pDoc; }
    const WindowRect& PlotRect() const override { return m_rcPlot; }
    bool CursorsShown() const override { return m_bCursors != 0; }
    bool OffsetCursorShown() const override { return m_bOffsetCursor != 0; }
    bool WhiteBackground() const override { return m_bWhiteBackground != 0; }
    bool IsActive() const override { return m_bActive != 0; }
    const CFourierCursor& FourierCursor() const override { return m_fourierCursor; }
    QWidget* Viewport() const override { return viewport(); }
    QPoint ScrollPosition() const override;
    FrameDamage& Damage() override { return m_damage; }
    bool IsKeptFrame(const QImage& frame) const override { return &frame == &m_frame; }
    void RenderAgain() override;
    // The file keeps what the edits change (plot settings, scales, offsets, the background),
    // so closing the document must offer to save them.
    void MarkEdited() override;

    // The view's switches. The cursors and the offset cursor are drawn over the picture; the
    // background is the picture's and is kept in the document's file.
    void SetCursorsShown(bool on);
    void SetOffsetCursorShown(bool on);
    void SetWhiteBackground(bool on);
    // Whether a new picture is due (m_bRedraw).
    bool RedrawPending() const { return m_bRedraw != 0; }
    // Hit flags of the last mouse position.
    int Hit() const { return m_nHit; }

    // Renders m_rcClient into a new m_pBackBitmap with the current background. Messages
    // the mode raises meanwhile are shown once the picture is made.
    void RenderPlot();
    // What a paint needs first: when m_bRedraw is set, clears it and renders at the
    // window's size (at least 400 x 200). True when it rendered.
    bool UpdatePicture();
    // The picture at width x height with the given background, for a form, the clipboard or a
    // page; the window renders at its own size again afterwards. Null when none was made.
    QImage RenderPicture(int width, int height, bool whiteBackground);
    // The picture export's picture: 800 x 600 with the current background.
    RgbPicture RenderExportPicture();
    // Where the Fourier cursor was clicked, for the forms that draw the plot at any size.
    int FourierClickX() const { return m_fourierCursor.m_nClickX; }

    // The framework's view activation; panels hide while the view is inactive.
    void OnActivateView(bool active);

    const QImage* BackBitmap() const { return m_pBackBitmap.get(); }
    // The picture with everything drawn over it on screen, as the next paint shows it.
    QImage ScreenPicture();

    CCursorItem& Cursors() { return m_cursors; }
    COffsetMarkerItem& OffsetMarker(int plot) { return plot == 1 ? m_offsetMarker1 : m_offsetMarker2; }
    CMeasureItem& Measurements() { return m_measure; }
    CCursorPanel* CursorPanel() const { return m_cursors.CursorPanel(); }
    CFourierPanelDlg* FourierPanel() const { return m_cursors.FourierPanel(); }

signals:
    // A double click on a label strip: HIT_YAXIS, HIT_Y1AXIS, HIT_Y2AXIS or HIT_XAXIS.
    void axisDoubleClicked(int axisCode);
    // A paint showed a picture of the document as it stands.
    void plotPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The scroll bars see a window 100 pixels narrower than it is.
    void OnSize(int cx, int cy);
    void UpdateBars(int cx, int cy);

    // Mouse (CKivViewMouse.cpp).
    QPoint ViewPoint(const QMouseEvent* event) const;
    void HitTest(QPoint pt);
    void SetMouseCursor();
    // ClipCursor: the handled point stays inside rc, its right and bottom edges included.
    void Confine(const QRect& rc);
    void ReleaseConfinement();

    // The items over a copy of the bitmap, in order.
    void DrawOverlays(QImage& frame);
    // m_frame as the picture again where the last frame's items drew.
    void RepairFrame();
    bool NeedsOverlays() const;

    CKivDoc* m_pDoc;
    int m_bRedraw = 1;
    int m_bWhiteBackground = 0;
    int m_bCursors = 0;
    int m_bOffsetCursor = 0;
    WindowRect m_rcClient;  // rectangle the next render fills
    WindowRect m_rcPlot;    // plot area of the last render
    CFourierCursor m_fourierCursor;
    // Hit flags of the last mouse position, in view coordinates (the picture's, scroll
    // position added).
    int m_nHit = 0;
    int m_bActive = 1;

    std::unique_ptr<QImage> m_pBackBitmap;
    // The picture with the items over it, kept between paints: a frame of a drag copies back
    // only what the items drew last time, not the whole picture.
    QImage m_frame;
    bool m_bFrameStale = true;  // the picture changed since m_frame was copied from it
    FrameDamage m_damage;
    CPlotRenderer m_renderer;
    QTimer m_renderTimer;
    int m_nBusy = 0;  // rendering, or showing the render's messages
    QRect m_rcConfine;
    bool m_bConfined = false;
    bool m_bMdiConnected = false;

    // What the mouse handles over the picture, in the order they are painted.
    CCursorItem m_cursors{*this};
    COffsetMarkerItem m_offsetMarker1{*this, 1}, m_offsetMarker2{*this, 2};
    CZoomBandItem m_zoomBand{*this};
    CMeasureItem m_measure{*this};
    CViewItem* const m_items[5] = {&m_cursors, &m_offsetMarker1, &m_offsetMarker2, &m_zoomBand, &m_measure};
};
