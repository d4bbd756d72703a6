// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/tektronix-tds2000/TektronixReply.h"

#include <cmath>

#include "acquisition/DivisionText.h"
#include "units/NumberText.h"

namespace {

constexpr size_t kPreambleFields = 16;
constexpr double kCodesPerDivision = 25, kPointsPerDivision = 250;

bool Number(const std::string& text, double& value) { return ReadNumber(text, value) && std::isfinite(value); }

}  // namespace

std::vector<std::string> SplitTekFields(const std::string& answer) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : answer) {
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

bool ParseTekPreamble(const std::string& answer, TekPreamble& p) {
    const std::vector<std::string> f = SplitTekFields(answer);
    if (f.size() != kPreambleFields || f[0] != "1" || f[2] != "BIN" || (f[3] != "RI" && f[3] != "RP")) return false;
    double points = 0;
    if (!Number(f[5], points) || !Number(f[8], p.xIncrement) || !Number(f[9], p.pointOffset) ||
        !Number(f[10], p.xZero) || !Number(f[12], p.yMultiplier) || !Number(f[13], p.yZero) ||
        !Number(f[14], p.yOffset) || !(points >= 0 && points <= 1e9) || !(p.xIncrement > 0) || !(p.yMultiplier > 0))
        return false;
    p.isSigned = f[3] == "RI";
    std::string volts, time;
    if (!FindWaveformDivisions(f[6], volts, time) || !Number(volts, p.voltsPerDivision) ||
        !Number(time, p.secondsPerDivision) || !(p.voltsPerDivision > 0) || !(p.secondsPerDivision > 0)) {
        p.voltsPerDivision = p.yMultiplier * kCodesPerDivision;
        p.secondsPerDivision = p.xIncrement * kPointsPerDivision;
    }
    return true;
}
