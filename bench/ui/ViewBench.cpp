// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSettings>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "acquisition/CAcquisition.h"
#include "acquisition/ScreenTrace.h"
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

// The same drag in one view, the "Pomiary" panel switched on and off every 16 frames (the two
// frames after a switch, which put the panel up or take it down, not counted): panel_cost is
// the ratio of the median frame times with and without it (1.05 = the panel adds 5 %). One
// view for both, so both copy the same memory, and medians, which a hiccup of the machine does
// not move: two views' frames differ by more than the panel, by where their images lie.
void BM_CursorDragFramePair(benchmark::State& state) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir::tempPath() + "/kiv-bench-settings");
    ShownView s;
    if (s.view.Measurements().IsOn()) s.commands.OnCommand(ID_MEASUREMENTS);
    s.Mouse(QEvent::MouseButtonPress, 100, Qt::LeftButton);
    std::vector<double> seconds[2];
    int x = 100, frame = 0;
    for (auto _ : state) {
        if (++frame % 16 == 0) s.commands.OnCommand(ID_MEASUREMENTS);
        x = x >= 1200 ? 110 : x + 7;
        const auto start = std::chrono::steady_clock::now();
        s.Mouse(QEvent::MouseMove, x, Qt::LeftButton);
        s.view.viewport()->repaint();
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (frame % 16 >= 2) seconds[s.view.Measurements().IsOn() ? 1 : 0].push_back(took);
    }
    s.Mouse(QEvent::MouseButtonRelease, x, Qt::NoButton);
    auto median = [](std::vector<double>& v) {
        if (v.empty()) return 0.0;
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    const double off = median(seconds[0]);
    state.counters["panel_cost"] = off > 0 ? median(seconds[1]) / off : 0;
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

long ResidentKilobytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

// One update of a live fetch as the program makes it: two 1200-point screen records (a new
// phase each time) to 4000 samples each, into the document, the mode and the "Pomiary" panel
// computed again and the frame painted. Run 10 000 times; rss_growth_kB is what the process
// grew by over them (after a first 100 that settle the caches).
void BM_RunUpdateFrame(benchmark::State& state) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir::tempPath() + "/kiv-bench-settings");
    ShownView s;
    if (!s.view.Measurements().IsOn()) s.commands.OnCommand(ID_MEASUREMENTS);
    CAcquisition acquisition(std::filesystem::temp_directory_path() / "kiv-bench-Kiv.cfg");
    acquisition.m_bSaveOnExit = false;
    CScopeDriver& driver = acquisition.Driver(FindScopeModel("rigol-ds1000z"));
    acquisition.m_pCurrent = &driver;
    driver.m_nPlot1Channel = 1, driver.m_nPlot2Channel = 2, driver.m_nState = 0;
    ScreenRecord records[2];
    for (ScreenRecord& r : records) {
        r.volts.resize(1200);
        r.firstTime = -0.006, r.pointStep = 1e-5, r.screenLeft = -0.006, r.screenSpan = 0.012;
        r.voltsPerDivision = 1, r.codeVolts = 0.04;
    }
    std::string why;
    int n = 0;
    const auto update = [&] {
        ++n;
        for (int p = 0; p < 2; ++p) {
            for (int i = 0; i < 1200; ++i) records[p].volts[i] = std::round(std::sin(i * 0.05 + p + n * 0.1) * 25) * 0.04;
            ScreenToTrace(records[p], acquisition.m_traces[p], why);
        }
        acquisition.FinishFetch(s.doc.Source(), 0);
        s.doc.DataChanged();
        s.view.UpdatePicture();
        s.view.viewport()->repaint();
    };
    for (int i = 0; i < 100; ++i) update();
    const long before = ResidentKilobytes();
    for (auto _ : state) update();
    state.counters["rss_growth_kB"] = static_cast<double>(ResidentKilobytes() - before);
}

}  // namespace

BENCHMARK(BM_RunUpdateFrame)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CursorDragFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CursorDragFramePair)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstFourierPaint)->Unit(benchmark::kMillisecond);
