// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/tds224/Tds224Reply.h"

#include <string_view>

#include "acquisition/DivisionText.h"

namespace {

// The last n characters when the text is longer than limit, else the whole text.
std::string_view TailOver(std::string_view text, size_t limit, size_t n) {
    return text.size() > limit ? text.substr(text.size() - n) : text;
}
}  // namespace

bool Tds224IdentityAccepted(const std::string& command, const std::string& reply, int32_t received) {
    if (received != kTds224IdentityLength) return false;
    // The stop-and-lock request carries the identity query after its first 30 characters.
    std::string_view request = command;
    if (request.size() > 28) request = request.size() > 30 ? request.substr(30) : std::string_view();
    return request == "ID?\r" && reply.compare(0, 28, kTds224Identity) == 0;
}

bool Tds224DescriptionComplete(const std::string& command, const std::string& reply) {
    return TailOver(command, 42, 13) == "WFMPRE:WFID?\r" && TailOver(reply, 20, 4) == "mode";
}

bool ParseTds224Description(const std::string& reply, RawTrace& trace) {
    if (reply.size() < 51) return false;
    std::string volts, time;
    return FindWaveformDivisions(reply, volts, time) && ScaleTraceDivisions(time, volts, trace);
}

bool ParseTds224Curve(const std::string& reply, int32_t* samples, int32_t* work) {
    const size_t skip = reply.size() > 15 ? kTds224CurveHeader : 0;
    const bool whole = reply.size() - skip >= static_cast<size_t>(kTds224CurvePoints);
    if (whole)
        for (int i = 0; i < kTds224CurvePoints; ++i) samples[i] = static_cast<uint8_t>(reply[skip + i]) - kTds224ZeroByte;
    StretchScreenRecord(samples, work);
    return whole;
}

