// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "data/KivTypes.h"

// Stores real results y[i] (in code units, largest magnitude m) as codes that reach at
// most 100 codes from the zero line: 100 + trunc(y * (100 / m) + 0.5), and divides the
// step by 100 / m. A result that is zero everywhere (m = 0) reads 0: codes 100, step kept,
// so the axis keeps a usable scale.
inline void RescaleToCodes(const double* y, double m, int32_t* codes, AxisScale& scale) {
    if (!(m > 0)) {
        for (int i = 0; i < kSamples; ++i) codes[i] = 100;
        return;
    }
    const double k = 100 / m;
    for (int i = 0; i < kSamples; ++i) codes[i] = 100 + Trunc(y[i] * k + 0.5);
    scale.step = scale.step / k;
}
