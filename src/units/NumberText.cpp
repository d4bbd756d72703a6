// SPDX-License-Identifier: GPL-3.0-or-later
#include "units/NumberText.h"

#include <charconv>
#include <limits>

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    return text;
}

template <typename T>
bool ReadWhole(std::string_view text, T& out) {
    text = Trimmed(text);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

bool ReadNumber(std::string_view text, double& out) { return ReadWhole(text, out); }

bool ReadInteger(std::string_view text, long long lo, long long hi, long long& out) {
    long long v = 0;
    if (!ReadWhole(text, v) || v < lo || v > hi) return false;
    out = v;
    return true;
}

std::string DecimalText(double v, DecimalForm form, int digits) {
    // Fixed form of 1e308 with 12 decimals needs over 320 characters.
    char buffer[400];
    std::to_chars_result r;
    switch (form) {
    case DecimalForm::Fixed: r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, digits); break;
    case DecimalForm::General:
        r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, digits);
        break;
    default: r = std::to_chars(buffer, buffer + sizeof buffer, v); break;
    }
    return std::string(buffer, r.ptr);
}
