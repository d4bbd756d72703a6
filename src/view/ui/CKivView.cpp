#include "view/ui/CKivView.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "analysis/MeanRms.h"
#include "analysis/ui/CFourierPanelDlg.h"
#include "analysis/ui/CGeneratorDlg.h"
#include "analysis/ui/CMeanRmsDlg.h"
#include "app/CommandIds.h"
#include "view/ui/CPlotSettingsDlg.h"
#include "view/ui/CPrintPreview.h"
#include "view/ui/CScaleDlg.h"
#include "qtcore/KivLanguage.h"

namespace {

// Scroll sizes of the picture, and the smallest picture rendered for the window.
constexpr int kMinWidth = 400;
constexpr int kMinHeight = 200;

// Holds the boxes a render raises so that they are shown after it; the mode goes on
// as if each had been answered OK, which is all its boxes offer.
class CDeferredMessages : public IMessages {
public:
    MsgResult Show(const std::string& text, const std::string& caption, MsgIcon icon,
                   MsgButtons buttons) override {
        // A stale mode is asked again for every label column and curve; one box
        // per render says it.
        for (const Box& b : m_boxes)
            if (b.text == text && b.caption == caption && b.icon == icon) return MsgResult::Ok;
        m_boxes.push_back({text, caption, icon, buttons});
        return MsgResult::Ok;
    }
    struct Box {
        std::string text, caption;
        MsgIcon icon;
        MsgButtons buttons;
    };
    std::vector<Box> m_boxes;
};

}  // namespace

CKivView::CKivView(CKivDoc* pDoc, QWidget* parent) : QAbstractScrollArea(parent), m_pDoc(pDoc) {
    // Never erased with a colour of its own: every paint covers the viewport.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::CrossCursor);
    viewport()->setMouseTracking(true);  // hit flags and mouse shapes follow every move
    setFrameShape(QFrame::NoFrame);
    m_renderTimer.setSingleShot(true);
    m_renderTimer.setInterval(0);
    connect(&m_renderTimer, &QTimer::timeout, this, [this] { UpdatePicture(); });
    // A document loaded before the view existed kept the view's flags for it.
    int32_t cursors = 0, white = 0;
    m_pDoc->GetViewFlags(cursors, white);
    m_bCursors = cursors;
    m_bWhiteBackground = white;
    m_pDoc->SetView(this);
    m_promptFile = [this](QString& path, bool save) { return PromptFile(path, save); };
}

CKivView::~CKivView() {
    if (m_pDoc->GetView() == this) {
        m_pDoc->SetView(nullptr);
        m_pDoc->SetViewFlags(m_bCursors, m_bWhiteBackground);
    }
}

void CKivView::OnInitialUpdate() {
    m_pDoc->SetView(this);
    UpdateBars(viewport()->width() - 100, viewport()->height());
    SetRedraw();
    Invalidate();
}

// Scroll sizes 400 x 200 with the default page (a tenth) and line (a hundredth) steps.
void CKivView::UpdateBars(int cx, int cy) {
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, kMinWidth - cx));
    v->setRange(0, std::max(0, kMinHeight - cy));
    h->setPageStep(kMinWidth / 10);
    h->setSingleStep(kMinWidth / 100);
    v->setPageStep(kMinHeight / 10);
    v->setSingleStep(kMinHeight / 100);
}

void CKivView::OnSize(int cx, int cy) {
    UpdateBars(cx, cy);
    m_bRedraw = 1;
}

void CKivView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    OnSize(viewport()->width() - 100, viewport()->height());
    Invalidate();
}

void CKivView::SetRedraw() { m_bRedraw = 1; }

void CKivView::Invalidate() {
    if (m_bRedraw) m_renderTimer.start();
    viewport()->update();
}

void CKivView::ReRender() {
    SetRedraw();
    Invalidate();
}

void CKivView::GetStoredFlags(int32_t& cursors, int32_t& whiteBackground) const {
    cursors = m_bCursors;
    whiteBackground = m_bWhiteBackground;
}

void CKivView::SetStoredFlags(int32_t cursors, int32_t whiteBackground) {
    m_bCursors = cursors;
    m_bWhiteBackground = whiteBackground;
}

void CKivView::RenderPlot() {
    const CPlatform platform = m_pDoc->Platform();
    CDeferredMessages deferred;
    {
        CPlatform quiet = platform;
        quiet.messages = &deferred;
        m_pDoc->SetPlatform(quiet);
        struct Restore {
            CKivDoc* doc;
            const CPlatform& platform;
            ~Restore() { doc->SetPlatform(platform); }
        } restore{m_pDoc, platform};
        // The mode's progress window may let events through: paints keep copying the
        // old bitmap, and a render asked for meanwhile waits for this one.
        ++m_nBusy;
        QImage picture = m_renderer.RenderPlot(*m_pDoc, m_rcClient.right, m_rcClient.bottom,
                                               m_bWhiteBackground != 0, &m_fourierCursor);
        --m_nBusy;
        m_pBackBitmap = std::make_unique<QImage>(std::move(picture));
        m_bFrameStale = true;
        m_rcPlot = m_renderer.PlotRect();
    }
    viewport()->update();
    if (!deferred.m_boxes.empty()) {
        // Boxes run their own event loop too.
        ++m_nBusy;
        for (const auto& b : deferred.m_boxes) platform.Message(b.text, b.caption, b.icon, b.buttons);
        --m_nBusy;
    }
    if (m_bRedraw && !m_nBusy) m_renderTimer.start();
}

bool CKivView::UpdatePicture() {
    if (!m_bRedraw || m_nBusy) return false;
    m_bRedraw = 0;
    m_rcClient = {0, 0, std::max(viewport()->width(), kMinWidth), std::max(viewport()->height(), kMinHeight)};
    RenderPlot();
    return true;
}

namespace {

// The start-up benchmark (bench/startup.sh) puts the launch time in KIV_FIRST_FRAME, in ns of
// CLOCK_REALTIME: the first frame with the plot on it prints the milliseconds since then and
// ends the program.
void ReportFirstFrame() {
    static const char* launched = std::getenv("KIV_FIRST_FRAME");
    if (!launched) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::printf("%.1f\n", (double(now.tv_sec) * 1e9 + double(now.tv_nsec) - std::strtod(launched, nullptr)) / 1e6);
    std::fflush(stdout);
    launched = nullptr;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

}  // namespace

void CKivView::paintEvent(QPaintEvent* event) {
    if (m_bRedraw && !m_renderTimer.isActive() && !m_nBusy) m_renderTimer.start();
    QPainter p(viewport());
    const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    QRegion uncovered(event->rect());
    if (m_pBackBitmap) {
        if (NeedsOverlays()) {
            RepairFrame();
            DrawOverlays(m_frame);
            p.drawImage(origin, m_frame);
        } else {
            p.drawImage(origin, *m_pBackBitmap);
        }
        uncovered -= QRect(origin, m_pBackBitmap->size());
    }
    // Beyond the picture (scrolled past it, or before the first render) the
    // background colour stands in for the stale screen.
    const QColor background = m_bWhiteBackground ? Qt::white : Qt::black;
    for (const QRect& r : uncovered) p.fillRect(r, background);
    if (m_pBackBitmap && !m_bRedraw) ReportFirstFrame();
}

void CKivView::OnEditCopy() {
    m_rcClient = {0, 0, 800, 600};
    RenderPlot();
    if (m_pBackBitmap) {
        if (QClipboard* clipboard = QGuiApplication::clipboard()) {
            clipboard->setImage(*m_pBackBitmap);
            m_pBackBitmap.reset();  // the clipboard has the picture now
            m_bFrameStale = true;
        }
    }
    ReRender();
}

RgbPicture CKivView::RenderExportPicture() {
    m_rcClient = {0, 0, 800, 600};
    RenderPlot();
    RgbPicture picture = ToRgbPicture(*m_pBackBitmap);
    ReRender();
    return picture;
}

bool CKivView::PrintPage(QPrinter& printer) {
    const int white = m_bWhiteBackground;
    m_rcClient = {0, 0, 800, 600};
    m_bRedraw = 1;  // the window renders at its own size again afterwards
    m_bWhiteBackground = 1;
    RenderPlot();
    m_bWhiteBackground = white;
    Invalidate();
    if (!m_pBackBitmap) return false;
    QPainter p;
    if (!p.begin(&printer)) return false;
    // Without this the page would carry the picture as a lossy JPEG.
    p.setRenderHint(QPainter::LosslessImageRendering);
    const int hr = printer.width(), vr = printer.height();
    p.drawImage(QRect(0, 0, hr, PrintedHeight(hr, vr)), *m_pBackBitmap);
    return p.end();
}

QPrinter& CKivView::SharedPrinter() {
    static QPrinter* printer = [] {
        auto* p = new QPrinter(QPrinter::HighResolution);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [p] { delete p; });
        return p;
    }();
    return *printer;
}

void CKivView::OnFilePrint(bool withDialog) {
    QPrinter& printer = SharedPrinter();
    printer.setFromTo(1, 1);
    if (withDialog) {
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, 1);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    PrintPage(printer);
}

void CKivView::OnFilePrintPreview() {
    QPrintPreviewDialog dialog(&SharedPrinter(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PaintPreviewPage(*m_pDoc, *printer, &m_fourierCursor); });
    dialog.exec();
}

bool CKivView::OnCommand(int id) {
    if (ModeOfCommand(id) >= 0) {
        m_pDoc->SetMode(ModeOfCommand(id));
        return true;
    }
    switch (id) {
    case ID_PLOT1_TOGGLE:
    case ID_PLOT2_TOGGLE: m_pDoc->TogglePlot(id == ID_PLOT1_TOGGLE ? 1 : 2); return true;
    case ID_CURSOR:  // drawn over the picture: no new render
        m_bCursors = !m_bCursors;
        Invalidate();
        return true;
    case ID_WHITE_BACKGROUND:
        m_bWhiteBackground = !m_bWhiteBackground;
        MarkEdited();
        ReRender();
        return true;
    case ID_OFFSET_CURSOR:
        m_bOffsetCursor = !m_bOffsetCursor;
        Invalidate();
        return true;
    case ID_MEASUREMENTS: m_measure.Toggle(); return true;
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_PLOT1_DATA: OnPlotSettings(1); return true;
    case ID_PLOT2_DATA: OnPlotSettings(2); return true;
    case ID_PLOT1_SCALE: OnScale(m_pDoc->GetCurrentMode()->ShowsTwoCurves() ? HIT_Y1AXIS : HIT_YAXIS); return true;
    case ID_PLOT2_SCALE: OnScale(m_pDoc->GetCurrentMode()->ShowsTwoCurves() ? HIT_Y2AXIS : HIT_YAXIS); return true;
    case ID_AXIS_X_SCALE: OnScale(HIT_XAXIS); return true;
    case ID_MEAN_RMS: OnMeanRms(); return true;
    case ID_IMPORT: OnImport(); return true;
    case ID_EXPORT: OnExport(); return true;
    case ID_GENERATOR: OnGenerate(); return true;
    case ID_FILE_PRINT: OnFilePrint(true); return true;
    case ID_FILE_PRINT_DIRECT: OnFilePrint(false); return true;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); return true;
    default: return false;
    }
}

bool CKivView::OnUpdateCommand(int id, CmdState& state) {
    if (const int m = ModeOfCommand(id); m >= 0) {
        state = {m_pDoc->IsModeAvailable(m), m == m_pDoc->m_currentMode};
        return true;
    }
    const CData& mode = *m_pDoc->GetCurrentMode();
    switch (id) {
    case ID_PLOT1_TOGGLE:
    case ID_PLOT2_TOGGLE: {
        const uint8_t bit = id == ID_PLOT1_TOGGLE ? 1 : 2;
        state = {(m_pDoc->Source().m_nPresent & bit) != 0, (m_pDoc->Source().m_nEnabled & bit) != 0};
        return true;
    }
    case ID_CURSOR:
        state.enabled = mode.IsAvailable() && !mode.IsXY();
        state.checked = state.enabled && m_bCursors;
        return true;
    case ID_WHITE_BACKGROUND: state = {true, m_bWhiteBackground != 0}; return true;
    case ID_MEASUREMENTS: state = {true, m_measure.IsOn()}; return true;
    case ID_OFFSET_CURSOR:
        state.enabled = COffsetMarkerItem::Applies(mode);
        state.checked = state.enabled && m_bOffsetCursor;
        return true;
    case ID_PLOT1_DATA:
    case ID_PLOT2_DATA:
        state = {(m_pDoc->Source().m_nPresent & (id == ID_PLOT1_DATA ? 1 : 2)) != 0, false};
        return true;
    case ID_PLOT1_SCALE:
    case ID_PLOT2_SCALE:
        state = {(m_pDoc->Source().m_nEnabled & (id == ID_PLOT1_SCALE ? 1 : 2)) != 0, false};
        return true;
    case ID_AXIS_X_SCALE:
    case ID_EXPORT: state = {m_pDoc->Source().m_nEnabled != 0, false}; return true;
    case ID_MEAN_RMS: state = {m_pDoc->CanComputeMeanRms(), false}; return true;
    case ID_IMPORT:
    case ID_GENERATOR:
    case ID_EDIT_COPY:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW: state = {true, false}; return true;
    default: return false;
    }
}

void CKivView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (m_bMdiConnected) return;
    // Inside a multi-document frame the view is active while its child window is.
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        auto* area = qobject_cast<QMdiArea*>(w);
        if (!area) continue;
        m_bMdiConnected = true;
        auto mine = [this](QMdiSubWindow* sub) { return sub && sub->isAncestorOf(this); };
        m_bActive = mine(area->activeSubWindow());
        connect(area, &QMdiArea::subWindowActivated, this,
                [this, mine](QMdiSubWindow* sub) { OnActivateView(mine(sub)); });
        break;
    }
}

void CKivView::OnActivateView(bool active) {
    m_bActive = active;
    if (!active) m_cursors.HidePanels();
    viewport()->update();
}

// The file keeps what these edits change (plot settings, scales, offsets, the background),
// so closing the document must offer to save them.
void CKivView::MarkEdited() { m_pDoc->SetModifiedFlag(true); }

bool CKivView::NeedsOverlays() const {
    return std::any_of(std::begin(m_items), std::end(m_items),
                       [](const CViewItem* item) { return item->NeedsPaint(); });
}

void CKivView::RepairFrame() {
    m_bFrameRepairedAll = m_bFrameStale || m_bFrameDamageAll || m_frame.size() != m_pBackBitmap->size();
    if (m_bFrameRepairedAll) {
        m_frame = m_pBackBitmap->copy();
        m_bFrameStale = m_bFrameDamageAll = false;
    } else {
        const qsizetype stride = m_frame.bytesPerLine();
        uchar* to = m_frame.bits();
        const uchar* from = m_pBackBitmap->constBits();
        for (const QRect& damage : m_frameDamage) {
            const QRect r = damage & m_frame.rect();
            for (int y = r.top(); y <= r.bottom(); ++y)
                std::memcpy(to + y * stride + r.left() * 4, from + y * stride + r.left() * 4, size_t(r.width()) * 4);
        }
    }
    m_frameRepaired.swap(m_frameDamage);
    m_frameDamage.clear();
}

void CKivView::DrawOverlays(QImage& frame) {
    CData& mode = *m_pDoc->GetCurrentMode();
    for (CViewItem* item : m_items) item->Paint(frame, mode);
}

QImage CKivView::ScreenPicture() {
    UpdatePicture();
    if (!m_pBackBitmap) return {};
    QImage frame = *m_pBackBitmap;
    DrawOverlays(frame);
    return frame;
}

void CKivView::OnPlotSettings(int plot) {
    CDataSrc& src = m_pDoc->Source();
    PlotSettings settings;
    src.GetPlotSettings(settings, plot);
    COLORREF& colour = plot == 1 ? src.m_crColour1 : src.m_crColour2;
    CPlotSettingsDlg dlg(plot == 1 ? KivTr("Kiv", "Właściwości wykresu 1") : KivTr("Kiv", "Właściwości wykresu 2"),
                         settings, colour, this);
    if (dlg.exec() != QDialog::Accepted) return;
    settings = dlg.Settings();
    src.SetPlotSettings(settings, plot);
    colour = dlg.SwatchColour();
    m_pDoc->DataChanged();
    MarkEdited();
}

void CKivView::OnScale(int code) {
    CData& mode = *m_pDoc->GetCurrentMode();
    const char* title = nullptr;
    int axis = 1;
    switch (code) {
    case HIT_YAXIS: title = KIV_TR_NOOP("Kiv", "Oś Y"); break;
    case HIT_Y1AXIS: title = KIV_TR_NOOP("Kiv", "Oś Y1"); break;
    case HIT_Y2AXIS: title = KIV_TR_NOOP("Kiv", "Oś Y2"), axis = 2; break;
    case HIT_XAXIS: title = KIV_TR_NOOP("Kiv", "Oś X"), axis = 3; break;
    default: return;
    }
    if (!mode.IsAvailable()) return;
    AxisWindowInfo info;
    const bool modified = m_pDoc->IsModified();
    mode.GetAxisInfo(info, axis);
    m_pDoc->SetModifiedFlag(modified);  // reading the axis is no edit: only OK changes the document
    CScaleDlg dlg(KivTr("Kiv", title), info, this);
    if (dlg.exec() != QDialog::Accepted) return;
    mode.SetAxisWindow(dlg.Info(), axis);
    mode.UpdateDisplay();
    MarkEdited();
    ReRender();
}

void CKivView::OnMeanRms() {
    // The cursors mark the range while the values are read.
    const int cursors = m_bCursors;
    m_bCursors = 1;
    Invalidate();
    std::string values[4];
    bool two = false;
    if (!m_pDoc->ComputeMeanRms(values, two)) {
        m_pDoc->Platform().Message(kMeanRmsErrorText, kMeanRmsErrorCaption, MsgIcon::Exclamation);
    } else {
        CMeanRmsDlg dlg(MeanRmsDialogFields(values, two), this);
        dlg.exec();
    }
    m_bCursors = cursors;
    Invalidate();
}

void CKivView::OnGenerate() {
    CGeneratorDlg dlg(m_pDoc->Platform(), this);
    const bool ok = dlg.exec() == QDialog::Accepted;
    m_pDoc->OnGenerate(ok ? &dlg.Params() : nullptr);
    ReRender();
}
