// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/RawTrace.h"

// A volts or seconds per division as an instrument writes it: mantissa "E" exponent.
struct ScopeDivision {
    double value = 0.0;    // in units of 1000^exponent
    int32_t exponent = 0;  // power of 1000, as the plot scales keep it
};

// Every decimal exponent takes the power of 1000 at or below it and the mantissa times 1, 10
// or 100, so the setting keeps its value (engineering notation, 500E-6, keeps its mantissa).
// A power of 1000 the plot scales cannot show (outside f..T) or an unreadable number: false.
bool ScaleDivision(const std::string& text, ScopeDivision& out);

// Seconds and volts per division, as the instrument writes them, into the trace's exponents
// and steps. False (trace untouched) when either cannot be read.
bool ScaleTraceDivisions(const std::string& timeText, const std::string& voltsText, RawTrace& trace);

// The volts and the seconds a division, as written, in a Tektronix waveform description
// ("Ch1, DC coupling, 2.0E0 V/div, 2.5E-4 s/div, 2500 points, Sample mode"): what follows
// "coupling, " up to " V/div, ", then up to " s/div, ". False when it names either not.
bool FindWaveformDivisions(std::string_view description, std::string& volts, std::string& time);
