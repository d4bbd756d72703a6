// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/RawTrace.h"

// The OS-3060's requests and replies as the driver reads them; none of this needs a port.
// Every request and every reply ends with a carriage return.

constexpr char kOs3060Terminator = '\r';
constexpr size_t kOs3060SettingsLength = 57;  // shortest settings reply, carriage return included
constexpr size_t kOs3060WaveformHeader = 14;  // characters before the first data byte
constexpr int kOs3060WaveformPoints = 1000;
constexpr int32_t kOs3060ZeroByte = 28;  // data byte of sample code 0

inline constexpr char kOs3060Opening[] = "S1\r";

// "Ro(2)" / "R2(0000,1000,B)" for channel 2, the "1" forms for any other channel.
std::string Os3060SettingsRequest(int channel);
std::string Os3060WaveformRequest(int channel);

// The opening reply is accepted when it begins with "A"; nothing else of it is read.
bool Os3060OpeningAccepted(const std::string& reply);

// The leading number of a text as the instrument's panel writes it (blanks in front, the
// rest after the number ignored); 0 when there is none. The C grammar whatever the locale.
double ReadOs3060Number(std::string_view text);

// Power of 1000 of a panel text's unit: "m" (and for time "u", which wins) counts only
// after the text's first character.
int32_t Os3060TimeExponent(std::string_view text);
int32_t Os3060VoltExponent(std::string_view text);

// Time (positions 11..19), probe (37..40) and volts (42..48) of the settings reply into the
// trace's exponents and steps; "P10X" multiplies the volts by 10. False (trace untouched)
// for a reply shorter than 57 characters.
bool ParseOs3060Settings(const std::string& reply, RawTrace& trace);

// The 1000 data bytes after the 14-character header, each (unsigned) minus 28 into four
// samples, then widened. False (samples untouched) when fewer than 1000 characters follow
// the header; the reply's own carriage return counts among them.
bool ParseOs3060Waveform(const std::string& reply, int32_t* samples);

// Samples b+9..b+11 (b = 0, 4, ..., 3980) from the degree-4 polynomial through the five
// samples b, b+4, ..., b+16, evaluated at 2.25, 2.5 and 2.75 of that group's spacing.
void WidenOs3060Samples(int32_t* samples);

// Bar percent while the waveform reply has length characters.
int Os3060WaveformPercent(size_t length);
