// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

// Shared record types and numeric helpers of the waveform core.

// A plot's colour as the document file keeps it: red in the low byte, then green and blue.
using PlotColour = uint32_t;

constexpr PlotColour MakeColour(int r, int g, int b) {
    return static_cast<PlotColour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(PlotColour c) { return c & 0xFF; }
constexpr int GreenOf(PlotColour c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(PlotColour c) { return (c >> 16) & 0xFF; }

constexpr int kSamples = 4000;    // samples per plot and per display array
constexpr int kHarmonics = 50;    // DC term and harmonics 1..49
constexpr int kLabels = 11;       // grid labels per axis

// Scale of one axis: step in units of 1000^exponent of the axis unit.
struct AxisScale {
    int32_t exponent = 0;
    int32_t unit = 0;  // character code, low byte used
    double step = 0.0;
};

// 1000^exponent of a scale, as the data exports take it: a code q stands for
// (q - 100) * step * ScalePower(scale) base units.
inline double ScalePower(const AxisScale& s) { return std::pow(10.0, 3.0 * s.exponent); }

// Exchanged with the scale dialog.
struct AxisWindowInfo {
    int32_t exponent = 0;
    double step = 0.0;
    int32_t limitMax = 0;
    int32_t limitMin = 0;
    int32_t max = 0;
    int32_t min = 0;
};

// Exchanged with the plot settings dialog.
struct PlotSettings {
    int32_t bEnabled = 0;
    int32_t bInvert = 0;
    PlotColour crColour = 0;
    int32_t bOffset = 0;
    int32_t bMultiplier = 0;
    int32_t nOffset = 0;
    float fMultiplier = 1.0f;
    int32_t nAmpExponent = 0;
    double dAmpStep = 0.0;
};

// Truncation toward zero, as every code conversion does. Saturates instead of
// overflowing, so a damaged file or a wild offset cannot trigger undefined behaviour.
inline int32_t Trunc(double v) {
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    if (v != v) return 0;
    return static_cast<int32_t>(v);
}

// Constants that the program keeps as 32-bit floats take part in double arithmetic:
// the float is widened, never the product narrowed (200 * 200 * 0.005f -> 199.99999...).
inline double MulF(double a, float f) { return a * static_cast<double>(f); }

// Stored numbers are not checked (a document, an import or an offset may carry any
// 32-bit value), so sums of codes, windows and exponents are formed in 64 bits and
// brought back saturated.
inline int32_t Sat32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
