// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// The ten fields of a DS1000Z's :WAV:PRE? answer: format (0 BYTE, 1 WORD, 2 ASCII), mode
// (0 NORMal, 1 MAXimum, 2 RAW), points, averages, then the time between points, the time of
// point XREFerence, XREFerence, the volts a code, YORigin and YREFerence.
struct RigolPreamble {
    int format = 0, type = 0;
    long points = 0;
    int count = 0;
    double xIncrement = 0, xOrigin = 0, xReference = 0;
    double yIncrement = 0, yOrigin = 0, yReference = 0;
};

// False for an answer that is not ten numbers, or one that leaves points without a time or
// a code without volts.
bool ParseRigolPreamble(const std::string& answer, RigolPreamble& preamble);

// A number as the instrument writes it ("2.000000e-05", "1"); false for anything else.
bool ParseScpiNumber(const std::string& answer, double& value);
