// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// Amplitude step of a Tektronix CSV for r = largest magnitude / 75, from the series
// 2, 4, 8 times powers of ten (10^-15 .. 10^15); 0 when r lies beyond the series.
double TekCsvAmplitudeStep(double r);
