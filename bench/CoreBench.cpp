// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cmath>

#include "document/CKivDoc.h"

namespace {

// Two plots on different time bases: the averaging path of Rebuild runs too.
void FillTwoPlots(CKivDoc& doc) {
    CDataSrc& s = doc.Source();
    for (int i = 0; i < kSamples; ++i) {
        s.m_nRaw1[i] = 100 + static_cast<int>(80 * std::sin(i * 0.01));
        s.m_nRaw2[i] = (i / 200) % 2 ? 170 : 30;
    }
    s.m_timeScale1 = {-1, 's', 1.0};
    s.m_timeScale2 = {-1, 's', 2.0};
    s.m_ampScale1 = {0, 'V', 0.02};
    s.m_ampScale2 = {-1, 'V', 5.0};
    s.m_nPresent = s.m_nEnabled = 3;
}

void BM_RebuildRecalculateUpdate(benchmark::State& state) {
    CKivDoc doc;
    FillTwoPlots(doc);
    for (auto _ : state) {
        doc.DataChanged();
        benchmark::DoNotOptimize(doc.GetCurrentMode()->GetDisplaySamples(1));
    }
}
BENCHMARK(BM_RebuildRecalculateUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
