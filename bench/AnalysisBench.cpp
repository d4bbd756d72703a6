// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "analysis/CDataFourier.h"
#include "analysis/Measurements.h"
#include "document/CKivDoc.h"

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

// The yardstick of the one above: a plain scalar direct sum over a table of the M angles, the
// same 50 x 2 sums (bins 0..49 and their mirrors) of two plots over the same 3999 samples,
// one frequency at a time.
void BM_ScalarDirectSumTwoPlots(benchmark::State& state) {
    constexpr int N = kSamples - 1, M = N + 1;
    std::vector<double> cosTable(M), sinTable(M), x1(N), x2(N);
    for (int r = 0; r < M; ++r) cosTable[r] = std::cos(6.283185307179586 * r / M), sinTable[r] = -std::sin(6.283185307179586 * r / M);
    for (int i = 0; i < N; ++i) x1[i] = std::sin(i * 0.0157), x2[i] = (i / 150) % 2 ? 1.2 : -1.2;
    double out[2][100][2];
    for (auto _ : state) {
        for (int p = 0; p < 2; ++p) {
            const double* x = p ? x2.data() : x1.data();
            for (int f = 0; f < 100; ++f) {
                const int step = f < 50 ? f : M - 100 + f;
                double cs = 0, ss = 0;
                for (int i = 0, r = 0; i < N; ++i) {
                    cs += x[i] * cosTable[r], ss += x[i] * sinTable[r];
                    if ((r += step) >= M) r -= M;
                }
                out[p][f][0] = cs, out[p][f][1] = ss;
            }
        }
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ScalarDirectSumTwoPlots)->Unit(benchmark::kMillisecond);

// Two plots over the whole record: a noisy sine with 10 periods and a square wave, the mode
// already computed.
void TwoPlots(CKivDoc& doc) {
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
}

// Every row of both plots and of the pair, the spectra computed afresh each time.
void BM_MeasureTwoPlots(benchmark::State& state) {
    CKivDoc doc;
    TwoPlots(doc);
    for (auto _ : state) benchmark::DoNotOptimize(doc.MeasureCurrentMode(false));
}
BENCHMARK(BM_MeasureTwoPlots)->Unit(benchmark::kMicrosecond);

// The panel's first choice of rows as a frame of a cursor drag measures them: the span moves
// by a few samples a frame, the records' sums, histograms and spectra kept between frames.
void BM_MeasurePanelFrame(benchmark::State& state) {
    CKivDoc doc;
    TwoPlots(doc);
    MeasureCache caches[2];
    doc.m_nCursor1 = 0;
    int cursor = 2000;
    for (auto _ : state) {
        doc.m_nCursor2 = cursor = cursor >= 3990 ? 2000 : cursor + 7;
        benchmark::DoNotOptimize(doc.MeasureCurrentMode(true, DefaultMeasurements(), caches));
    }
}
BENCHMARK(BM_MeasurePanelFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
