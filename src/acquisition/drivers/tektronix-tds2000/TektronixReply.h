// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a TDS1000/TDS2000's WFMPre? answer says of the curve that follows (headers off, 16
// fields: BYT_NR; BIT_NR; ENCDG; BN_FMT; BYT_OR; NR_PT; WFID; PT_FMT; XINCR; PT_OFF; XZERO;
// XUNIT; YMULT; YZERO; YOFF; YUNIT).
struct TekPreamble {
    bool isSigned = true;  // BN_FMT RI; RP is unsigned
    double xIncrement = 0, pointOffset = 0, xZero = 0;
    double yMultiplier = 0, yZero = 0, yOffset = 0;
    // As the WFID writes them; where it cannot be read, from YMULT (25 codes a division) and
    // XINCR (250 points a division).
    double voltsPerDivision = 0, secondsPerDivision = 0;

    // Time of point i after the trigger.
    double Time(long i) const { return xZero + (static_cast<double>(i) - pointOffset) * xIncrement; }
    double Volts(uint8_t byte) const {
        const int code = isSigned ? static_cast<int8_t>(byte) : byte;
        return (code - yOffset) * yMultiplier + yZero;
    }
};

// An answer's fields, split at the ';' outside double quotes (the WFID holds commas).
std::vector<std::string> SplitTekFields(const std::string& answer);

// False for anything but 16 fields describing binary points of one byte, with a time a point
// and volts a code (YMULT 0 is a math waveform of mixed scales).
bool ParseTekPreamble(const std::string& answer, TekPreamble& preamble);
