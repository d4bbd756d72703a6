// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <string>

class CData;
class CDataSrc;

// sigrok session files (.sr, format version 2): a zip archive holding "version", an INI-style
// "metadata" and the analog channels as little-endian 32-bit floats in "analog-1-<n>-<chunk>",
// as sigrok-cli and PulseView write and read them.

// The mode's computed record as the spreadsheet export takes it, one channel a plot column
// ("CH1", "CH2"), physical values, the sample rate 1/dt. False when the mode holds no record.
bool WriteSigrokSession(const CData& mode, std::string& out);

// Reads the analog channel named channel (empty: the first) into a plot, 4000 samples picked
// evenly from the n of the file, time step n / (4000 * rate), amplitudes by the Tektronix
// CSV rule. 0 (nothing changed) for a damaged archive, another version, no analog channel or
// no such one, no samples, no sample rate, a non-finite sample or time step.
int ReadSigrokSession(CDataSrc& src, const std::string& path, int plot, const std::string& channel = "");
// The same from the session's bytes in memory.
int ReadSigrokSessionBytes(CDataSrc& src, std::span<const uint8_t> bytes, int plot, const std::string& channel = "");

// Adds the session to the import and export forms (after those already there; again: no change).
void RegisterSigrokForms();
