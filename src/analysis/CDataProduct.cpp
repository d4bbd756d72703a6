// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CDataProduct.h"

#include <algorithm>

#include "analysis/Combine.h"
#include "data/CDataSrc.h"

void CDataProduct::Recalculate() {
    m_bReady = 1;
    if (!IsAvailable()) return;
    CopyFromSource(Source().m_crColour1);
    m_crColour2 = m_crColour1 = Source().m_crColour1;
    m_scaleY1.step = m_scaleY2.step * m_scaleY1.step;
    m_scaleY1.exponent = Sat32(int64_t{m_scaleY1.exponent} + m_scaleY2.exponent);
    for (int i = 0; i < kSamples; ++i) {
        // Integer product; codes pushed far out by offsets or an import leave 32 bits.
        const int64_t p = (int64_t{m_nCalc1[i]} - 100) * (int64_t{m_nCalc2[i]} - 100);
        m_nCalc1[i] = Sat32(p + 100);
    }
    ShrinkIfOutside(m_nCalc1, m_scaleY1);
    ResetZoom();
}
