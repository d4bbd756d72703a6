// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "data/KivTypes.h"

// One fetched waveform as a driver leaves it: 4000 samples, the time between two of them
// and the volts of one sample unit, each in units of 1000^exponent.
struct RawTrace {
    int32_t samples[kSamples] = {};
    int32_t timeExponent = 0;  // 0 s, -1 ms, -2 µs, -3 ns
    double timeStep = 0.0;
    char timeUnit = 's';  // the instruments give none; seconds and volts it is
    int32_t voltExponent = 0;  // 0 V, -1 mV
    double voltStep = 0.0;
    char voltUnit = 'V';
};

// Every driver maps the screen onto 4000 samples over 10 divisions across and 25 sample
// units a division up.
inline double TimeStepOfDivision(double perDivision) { return perDivision * 0.0025; }
inline double VoltStepOfDivision(double perDivision) { return perDivision * 0.04; }

// The 2500 points of a TDS224 or LT224 screen as 4000 samples: each point repeated 8 times
// (20,000 values in work), then every 5 of those averaged, in integers truncating toward zero.
constexpr int kScreenPoints = 2500;
constexpr int kStretchWork = kScreenPoints * 8;
inline void StretchScreenRecord(int32_t* samples, int32_t* work) {
    for (int j = 0; j < kStretchWork; ++j) work[j] = samples[j / 8];
    for (int k = 0; k < kSamples; ++k) {
        const int32_t* w = work + 5 * k;
        samples[k] = (w[0] + w[1] + w[2] + w[3] + w[4]) / 5;
    }
}
