#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QTimer>
#include <memory>

#include "data/CKivDoc.h"
#include "platform/IViewSink.h"
#include "view/ui/CFourierCursor.h"
#include "view/ui/CPlotRenderer.h"

class QPrinter;

// The document's window: renders the current display mode into a back bitmap and
// copies it on paint. Commands reach it from the frame through OnCommand.
//
// The picture is never rendered inside paintEvent: a mode brought up to date by the
// render may show message boxes and a progress window, and a nested event loop must
// not run inside a paint. A render request (m_bRedraw) is served from a zero-time
// timer; a paint only copies the bitmap.
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
    static int PrintedHeight(int hr, int vr);
    // The printer that print, preview and the frame's printer setup share.
    static QPrinter& SharedPrinter();

    const QImage* BackBitmap() const { return m_pBackBitmap.get(); }

    int m_bRedraw = 1;
    int m_bWhiteBackground = 0;
    int m_bCursors = 0;
    int m_bOffsetCursor = 0;

    WindowRect m_rcClient;  // rectangle the next render fills
    WindowRect m_rcPlot;    // plot area of the last render
    CFourierCursor m_fourierCursor;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The scroll bars see a window 100 pixels narrower than it is.
    void OnSize(int cx, int cy);

    CKivDoc* m_pDoc;

private:
    void UpdateBars(int cx, int cy);
    void ReRender();

    std::unique_ptr<QImage> m_pBackBitmap;
    CPlotRenderer m_renderer;
    QTimer m_renderTimer;
    int m_nBusy = 0;  // rendering, or showing the render's messages
};
