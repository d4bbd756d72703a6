// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

enum class EShape { Sine, Square, Triangle, Dc };

struct SignalSpec {
    EShape shape = EShape::Sine;
    double amplitude = 1.0;  // volts, peak; a dc signal sits at +amplitude
    double frequency = 1000.0;
};

// The signal's voltage at time t; every shape starts a period at t = 0 (the trigger point).
double SignalAt(const SignalSpec& signal, double t);

// The screen as an instrument samples it: points samples spread over 10 divisions.
std::vector<double> SampleScreen(const SignalSpec& signal, double secondsPerDivision, int points);

// Volts to an instrument's code: zeroCode on the zero line, unitsPerDivision codes a
// division, rounded to nearest and clipped to lowest..highest.
int QuantizeVolts(double volts, double voltsPerDivision, int unitsPerDivision, int zeroCode, int lowest, int highest);
