#include "acquisition/DivisionText.h"

#include <charconv>
#include <cmath>

#include "view/SINotation.h"

namespace {

template <typename T>
bool ReadNumber(std::string_view text, T& out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

bool ReadDecimal(std::string_view text, double& out) { return ReadNumber(text, out); }
bool ReadDecimal(std::string_view text, int& out) { return ReadNumber(text, out); }

bool ScaleDivision(const std::string& text, ScopeDivision& out) {
    const size_t e = text.find('E');
    const std::string_view s = text;
    double mantissa = 0.0;
    int exponent = 0;
    if (!ReadNumber(s.substr(0, e), mantissa) || !std::isfinite(mantissa)) return false;
    if (e != std::string::npos && !ReadNumber(s.substr(e + 1), exponent)) return false;
    const int thousands = exponent >= 0 ? exponent / 3 : -((2 - exponent) / 3);
    if (thousands < kSIMinExponent || thousands > kSIMaxExponent) return false;
    static constexpr double kScale[3] = {1.0, 10.0, 100.0};
    // "1e308E2": a mantissa near the largest double overflows on the way.
    const double value = mantissa * kScale[exponent - 3 * thousands];
    if (!std::isfinite(value)) return false;
    out.value = value;
    out.exponent = thousands;
    return true;
}
