// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/RawTrace.h"

// The HM1507's replies as the driver reads them; none of this needs a port.

constexpr int kHm1507AckLength = 3;        // "0" CR LF
constexpr int kHm1507IdentityLength = 30;  // 28 characters, CR LF
constexpr int kHm1507SettingsLength = 18;  // "DDF:" and the 14-byte block
constexpr int kHm1507SettingsSize = 14;
constexpr int kHm1507WaveformLength = 2059;  // the echoed 11-byte request and 2048 bytes
constexpr int kHm1507RequestEcho = 11;
constexpr int32_t kHm1507ZeroByte = 28;  // waveform byte of sample code 0

inline constexpr char kHm1507Ack[] = "0\r\n";
inline constexpr char kHm1507Identity[] = "ID:HM1507-2  V01            \r\n";

// The 11-byte binary request for channel 1 or 2; empty for any other channel.
std::string Hm1507WaveformRequest(int channel);

// Volts per division of a 4-bit code, seconds per division of a 5-bit code.
double Hm1507VoltsPerDivision(int code);
double Hm1507TimePerDivision(int code);

// True when exactly `received` bytes make up the expected reply text.
bool Hm1507ReplyIs(const std::string& reply, int32_t received, const char* expected);

// The 14 bytes after "DDF:" once 18 bytes have come; false while the reply is not that.
bool Hm1507SettingsBlock(const std::string& reply, int32_t received, uint8_t* block);

// Channel c's volts (probe included) and the time base (magnifier included) into the
// trace, in volts and seconds.
void ParseHm1507Settings(const uint8_t* block, int channel, RawTrace& trace);

// The 2048 waveform bytes after the echo into 4000 samples (byte - 28, each byte twice,
// odd samples interpolated). False, samples untouched, when fewer than 2000 bytes remain.
bool ParseHm1507Waveform(const std::string& reply, int32_t* samples);
