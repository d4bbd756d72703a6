// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "units/SINotation.h"

namespace {

std::string SI(double v, int e = 0) {
    std::string s;
    FormatSI(s, v, e);
    return s;
}

}  // namespace

// Value, exponent, text.
TEST(SINotation, Format) {
    const std::tuple<double, int, const char*> cases[] = {
        {5, 0, "5.00 "},        {12.345, 0, "12.3 "},  {123.45, 0, "123 "},     {0.001, 0, "1.00m"},
        {0.0047, 0, "4.70m"},   {1500, 0, "1.50k"},    {-2.5, 0, "-2.50 "},     {0, 0, "0.000 "},
        {-0.0, 0, "0.000 "},    {9.996, 0, "10.0 "},   {999.6, 0, "1000 "},     {0.99996, 0, "1000m"},
        {5, -1, "5.00m"},       {0, -1, "0.000m"},     {-0.001, 0, "-1.00m"},   {1000000, 0, "1.00M"},
        {99.5, 0, "100 "},  // the digit count comes from the rounded value
        // Normalising stops at the ends of the prefix table; nothing is read past it.
        {1e-18, 0, "0.001f"},   {1e16, 0, "10000T"},   {5, 6, "5000000T"},
    };
    for (auto [value, exponent, text] : cases) EXPECT_EQ(SI(value, exponent), text) << value << " e" << exponent;
    EXPECT_EQ(std::string({SIPrefixChar(-6), SIPrefixChar(-5), SIPrefixChar(4), SIPrefixChar(5)}), "?fT?");
}

// A refused text leaves the value as it was (7); the prefix and one space may follow the number.
TEST(SINotation, ParseFloatScaledAndRoundTrip) {
    const std::tuple<const char*, int, float> cases[] = {
        {"2.5k", 1, 2500.0f}, {"100m", 1, 0.1f},  {"12", 1, 12.0f},   {"-4.7u", 1, -4.7e-6f}, {"1 000", 1, 1000.0f},
        {"4.7 m", 1, 0.0047f}, {"", 1, 0.0f},     {"1.2.3", 0, 7.0f}, {"3 kV", 0, 7.0f},      {"5K", 0, 7.0f},
        {"1e3", 0, 7.0f},     {"+5", 0, 7.0f},    {"2-3m", 0, 7.0f},  {"\xb5", 0, 7.0f}};
    for (auto [text, ok, value] : cases) {
        float f = 7.0f;
        EXPECT_EQ(ParseSIFloat(&f, text), ok) << text;
        EXPECT_FLOAT_EQ(f, value) << text;
    }
    // Text, range, step, exponent, accepted, result (3 untouched); the 20 mV steps read from
    // "1.00 " volts. Half a step rounds away from zero.
    const std::tuple<const char*, int, int, double, int, int, int> scaled[] = {
        {"1.00m", 0, 4000, 1e-6, 0, 1, 1000}, {"-0.5", -10, 10, 1.0, 0, 1, -1}, {"4000", 0, 4000, 1.0, 0, 1, 4000},
        {"1.00 ", -100, 100, 20.0, -1, 1, 50}, {"4001", 0, 4000, 1.0, 0, 0, 3}, {"", 1, 5, 1.0, 0, 0, 3}};
    for (auto [text, lo, hi, step, e, ok, want] : scaled) {
        int n = 3;
        EXPECT_EQ(ParseSIScaled(&n, text, lo, hi, step, e), ok) << text;
        EXPECT_EQ(n, want) << text;
    }
    for (auto [step, e] : {std::pair{0.02, 0}, {5.0, -1}, {0.25, 2}, {4.0, -3}})
        for (int k = -200; k <= 200; ++k) {
            int back = 12345;
            ASSERT_TRUE(ParseSIScaled(&back, SI(k * step, e).c_str(), -200, 200, step, e)) << k;
            EXPECT_EQ(back, k) << SI(k * step, e);
        }
}
