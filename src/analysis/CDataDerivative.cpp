// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CDataDerivative.h"

#include <algorithm>

#include "analysis/Rescale.h"
#include "data/CDataSrc.h"

namespace {

void Derive(int32_t* s, AxisScale& scale, const AxisScale& time) {
    double d[kSamples];
    for (int k = 0; k < kSamples - 1; ++k) d[k] = static_cast<double>(s[k + 1]) - s[k];
    d[kSamples - 1] = d[kSamples - 2];

    // Centred average of 21 forward differences; the ten samples at each end repeat
    // the nearest average.
    constexpr int kTerms = 21, kEdge = 10, kAverages = kSamples - kTerms + 1;
    double b[kAverages];
    double top = 0, bottom = 0;
    for (int j = 0; j < kAverages; ++j) {
        double sum = 0;
        for (int t = 0; t < kTerms; ++t) sum += d[j + t];
        b[j] = sum * 0.047619047619047616;
        if (b[j] > top) top = b[j];
        if (b[j] < bottom) bottom = b[j];
    }
    double r[kSamples];
    for (int i = 0; i < kSamples; ++i) r[i] = b[std::clamp(i - kEdge, 0, kAverages - 1)];

    scale.exponent = Sat32(int64_t{scale.exponent} - time.exponent);
    scale.step = scale.step / time.step;
    RescaleToCodes(r, top > -bottom ? top : -bottom, s, scale);
}

}  // namespace

void CDataDerivative::Recalculate() {
    m_bReady = 1;
    if (Source().m_nEnabled == 0) return;
    CopyFromSource(EnabledPlotColour());
    Derive(m_nCalc1, m_scaleY1, m_scaleX);
    if (BothPlotsOn()) Derive(m_nCalc2, m_scaleY2, m_scaleX);
    ResetZoom();
}
