// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CDataSum.h"

#include <algorithm>

#include "analysis/Combine.h"
#include "data/CDataSrc.h"
#include "units/SINotation.h"

void CDataSum::Recalculate() {
    m_bReady = 1;
    if (!IsAvailable()) return;
    const CDataSrc& s = Source();
    m_scaleX = s.m_axisX;
    const AxisScale& y1 = s.m_axisY1;
    const AxisScale& y2 = s.m_axisY2;
    // The reference is the coarser scale, plot 1 when the scales are equal, so the
    // other plot is converted down into it.
    bool secondIsReference = false;
    if (y2.exponent != y1.exponent)
        secondIsReference = y2.exponent > y1.exponent;
    else
        secondIsReference = y2.step > y1.step;
    const AxisScale& ref = secondIsReference ? y2 : y1;
    const AxisScale& other = secondIsReference ? y1 : y2;
    std::copy_n(secondIsReference ? s.m_nShown2 : s.m_nShown1, kSamples, m_nCalc1);
    std::copy_n(secondIsReference ? s.m_nShown1 : s.m_nShown2, kSamples, m_nCalc2);
    m_scaleY1 = ref;
    m_scaleY2 = other;
    m_crColour1 = m_crColour2 = s.m_crColour1;

    const int64_t e = int64_t{ref.exponent} - other.exponent;
    const double f = other.step / ref.step;
    for (int i = 0; i < kSamples; ++i) {
        const double v = ScaleByPow1000(m_nCalc2[i] - 100.0, -e) * f;
        m_nCalc1[i] = Sat32(int64_t{m_nCalc1[i]} + Trunc(v + 0.5));
    }
    ShrinkIfOutside(m_nCalc1, m_scaleY1);
    ResetZoom();
}
