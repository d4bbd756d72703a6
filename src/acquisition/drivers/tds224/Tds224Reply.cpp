#include "acquisition/drivers/tds224/Tds224Reply.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "view/SINotation.h"

namespace {

// The last n characters when the text is longer than limit, else the whole text.
std::string_view TailOver(std::string_view text, size_t limit, size_t n) {
    return text.size() > limit ? text.substr(text.size() - n) : text;
}

// A whole text as a number, blanks and a plus sign in front allowed; the C grammar
// whatever the desktop locale.
template <typename T>
bool ReadNumber(std::string_view text, T& out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
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

// The instrument writes volts from 2.0E-3 (2 mV, or less behind a probe) up to kilovolts
// behind a x1000 probe, and seconds from 5.0E-9 to 5.0E1. Every decimal exponent is taken
// the same way: the power of 1000 at or below it, the mantissa times 1, 10 or 100 (which
// for -2..1 volts and -9..0 seconds is the table the instrument was first read with). A
// power of 1000 the plot scales cannot show (outside f..T) refuses the description.
bool ScaleTds224Division(const std::string& text, Tds224Division& out) {
    const size_t e = text.find('E');
    const std::string_view s = text;
    double mantissa = 0.0;
    int exponent = 0;
    if (!ReadNumber(s.substr(0, e), mantissa) || !std::isfinite(mantissa)) return false;
    if (e != std::string::npos && !ReadNumber(s.substr(e + 1), exponent)) return false;
    const int thousands = exponent >= 0 ? exponent / 3 : -((2 - exponent) / 3);
    if (thousands < kSIMinExponent || thousands > kSIMaxExponent) return false;
    static constexpr double kScale[3] = {1.0, 10.0, 100.0};
    out.value = mantissa * kScale[exponent - 3 * thousands];
    out.exponent = thousands;
    return true;
}

bool ParseTds224Description(const std::string& reply, RawTrace& trace) {
    if (reply.size() < 51) return false;
    static constexpr std::string_view kCoupling = "coupling, ", kVolts = " V/div, ", kTime = " s/div, ";
    const size_t c = reply.find(kCoupling), v = reply.find(kVolts), t = reply.find(kTime);
    if (c == std::string::npos || v == std::string::npos || t == std::string::npos) return false;
    const size_t voltsAt = c + kCoupling.size(), timeAt = v + kVolts.size();
    if (v < voltsAt || t < timeAt) return false;
    Tds224Division volts, time;
    if (!ScaleTds224Division(reply.substr(voltsAt, v - voltsAt), volts) ||
        !ScaleTds224Division(reply.substr(timeAt, t - timeAt), time))
        return false;
    trace.voltExponent = volts.exponent;
    trace.voltStep = VoltStepOfDivision(volts.value);
    trace.timeExponent = time.exponent;
    trace.timeStep = TimeStepOfDivision(time.value);
    return true;
}

bool ParseTds224Curve(const std::string& reply, int32_t* samples, int32_t* work) {
    const size_t skip = reply.size() > 15 ? kTds224CurveHeader : 0;
    const bool whole = reply.size() - skip >= static_cast<size_t>(kTds224CurvePoints);
    if (whole)
        for (int i = 0; i < kTds224CurvePoints; ++i) samples[i] = static_cast<uint8_t>(reply[skip + i]) - 28;
    StretchScreenRecord(samples, work);
    return whole;
}

