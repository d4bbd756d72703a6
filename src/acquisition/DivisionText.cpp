// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/DivisionText.h"

#include <climits>
#include <cmath>

#include "units/NumberText.h"
#include "units/SINotation.h"

bool ScaleDivision(const std::string& text, ScopeDivision& out) {
    const size_t e = text.find('E');
    const std::string_view s = text;
    double mantissa = 0.0;
    int exponent = 0;
    if (!ReadNumber(s.substr(0, e), mantissa) || !std::isfinite(mantissa)) return false;
    if (e != std::string::npos && !ReadInteger(s.substr(e + 1), INT_MIN, INT_MAX, exponent)) return false;
    const int thousands = exponent >= 0 ? exponent / 3 : -((2 - exponent) / 3);
    if (thousands < kSIMinExponent || thousands > kSIMaxExponent) return false;
    static constexpr double kScale[3] = {1.0, 10.0, 100.0};
    // "1e308E2": a mantissa near the largest double overflows on the way.
    const double value = mantissa * kScale[exponent - 3 * thousands];
    if (!std::isfinite(value)) return false;
    out.value = value;
    out.exponent = thousands;
    return true;
}

bool ScaleTraceDivisions(const std::string& timeText, const std::string& voltsText, RawTrace& trace) {
    ScopeDivision time, volts;
    if (!ScaleDivision(timeText, time) || !ScaleDivision(voltsText, volts)) return false;
    trace.timeExponent = time.exponent;
    trace.timeStep = TimeStepOfDivision(time.value);
    trace.voltExponent = volts.exponent;
    trace.voltStep = VoltStepOfDivision(volts.value);
    return true;
}

bool FindWaveformDivisions(std::string_view description, std::string& volts, std::string& time) {
    static constexpr std::string_view kCoupling = "coupling, ", kVolts = " V/div, ", kTime = " s/div, ";
    const size_t c = description.find(kCoupling), v = description.find(kVolts), t = description.find(kTime);
    if (c == std::string_view::npos || v == std::string_view::npos || t == std::string_view::npos) return false;
    const size_t voltsAt = c + kCoupling.size(), timeAt = v + kVolts.size();
    if (v < voltsAt || t < timeAt) return false;
    volts = description.substr(voltsAt, v - voltsAt);
    time = description.substr(timeAt, t - timeAt);
    return true;
}
