#include <gtest/gtest.h>

#include "view/SINotation.h"

namespace {

std::string SI(double v, int e = 0) {
    std::string s;
    FormatSI(s, v, e);
    return s;
}

}  // namespace

TEST(SINotation, Format) {
    struct Case {
        double value;
        int exponent;
        const char* text;
    };
    const Case cases[] = {
        {5, 0, "5.00 "},        {12.345, 0, "12.3 "},  {123.45, 0, "123 "},     {0.001, 0, "1.00m"},
        {0.0047, 0, "4.70m"},   {1500, 0, "1.50k"},    {-2.5, 0, "-2.50 "},     {0, 0, "0.000 "},
        {-0.0, 0, "0.000 "},    {9.996, 0, "10.0 "},   {999.6, 0, "1000 "},     {0.99996, 0, "1000m"},
        {5, -1, "5.00m"},       {0, -1, "0.000m"},     {-0.001, 0, "-1.00m"},   {1000000, 0, "1.00M"},
        {99.5, 0, "100 "},  // the digit count comes from the rounded value
        // Normalising stops at the ends of the prefix table; nothing is read past it.
        {1e-18, 0, "0.001f"},   {1e16, 0, "10000T"},   {5, 6, "5000000T"},
    };
    for (const Case& c : cases) EXPECT_EQ(SI(c.value, c.exponent), c.text) << c.value << " e" << c.exponent;
    EXPECT_EQ(std::string({SIPrefixChar(-6), SIPrefixChar(-5), SIPrefixChar(4), SIPrefixChar(5)}), "?fT?");
}

TEST(SINotation, ParseFloat) {
    const std::pair<const char*, float> good[] = {{"2.5k", 2500.0f}, {"100m", 0.1f},   {"12", 12.0f},
                                                  {"-4.7u", -4.7e-6f}, {"1 000", 1000.0f}, {"4.7 m", 0.0047f},
                                                  {"", 0.0f}};
    for (auto [text, value] : good) {
        float f = -99.0f;
        EXPECT_TRUE(ParseSIFloat(&f, text)) << text;
        EXPECT_FLOAT_EQ(f, value) << text;
    }
    for (const char* bad : {"1.2.3", "3 kV", "5K", "1e3", "+5", "2-3m", "\xb5"}) {
        float f = 7.0f;
        EXPECT_FALSE(ParseSIFloat(&f, bad)) << bad;
        EXPECT_FLOAT_EQ(f, 7.0f) << bad;  // untouched on failure
    }
}

TEST(SINotation, ParseScaledAndRoundTrip) {
    // Text, range, step, exponent, result; the last is a milli-prefixed scale: 20 mV steps
    // read from "1.00 " volts. Half a step rounds away from zero.
    const std::tuple<const char*, int, int, double, int, int> good[] = {
        {"1.00m", 0, 4000, 1e-6, 0, 1000}, {"-0.5", -10, 10, 1.0, 0, -1}, {"4000", 0, 4000, 1.0, 0, 4000},
        {"1.00 ", -100, 100, 20.0, -1, 50}};
    for (auto [text, lo, hi, step, e, want] : good) {
        int n = -1;
        EXPECT_TRUE(ParseSIScaled(&n, text, lo, hi, step, e)) << text;
        EXPECT_EQ(n, want) << text;
    }
    int n = 3;
    EXPECT_FALSE(ParseSIScaled(&n, "4001", 0, 4000, 1.0, 0));
    EXPECT_FALSE(ParseSIScaled(&n, "", 1, 5, 1.0, 0));
    EXPECT_EQ(n, 3);

    for (auto [step, e] : {std::pair{0.02, 0}, {5.0, -1}, {0.25, 2}, {4.0, -3}})
        for (int k = -200; k <= 200; ++k) {
            int back = 12345;
            ASSERT_TRUE(ParseSIScaled(&back, SI(k * step, e).c_str(), -200, 200, step, e)) << k;
            EXPECT_EQ(back, k) << SI(k * step, e);
        }
}
