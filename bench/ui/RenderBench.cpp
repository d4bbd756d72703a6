// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>

#include "document/CKivDoc.h"
#include "render/CPlotRenderer.h"

namespace {

// Both plots on: a sine and a square wave, or (worst case, every sample a new
// segment) noise over the whole code range.
void FillBoth(CKivDoc& doc, bool noise) {
    CDataSrc& src = doc.Source();
    uint32_t seed = 12345;
    for (int i = 0; i < kSamples; ++i) {
        if (noise) {
            seed = seed * 1664525u + 1013904223u;
            src.m_nRaw1[i] = static_cast<int32_t>(seed >> 24) % 201;
            src.m_nRaw2[i] = static_cast<int32_t>(seed >> 16 & 0xFF) % 201;
        } else {
            src.m_nRaw1[i] = 100 + static_cast<int32_t>(80 * std::sin(i * 0.005));
            src.m_nRaw2[i] = (i / 400) % 2 ? 40 : 160;
        }
    }
    src.m_timeScale1 = src.m_timeScale2 = {-1, 's', 0.001};
    src.m_ampScale1 = src.m_ampScale2 = {0, 'V', 0.02};
    src.m_nPresent = src.m_nEnabled = 3;
    doc.DataChanged();
}

void BM_RenderPlotTwoCurves(benchmark::State& state) {
    CKivDoc doc;
    FillBoth(doc, state.range(2) != 0);
    CPlotRenderer renderer;
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    renderer.RenderPlot(doc, w, h, false);  // the mode computes once, outside the timing
    for (auto _ : state) {
        QImage image = renderer.RenderPlot(doc, w, h, false);
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace

BENCHMARK(BM_RenderPlotTwoCurves)
    ->ArgNames({"w", "h", "noise"})
    ->Args({800, 600, 0})
    ->Args({1920, 1080, 0})
    ->Args({800, 600, 1})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMicrosecond);

// The label font needs an application, the view benchmarks a widget one; the offscreen
// platform needs no display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
