// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "acquisition/RawTrace.h"

// The TDS224's replies as the driver reads them; none of this needs a port.

constexpr int kTds224IdentityLength = 51;  // bytes of the identity reply
constexpr int kTds224CurveLength = 2515;   // bytes of the curve reply, header included
constexpr int kTds224CurveHeader = 13;
constexpr int kTds224CurvePoints = 2500;
constexpr int kTds224WorkSize = kTds224CurvePoints * 8;
constexpr int32_t kTds224ZeroByte = 28;  // curve byte of sample code 0

// The first 28 characters every accepted identity reply starts with.
inline constexpr char kTds224Identity[] = "ID TEK/TDS 224,CF:91.1CT,FV:";

// True when the received count has just reached 51, the request was an identity request
// ("ID?" alone, or at the end of the stop-and-lock request) and the reply names the model.
bool Tds224IdentityAccepted(const std::string& command, const std::string& reply, int32_t received);

// True when the reply to the channel request ends in "mode", the description's last word.
bool Tds224DescriptionComplete(const std::string& command, const std::string& reply);

// Volts and seconds per division from the description into the trace's exponents and
// steps. False (trace untouched) for a short reply or one whose settings cannot be read.
bool ParseTds224Description(const std::string& reply, RawTrace& trace);

// The 2500 curve bytes after the 13-byte header into samples (byte - 28). False when fewer
// than 2500 bytes follow the header; the former samples stay then. Either way the first
// 2500 samples are stretched to 4000 through work (kTds224WorkSize values).
bool ParseTds224Curve(const std::string& reply, int32_t* samples, int32_t* work);

