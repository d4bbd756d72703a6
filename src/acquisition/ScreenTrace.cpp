// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ScreenTrace.h"

#include <algorithm>
#include <cmath>

#include "data/KivTypes.h"
#include "platform/TrNoop.h"

namespace {

// A document keeps a code a byte, the zero line at 100.
constexpr int kZeroCode = 100;
constexpr int kLowestCode = 0, kHighestCode = 255;
constexpr int kCoarserSteps = 24;

double Power1000(int exponent) { return std::pow(1000.0, exponent); }

}  // namespace

int DivisionExponent(double perDivision) {
    if (!(perDivision > 0) || !std::isfinite(perDivision)) return 0;
    return std::clamp(static_cast<int>(std::floor(std::log10(perDivision * (1 + 1e-9)) / 3)), -5, 4);
}

bool ScreenToTrace(const ScreenRecord& r, RawTrace& trace, std::string& why) {
    const size_t n = r.volts.size();
    if (n == 0) {
        why = KIV_TR_NOOP("Kiv", "przebieg nie ma ani jednego punktu");
        return false;
    }
    if (!(r.pointStep > 0) || !(r.screenSpan > 0) || !(r.codeVolts > 0) || !std::isfinite(r.firstTime) ||
        !std::isfinite(r.screenLeft) || !std::isfinite(r.pointStep) || !std::isfinite(r.screenSpan)) {
        why = KIV_TR_NOOP("Kiv", "opis przebiegu jest niepełny lub błędny");
        return false;
    }
    const auto [lo, hi] = std::minmax_element(r.volts.begin(), r.volts.end());
    if (!std::isfinite(*lo) || !std::isfinite(*hi)) {
        why = KIV_TR_NOOP("Kiv", "opis przebiegu jest niepełny lub błędny");
        return false;
    }
    double step = r.codeVolts;
    auto fits = [&](double s) {
        return std::lround(*lo / s) + kZeroCode >= kLowestCode && std::lround(*hi / s) + kZeroCode <= kHighestCode;
    };
    int coarser = 0;
    while (!fits(step) && coarser++ < kCoarserSteps) step *= 2;
    if (!fits(step)) {
        why = KIV_TR_NOOP("Kiv", "opis przebiegu jest niepełny lub błędny");
        return false;
    }
    const double dt = r.screenSpan / kSamples;
    // A shorter record gives runs of samples from one point: its code is worked out once.
    size_t last = n;
    int32_t code = 0;
    // A product, not a quotient, each sample: the guard below absorbs the last bit it may differ by.
    const double perPoint = 1 / r.pointStep;
    for (int k = 0; k < kSamples; ++k) {
        const double at = (r.screenLeft + k * dt - r.firstTime) * perPoint;
        // The point at or before the time; a point a rounding error after it counts as at it.
        const double index = std::floor(at + 1e-9);
        const size_t i = !(index > 0) ? 0 : index >= static_cast<double>(n - 1) ? n - 1 : static_cast<size_t>(index);
        if (i != last) code = static_cast<int32_t>(std::lround(r.volts[i] / step)) + kZeroCode, last = i;
        trace.samples[k] = code;
    }
    // In the unit first, then divided: 5 ms over 4000 is 1.25 µs to the last bit.
    trace.voltExponent = DivisionExponent(r.voltsPerDivision > 0 ? r.voltsPerDivision : step * 25);
    trace.voltStep = step * Power1000(-trace.voltExponent);
    trace.voltUnit = 'V';
    trace.timeExponent = std::min(DivisionExponent(r.screenSpan / 10), 0);
    trace.timeStep = r.screenSpan * Power1000(-trace.timeExponent) / kSamples;
    trace.timeUnit = 's';
    return true;
}
