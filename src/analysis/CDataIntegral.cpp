// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CDataIntegral.h"

#include <cmath>

#include "analysis/Rescale.h"
#include "data/CDataSrc.h"

namespace {

void Integrate(int32_t* s, AxisScale& scale, const AxisScale& time) {
    // Area in codes above the zero line from sample 0 to sample k + 1.
    double j[kSamples];
    double area = 0, m = 0;
    for (int k = 0; k < kSamples - 2; ++k) {
        area = area + (static_cast<double>(s[k]) + s[k + 1] - 200) * 0.5;
        j[k] = area;
        if (std::fabs(area) > m) m = std::fabs(area);
    }
    j[kSamples - 2] = j[kSamples - 3];
    j[kSamples - 1] = j[kSamples - 3];

    scale.exponent = Sat32(int64_t{scale.exponent} + time.exponent);
    scale.step = scale.step * time.step;
    RescaleToCodes(j, m, s, scale);
}

}  // namespace

void CDataIntegral::Recalculate() {
    m_bReady = 1;
    if (Source().m_nEnabled == 0) return;
    CopyFromSource(EnabledPlotColour());
    Integrate(m_nCalc1, m_scaleY1, m_scaleX);
    if (BothPlotsOn()) Integrate(m_nCalc2, m_scaleY2, m_scaleX);
    ResetZoom();
}
