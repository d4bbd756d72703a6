// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "acquisition/RawTrace.h"

// One channel's record as an SCPI instrument hands it over, in volts and seconds (trigger at
// time 0), with what its screen showed.
struct ScreenRecord {
    std::vector<double> volts;  // the record's points
    double firstTime = 0;       // of point 0
    double pointStep = 0;       // between two points
    double screenLeft = 0;      // time at the screen's left edge
    double screenSpan = 0;      // horizontal divisions x time a division
    double voltsPerDivision = 0;
    double codeVolts = 0;       // the instrument's own code: volts a division / codes a division
};

// The screen as 4000 samples of a trace: sample k shows the record's point at or before the
// screen's time of k (where the screen reaches past the record, its first or last point
// stands: nothing is invented). One code of the trace is the instrument's own code where the
// record fits the 256 codes a document keeps, else the first of twice, four times … that code
// that fits; each sample is the nearest code. False, and why, for a record nothing can be
// made of.
bool ScreenToTrace(const ScreenRecord& record, RawTrace& trace, std::string& why);

// The exponent (of 1000) a value a division is read in: 2 ms a division is read in ms (-1).
int DivisionExponent(double perDivision);
