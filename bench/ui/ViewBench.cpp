#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSettings>
#include <cmath>

#include "app/CommandIds.h"
#include "document/CKivDoc.h"
#include "app/ui/CViewCommands.h"
#include "view/ui/CKivView.h"

namespace {

// A 1280 x 800 view of two 4000-sample plots with the cursors shown.
struct ShownView {
    CKivDoc doc;
    CKivView view{&doc};
    CViewCommands commands{view};
    ShownView() {
        CDataSrc& src = doc.Source();
        for (int i = 0; i < kSamples; ++i) {
            src.m_nRaw1[i] = 100 + static_cast<int32_t>(80 * std::sin(i * 0.0157));
            src.m_nRaw2[i] = (i / 400) % 2 ? 40 : 160;
        }
        src.m_timeScale1 = src.m_timeScale2 = {-1, 's', 0.001};
        src.m_ampScale1 = src.m_ampScale2 = {0, 'V', 0.02};
        src.m_nPresent = src.m_nEnabled = 3;
        doc.DataChanged();
        view.resize(1280, 800);
        view.show();
        QApplication::processEvents();  // shown and exposed: repaint() paints at once
        commands.OnCommand(ID_CURSOR);
        view.UpdatePicture();
        view.viewport()->repaint();
    }
    void Mouse(QEvent::Type type, int x, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(x, 400), QPointF(x, 400), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, {});
        QApplication::sendEvent(view.viewport(), &e);
    }
};

// One step of a cursor drag: the mouse move, then the frame painted with the cursors and
// the two-plot panel updated; with argument 1 the "Pomiary" panel follows too.
void BM_CursorDragFrame(benchmark::State& state) {
    // The toggle is kept in the user's settings: not the real user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir::tempPath() + "/kiv-bench-settings");
    ShownView s;
    if (s.view.Measurements().IsOn() != (state.range(0) != 0)) s.commands.OnCommand(ID_MEASUREMENTS);
    s.Mouse(QEvent::MouseButtonPress, 100, Qt::LeftButton);  // cursor 1 sits at the plot's left edge
    int x = 100;
    for (auto _ : state) {
        x = x >= 1200 ? 110 : x + 7;
        s.Mouse(QEvent::MouseMove, x, Qt::LeftButton);
        s.view.viewport()->repaint();
    }
    s.Mouse(QEvent::MouseButtonRelease, x, Qt::NoButton);
}

// The first paint after switching to the Fourier mode: the spectrum of both plots over
// the whole record, the bars rendered and the Fourier panel filled.
void BM_FirstFourierPaint(benchmark::State& state) {
    ShownView s;
    s.doc.SetMode(kModeFourier);
    for (auto _ : state) {
        s.doc.GetFourierMode()->m_bReady = 0;
        s.view.SetRedraw();
        s.view.UpdatePicture();
        s.view.viewport()->repaint();
    }
}

}  // namespace

BENCHMARK(BM_CursorDragFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstFourierPaint)->Unit(benchmark::kMillisecond);
