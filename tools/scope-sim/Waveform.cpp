// SPDX-License-Identifier: GPL-3.0-or-later
#include "Waveform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Phase in [0, 1). A sample meant to fall exactly on a period's boundary must not land just
// before it through rounding, or a square wave would change a sample late.
double PhaseAt(double cycles)
{
    const double nudged = cycles + 1e-9;
    return nudged - std::floor(nudged);
}

}  // namespace

double SignalAt(const SignalSpec& signal, double t)
{
    const double a = signal.amplitude;
    const double p = PhaseAt(t * signal.frequency);
    switch (signal.shape) {
    case EShape::Sine:
        return a * std::sin(2.0 * std::numbers::pi * p);
    case EShape::Square:
        return p < 0.5 ? a : -a;
    case EShape::Triangle:
        if (p < 0.25)
            return a * 4.0 * p;
        if (p < 0.75)
            return a * (2.0 - 4.0 * p);
        return a * (4.0 * p - 4.0);
    case EShape::Dc:
        break;
    }
    return a;
}

std::vector<double> SampleScreen(const SignalSpec& signal, double secondsPerDivision, int points)
{
    std::vector<double> volts(static_cast<size_t>(std::max(points, 0)));
    const double screen = 10.0 * secondsPerDivision;
    for (int i = 0; i < points; ++i)
        volts[static_cast<size_t>(i)] = SignalAt(signal, screen * i / points);
    return volts;
}

int QuantizeVolts(double volts, double voltsPerDivision, int unitsPerDivision, int zeroCode, int lowest, int highest)
{
    const double code = zeroCode + std::round(volts / voltsPerDivision * unitsPerDivision);
    return static_cast<int>(std::clamp(code, static_cast<double>(lowest), static_cast<double>(highest)));
}
