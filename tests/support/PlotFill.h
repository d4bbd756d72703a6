// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

#include "data/CDataSrc.h"

// Fills one plot of a pair with codes from f(i) and the given scales, as a fetch would.
inline void FillPlot(CDataSrc& src, int plot, const std::function<int(int)>& f, AxisScale time = {0, 's', 0.001},
                     AxisScale amp = {0, 'V', 0.02}) {
    int32_t* raw = plot == 1 ? src.m_nRaw1 : src.m_nRaw2;
    for (int i = 0; i < kSamples; ++i) raw[i] = f(i);
    (plot == 1 ? src.m_timeScale1 : src.m_timeScale2) = time;
    (plot == 1 ? src.m_ampScale1 : src.m_ampScale2) = amp;
    const uint8_t bit = plot == 1 ? 1 : 2;
    src.m_nPresent |= bit;
    src.m_nEnabled |= bit;
    src.Rebuild();
}
