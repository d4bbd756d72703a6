// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/keysight-infiniivision/KeysightReply.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "units/NumberText.h"

namespace {

bool Number(const std::string& text, double& value) { return ReadNumber(text, value) && std::isfinite(value); }

std::string Upper(const std::string& text) {
    std::string upper;
    for (char c : text)
        if (c != ' ' && c != '\t') upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// A word as the instrument answers it: its short form ("CENT") or any longer part of it.
bool IsWord(const std::string& answer, const std::string& shortForm, const std::string& longForm) {
    return answer.size() >= shortForm.size() && longForm.compare(0, answer.size(), answer) == 0;
}

}  // namespace

bool ParseKeysightPreamble(const std::string& answer, KeysightPreamble& p) {
    std::vector<double> v;
    for (size_t at = 0;;) {
        const size_t comma = answer.find(',', at);
        double x = 0;
        if (!Number(answer.substr(at, comma == std::string::npos ? std::string::npos : comma - at), x)) return false;
        v.push_back(x);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    if (v.size() != 10 || v[0] != 0 || !(v[2] >= 0 && v[2] <= 1e9) || v[2] != std::floor(v[2])) return false;
    p.format = 0;
    p.type = static_cast<int>(v[1]);
    p.points = std::lround(v[2]);
    p.count = std::lround(v[3]);
    p.xIncrement = v[4], p.xOrigin = v[5], p.xReference = v[6];
    p.yIncrement = v[7], p.yOrigin = v[8], p.yReference = v[9];
    return p.xIncrement > 0 && p.yIncrement > 0;
}

bool ParseKeysightReference(const std::string& answer, double& share, bool& custom) {
    const std::string word = Upper(answer);
    custom = IsWord(word, "CUST", "CUSTOM");
    if (custom) return true;
    if (IsWord(word, "LEFT", "LEFT")) share = 0.1;
    else if (IsWord(word, "CENT", "CENTER")) share = 0.5;
    else if (IsWord(word, "RIGH", "RIGHT")) share = 0.9;
    else return false;
    return true;
}

int KeysightChannels(const std::string& model) {
    const size_t digit = model.find_last_of("0123456789");
    return digit == std::string::npos ? 0 : model[digit] - '0';
}
