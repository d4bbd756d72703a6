// SPDX-License-Identifier: GPL-3.0-or-later
#include "units/SINotation.h"

#include <charconv>
#include <cmath>
#include <cstdio>


namespace {

const char kPrefixes[] = "fpnum kMGT";

// Mantissa, sign and prefix power of a text; false for a text the notation rejects.
bool ParseSI(const char* text, double& mantissa, double& sign, int& prefixPower) {
    sign = 1.0;
    mantissa = 0.0;
    if (*text == '-') {
        sign = -1.0;
        ++text;
    }
    int fractionDigits = 0;
    bool point = false;
    char prefix = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const unsigned char c = *p;
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + (c - '0');
            if (point) ++fractionDigits;
        } else if (c == ' ') {
            continue;
        } else if (c == '.') {
            if (point) return false;
            point = true;
        } else {
            if (prefix) return false;
            prefix = static_cast<char>(c);
        }
    }
    for (int i = 0; i < fractionDigits; ++i) mantissa *= 0.1;
    int index = 5;
    if (prefix) {
        index = -1;
        for (int i = 0; i < 10; ++i)
            if (kPrefixes[i] == prefix) index = i;
        if (index < 0) return false;
    }
    prefixPower = index - 5;
    return true;
}

}  // namespace

std::string RoundedDigits(double v) {
    double whole;
    const double frac = std::modf(v, &whole);
    // + 0.0 turns a negative zero into zero: no stray "-".
    const double rounded = (frac >= 0.5 ? std::ceil(v) : std::floor(v)) + 0.0;
    char buf[400];
    if (std::abs(rounded) < 1e18) {  // a whole number: the same digits, without printf's cost
        const auto end = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(rounded)).ptr;
        return std::string(buf, end);
    }
    std::snprintf(buf, sizeof buf, "%.0f", rounded);
    return buf;
}

// Outside the table there is no letter: '?' marks such an exponent. FormatSI keeps
// its exponent inside the table, so only a caller's own out-of-range value shows it.
char SIPrefixChar(int exponent) {
    if (exponent < kSIMinExponent || exponent > kSIMaxExponent) return '?';
    return kPrefixes[exponent + 5];
}

void FormatSI(std::string& text, double value, int exponent) {
    text.clear();
    int e = exponent;
    if (value < 0) {
        text += '-';
        value = -value;
    }
    const size_t sign = text.size();
    if (!std::isfinite(value)) value = 0.0;
    // An exponent given outside the table is brought into it first; a value that
    // overflows on the way reads 0, as any value that is not a number does.
    if (e < kSIMinExponent || e > kSIMaxExponent) {
        const int inside = e < kSIMinExponent ? kSIMinExponent : kSIMaxExponent;
        value = ScaleByPow1000(value, int64_t{e} - inside);
        if (!std::isfinite(value)) value = 0.0;
        e = inside;
    }
    // Normalisation stops at the ends of the table: 1e-18 reads 0.001f, 1e16 reads 10000T.
    while (std::trunc(value + 0.5) >= 1000 && e < kSIMaxExponent) {
        value *= 0.001;
        ++e;
    }
    while (value < 1.0 && value != 0 && e > kSIMinExponent) {
        value *= 1000;
        --e;
    }
    int d = 3;
    for (double n = std::trunc(value + 0.5); n >= 1; n = std::trunc(n / 10)) --d;
    if (d > 0)
        for (int i = 0; i < d; ++i) value *= 10;
    if (std::trunc(value) < 10 && d > 0) text.append(d, '0');
    text += RoundedDigits(value);
    if (d > 0) {
        // Normalising stopped at 'f' leaves the value below 1, so d is 3 while a value may
        // still have only two digits (0.05f is "50"): zeros in front keep its place.
        const size_t digits = text.size() - sign;
        if (digits < static_cast<size_t>(d)) text.insert(sign, static_cast<size_t>(d) - digits, '0');
        if (text.size() - sign == static_cast<size_t>(d)) text.insert(sign, "0");
        text.insert(text.size() - d, ".");
    }
    text += SIPrefixChar(e);
}

int ParseSIFloat(float* out, const char* text) {
    double mantissa, sign;
    int p;
    if (!ParseSI(text, mantissa, sign, p)) return 0;
    mantissa = ScaleByPow1000(mantissa, p);
    *out = static_cast<float>(sign * mantissa);
    return 1;
}

int ParseSIScaled(int* out, const char* text, int min, int max, double step, int exponent) {
    double mantissa, sign;
    int p;
    if (!ParseSI(text, mantissa, sign, p)) return 0;
    mantissa = ScaleByPow1000(mantissa, int64_t{p} - exponent);
    const double q = std::trunc(mantissa / step + 0.5) * sign;
    if (!(q <= max && q >= min)) return 0;
    *out = static_cast<int>(q);
    return 1;
}
