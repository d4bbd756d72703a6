#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/CommandIds.h"
#include "document/CKivDoc.h"
#include "platform/IViewSink.h"
#include "view/ui/CCursorItem.h"
#include "render/CFourierCursor.h"
#include "view/ui/CMeasureItem.h"
#include "view/ui/COffsetMarkerItem.h"
#include "render/CPlotRenderer.h"
#include "view/ui/CZoomBandItem.h"

class CCursorPanel;
class CCursorPanel2;
class CFourierPanelDlg;
class QPrinter;

// The document's window: renders the current display mode into a back bitmap and
// copies it on paint. Commands reach it from the frame through OnCommand.
//
// The picture is never rendered inside paintEvent: a mode brought up to date by the
// render may show message boxes and a progress window, and a nested event loop must
// not run inside a paint. A render request (m_bRedraw) is served from a zero-time
// timer; a paint only copies the bitmap and paints the interactive items over it.
class CKivView : public QAbstractScrollArea, public IViewSink {
    Q_OBJECT
public:
    explicit CKivView(CKivDoc* pDoc, QWidget* parent = nullptr);
    ~CKivView() override;

    CKivDoc* GetDocument() const { return m_pDoc; }
    void OnInitialUpdate();

    // True when the view (or its document) handles the command id.
    bool OnCommand(int id);
    // Fills the enable/check state; false when the view does not know the id.
    bool OnUpdateCommand(int id, CmdState& state);

    // IViewSink
    void SetRedraw() override;
    void Invalidate() override;
    void GetStoredFlags(int32_t& cursors, int32_t& whiteBackground) const override;
    void SetStoredFlags(int32_t cursors, int32_t whiteBackground) override;

    // Renders m_rcClient into a new m_pBackBitmap with the current background. Messages
    // the mode raises meanwhile are shown once the picture is made.
    void RenderPlot();
    // What a paint needs first: when m_bRedraw is set, clears it and renders at the
    // window's size (at least 400 x 200). True when it rendered.
    bool UpdatePicture();

    // The picture export's picture: rendered at 800 x 600 with the current background
    // into the back bitmap; the window renders at its own size again afterwards.
    RgbPicture RenderExportPicture();
    // Copies the 800 x 600 picture with the current background to the clipboard.
    void OnEditCopy();
    // One page: the picture at 800 x 600 on white, as wide as the page. False when
    // nothing could be printed.
    bool PrintPage(QPrinter& printer);
    void OnFilePrint(bool withDialog = true);
    void OnFilePrintPreview();
    // Height of the printed picture on a page of hr x vr device pixels.
    static int PrintedHeight(int hr, int vr) { return CPlotRenderer::PrintedHeight(hr, vr); }
    // The printer that print, preview and the frame's printer setup share.
    static QPrinter& SharedPrinter();

    const QImage* BackBitmap() const { return m_pBackBitmap.get(); }

    // Commands with dialogs.
    void OnPlotSettings(int plot);
    // Scale dialog of an axis code: 2 "Oś Y", 4 "Oś Y1", 8 "Oś Y2", 16 "Oś X".
    void OnScale(int code);
    void OnMeanRms();
    void OnGenerate();
    void OnImport();
    void OnExport();
    // The framework's view activation; panels hide while the view is inactive.
    void OnActivateView(bool active);
    // An edit of what the document shows, kept in its file.
    void MarkEdited();

    // The picture with everything drawn over it on screen, as the next paint shows it.
    QImage ScreenPicture();
    CCursorPanel* CursorPanel() const { return m_cursors.CursorPanel(); }
    CCursorPanel2* CursorPanel2() const { return m_cursors.CursorPanel2(); }
    CFourierPanelDlg* FourierPanel() const { return m_cursors.FourierPanel(); }

    // What the items drew over the kept frame, repaired from the picture before the next
    // frame; an item that cannot tell sets the whole frame to be copied again.
    std::vector<QRect> m_frameDamage;
    bool m_bFrameDamageAll = false;
    // What the frame being painted got back from the picture before the items: the rectangles
    // of the last frame's damage, or all of it.
    std::vector<QRect> m_frameRepaired;
    bool m_bFrameRepairedAll = true;
    // Whether items paint the frame kept between paints, or a picture of the screen.
    bool IsKeptFrame(const QImage& frame) const { return &frame == &m_frame; }

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
    // What the mouse handles over the picture, in the order they are painted.
    CCursorItem m_cursors{*this};
    COffsetMarkerItem m_offsetMarker1{*this, 1}, m_offsetMarker2{*this, 2};
    CZoomBandItem m_zoomBand{*this};
    CMeasureItem m_measure{*this};

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The scroll bars see a window 100 pixels narrower than it is.
    void OnSize(int cx, int cy);

    CKivDoc* m_pDoc;

private:
    void UpdateBars(int cx, int cy);
    void ReRender();

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
    bool PromptFile(QString& path, bool save);

    std::unique_ptr<QImage> m_pBackBitmap;
    // The picture with the items over it, kept between paints: a frame of a drag copies back
    // only what the items drew last time, not the whole picture.
    QImage m_frame;
    bool m_bFrameStale = true;  // the picture changed since m_frame was copied from it
    CPlotRenderer m_renderer;
    QTimer m_renderTimer;
    int m_nBusy = 0;  // rendering, or showing the render's messages
    QRect m_rcConfine;
    bool m_bConfined = false;
    CViewItem* const m_items[5] = {&m_cursors, &m_offsetMarker1, &m_offsetMarker2, &m_zoomBand, &m_measure};
    bool m_bMdiConnected = false;

public:
    // File dialogs of import (save false) and export (save true); tests answer them.
    std::function<bool(QString& path, bool save)> m_promptFile;
};
