// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// The ten fields of an InfiniiVision's :WAV:PRE? answer: format (0 BYTE, 1 WORD, 4 ASCii),
// type (0 NORMal, 1 PEAK, 2 AVERage, 3 HRESolution), points, averages, then the time between
// points, the time of point XREFerence, XREFerence, the volts a code, the volts of code
// YREFerence (YORigin) and YREFerence.
struct KeysightPreamble {
    int format = 0, type = 0;
    long points = 0;
    long count = 0;
    double xIncrement = 0, xOrigin = 0, xReference = 0;
    double yIncrement = 0, yOrigin = 0, yReference = 0;
};

// False for an answer that is not ten numbers ("+0" among them), for a format other than
// the BYTE asked for, and for points without a time or codes without volts.
bool ParseKeysightPreamble(const std::string& answer, KeysightPreamble& preamble);

// Where :TIM:REF? puts the time reference, as a share of the screen's width from its left
// edge: LEFT and RIGHt one division of ten in from their edge, CENTer the middle; CUSTom
// (3000T) is placed by :TIM:REF:LOC?, which custom asks for. False for anything else.
bool ParseKeysightReference(const std::string& answer, double& share, bool& custom);

// The analog channels of an InfiniiVision X model: the last digit of its number
// ("DSO-X 2012A" 2, "DSOX1204G" 4).
int KeysightChannels(const std::string& model);
