// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "data/KivTypes.h"

// Sum and product keep their result as integer codes and shrink it only when it
// leaves the code range: with M the largest distance from the zero line and M > 100,
// codes become 100 + trunc((code - 100) * (100 / M) + 0.5) and the step grows by M / 100.
inline void ShrinkIfOutside(int32_t* codes, AxisScale& scale) {
    int64_t m = 0;
    for (int i = 0; i < kSamples; ++i) {
        const int64_t d = static_cast<int64_t>(codes[i]) - 100;
        if ((d < 0 ? -d : d) > m) m = d < 0 ? -d : d;
    }
    if (m <= 100) return;
    const double k = 100.0 / static_cast<double>(m);
    for (int i = 0; i < kSamples; ++i)
        codes[i] = 100 + Trunc((static_cast<double>(codes[i]) - 100) * k + 0.5);
    scale.step = scale.step / k;
}
