// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CKivView.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <vector>

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

void CKivView::RenderAgain() {
    SetRedraw();
    Invalidate();
}

QPoint CKivView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CKivView::SetCursorsShown(bool on) {
    m_bCursors = on;
    Invalidate();  // drawn over the picture: no new render
}

void CKivView::SetOffsetCursorShown(bool on) {
    m_bOffsetCursor = on;
    Invalidate();
}

void CKivView::SetWhiteBackground(bool on) {
    m_bWhiteBackground = on;
    MarkEdited();
    RenderAgain();
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
    if (m_pBackBitmap && !m_bRedraw) emit plotPainted();
}

QImage CKivView::RenderPicture(int width, int height, bool whiteBackground) {
    const int white = m_bWhiteBackground;
    m_rcClient = {0, 0, width, height};
    m_bWhiteBackground = whiteBackground;
    RenderPlot();
    m_bWhiteBackground = white;
    QImage picture = m_pBackBitmap ? *m_pBackBitmap : QImage();
    RenderAgain();
    return picture;
}

RgbPicture CKivView::RenderExportPicture() {
    return ToRgbPicture(RenderPicture(800, 600, m_bWhiteBackground != 0));
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

void CKivView::MarkEdited() { m_pDoc->SetModifiedFlag(true); }

bool CKivView::NeedsOverlays() const {
    return std::any_of(std::begin(m_items), std::end(m_items),
                       [](const CViewItem* item) { return item->NeedsPaint(); });
}

void CKivView::RepairFrame() {
    m_damage.repairedAll = m_bFrameStale || m_damage.all || m_frame.size() != m_pBackBitmap->size();
    if (m_damage.repairedAll) {
        m_frame = m_pBackBitmap->copy();
        m_bFrameStale = m_damage.all = false;
    } else {
        const qsizetype stride = m_frame.bytesPerLine();
        uchar* to = m_frame.bits();
        const uchar* from = m_pBackBitmap->constBits();
        for (const QRect& damage : m_damage.drawn) {
            const QRect r = damage & m_frame.rect();
            for (int y = r.top(); y <= r.bottom(); ++y)
                std::memcpy(to + y * stride + r.left() * 4, from + y * stride + r.left() * 4, size_t(r.width()) * 4);
        }
    }
    m_damage.repaired.swap(m_damage.drawn);
    m_damage.drawn.clear();
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
