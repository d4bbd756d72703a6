// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cmath>
#include <cstdint>
#include <string>

// Engineering notation: three significant digits and one SI prefix character from
// "fpnum kMGT" (exponent -5 is 'f', 0 is a space, 4 is 'T').
constexpr int kSIMinExponent = -5;
constexpr int kSIMaxExponent = 4;

void FormatSI(std::string& text, double value, int exponent);
char SIPrefixChar(int exponent);
int ParseSIFloat(float* out, const char* text);
int ParseSIScaled(int* out, const char* text, int min, int max, double step, int exponent);

// Decimal digits of a non-negative value rounded half up (fraction >= 0.5 goes up).
std::string RoundedDigits(double v);

// v * 1000^p, one factor of 1000 or 0.001 at a time as the program has always scaled,
// so ordinary results keep their last bit. Once v is 0, infinite or NaN no factor
// changes it, and the loop stops: an exponent of two billion costs a few hundred steps.
inline double ScaleByPow1000(double v, int64_t p) {
    for (; p < 0 && v != 0 && std::isfinite(v); ++p) v *= 0.001;
    for (; p > 0 && v != 0 && std::isfinite(v); --p) v *= 1000;
    return v;
}
