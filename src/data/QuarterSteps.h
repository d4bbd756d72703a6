// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// Records whose every point was repeated four times (a slow time base of some instruments)
// are redrawn between their points: samples b+9..b+11 (b = 0, 4, ..., 3980) become the
// degree-4 polynomial through samples b, b+4, ..., b+16 at 2.25, 2.5 and 2.75 of that
// spacing, plus 0.5, truncated toward zero. Only multiples of 4 are read, so the groups
// may share the array.
void InterpolateQuarterSteps(int32_t* samples);
