// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/rigol-ds1000z/RigolReply.h"

#include <cmath>
#include <vector>

#include "units/NumberText.h"

bool ParseScpiNumber(const std::string& answer, double& value) {
    return ReadNumber(answer, value) && std::isfinite(value);
}

bool ParseRigolPreamble(const std::string& answer, RigolPreamble& p) {
    std::vector<double> v;
    size_t at = 0;
    for (;;) {
        const size_t comma = answer.find(',', at);
        double x = 0;
        if (!ParseScpiNumber(answer.substr(at, comma == std::string::npos ? std::string::npos : comma - at), x))
            return false;
        v.push_back(x);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    if (v.size() != 10 || !(v[2] >= 0 && v[2] <= 1e9)) return false;
    p.format = static_cast<int>(v[0]);
    p.type = static_cast<int>(v[1]);
    p.points = std::lround(v[2]);
    p.count = static_cast<int>(v[3]);
    p.xIncrement = v[4], p.xOrigin = v[5], p.xReference = v[6];
    p.yIncrement = v[7], p.yOrigin = v[8], p.yReference = v[9];
    return p.points >= 0 && p.xIncrement > 0 && p.yIncrement > 0;
}
