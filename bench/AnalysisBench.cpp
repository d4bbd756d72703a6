#include <benchmark/benchmark.h>

#include <cmath>

#include "analysis/CDataFourier.h"
#include "analysis/Measurements.h"
#include "data/CKivDoc.h"

namespace {

// The spectrum is recomputed at every cursor move: two plots, widest cursor range.
void BM_FourierRecalculateTwoPlots(benchmark::State& state) {
    CKivDoc doc;
    CDataSrc& s = doc.Source();
    for (int i = 0; i < kSamples; ++i) {
        s.m_nRaw1[i] = 100 + static_cast<int>(70 * std::sin(i * 0.0157) + 20 * std::cos(i * 0.31));
        s.m_nRaw2[i] = (i / 150) % 2 ? 160 : 40;
    }
    s.m_timeScale1 = s.m_timeScale2 = {-1, 's', 0.5};
    s.m_ampScale1 = {0, 'V', 0.02};
    s.m_ampScale2 = {-1, 'V', 10.0};
    s.m_nPresent = s.m_nEnabled = 3;
    doc.DataChanged();
    doc.m_currentMode = kModeFourier;
    doc.m_nCursor1 = 0;
    doc.m_nCursor2 = 4000;
    CData* mode = doc.GetFourierMode();
    for (auto _ : state) {
        mode->m_bReady = 0;
        mode->Recalculate();
        benchmark::DoNotOptimize(mode->m_nHarm2);
    }
}
BENCHMARK(BM_FourierRecalculateTwoPlots)->Unit(benchmark::kMillisecond);

// Every time-domain measurement of both plots over the whole record: a noisy sine with
// 10 periods and a square wave, the mode already computed.
void BM_MeasureTwoPlots(benchmark::State& state) {
    CKivDoc doc;
    CDataSrc& s = doc.Source();
    for (int i = 0; i < kSamples; ++i) {
        s.m_nRaw1[i] = 100 + static_cast<int>(70 * std::sin(i * 0.0157) + (i * 7919 % 11) - 5);
        s.m_nRaw2[i] = (i / 150) % 2 ? 160 : 40;
    }
    s.m_timeScale1 = s.m_timeScale2 = {-1, 's', 0.5};
    s.m_ampScale1 = s.m_ampScale2 = {0, 'V', 0.02};
    s.m_nPresent = s.m_nEnabled = 3;
    doc.DataChanged();
    doc.GetCurrentMode()->GetDisplaySamples(1);
    for (auto _ : state) benchmark::DoNotOptimize(MeasureCurrentMode(doc, false));
}
BENCHMARK(BM_MeasureTwoPlots)->Unit(benchmark::kMicrosecond);

}  // namespace
