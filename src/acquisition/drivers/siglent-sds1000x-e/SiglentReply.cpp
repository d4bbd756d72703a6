// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/drivers/siglent-sds1000x-e/SiglentReply.h"

#include <cctype>
#include <cmath>
#include <string_view>

#include "units/NumberText.h"

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the number text a text starts with: sign, digits, point, exponent.
size_t NumberLength(std::string_view t) {
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    while (i < t.size() && (IsDigit(t[i]) || t[i] == '.')) ++i;
    if (i + 1 < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t e = i + 1;
        if (e < t.size() && (t[e] == '+' || t[e] == '-')) ++e;
        if (e < t.size() && IsDigit(t[e])) {
            while (e < t.size() && IsDigit(t[e])) ++e;
            i = e;
        }
    }
    return i;
}

// What a unit with its prefix multiplies the number by; 0 for no unit this family writes.
double UnitFactor(std::string_view unit) {
    for (std::string_view bare : {"", "V", "S", "s", "Sa/s", "pts"})
        if (unit == bare) return 1;
    static const struct {
        std::string_view prefix;
        double factor;
    } kPrefixes[] = {{"p", 1e-12}, {"n", 1e-9}, {"u", 1e-6}, {"\xC2\xB5", 1e-6}, {"m", 1e-3},
                     {"k", 1e3},   {"K", 1e3},  {"M", 1e6},  {"G", 1e9}};
    for (const auto& p : kPrefixes)
        if (unit.size() > p.prefix.size() && unit.starts_with(p.prefix) &&
            UnitFactor(unit.substr(p.prefix.size())) == 1)
            return p.factor;
    return 0;
}

}  // namespace

bool ParseSiglentNumber(const std::string& answer, double& value) {
    std::string_view t = Trimmed(answer);
    if (!t.empty() && std::isalpha(static_cast<unsigned char>(t[0]))) {
        const size_t blank = t.find(' ');
        if (blank == std::string_view::npos) return false;
        t = Trimmed(t.substr(blank + 1));
    }
    const size_t length = NumberLength(t);
    double number = 0;
    if (length == 0 || !ReadNumber(t.substr(0, length), number) || !std::isfinite(number)) return false;
    const double factor = UnitFactor(Trimmed(t.substr(length)));
    if (factor == 0) return false;
    value = number * factor;
    return true;
}

std::string SiglentWord(const std::string& answer) {
    const std::string_view t = Trimmed(answer);
    const size_t blank = t.find_last_of(" \t");
    return Upper(blank == std::string_view::npos ? t : t.substr(blank + 1));
}

bool IsSiglent(const std::string& maker) {
    const std::string m = Upper(maker);
    return m == "SIGLENT TECHNOLOGIES" || m == "SIGLENT";
}

// The rules are those the open-source drivers go by: an "E" at the end marks the X-E series,
// "Plus", "+" on an SDS2000, "HD" or a 3000 and up the new set.
ESiglentCommandSet SiglentCommandSet(const std::string& model) {
    const std::string m = Upper(Trimmed(model));
    if (m.size() < 5 || m.compare(0, 3, "SDS") != 0 || !IsDigit(m[3])) return ESiglentCommandSet::Unknown;
    const char series = m[3];
    const bool hd = m.find("HD") != std::string::npos;
    if (series >= '3' || hd) return ESiglentCommandSet::New;
    if (series == '1' || series == '2') {
        if (m.size() > 2 && m.compare(m.size() - 2, 2, "-E") == 0) return ESiglentCommandSet::Xe;
        if (series == '2' && (m.back() == '+' || m.back() == 'S')) return ESiglentCommandSet::New;
        return ESiglentCommandSet::OtherLegacy;
    }
    return ESiglentCommandSet::Unknown;
}

int SiglentChannels(const std::string& model) {
    const std::string m = Upper(model);
    const size_t x = m.find('X');
    return x != std::string::npos && x > 3 && (m[x - 1] == '2' || m[x - 1] == '4') ? m[x - 1] - '0' : 0;
}
