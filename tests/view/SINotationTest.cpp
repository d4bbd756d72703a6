#include <gtest/gtest.h>

#include "view/SINotation.h"

namespace {

std::string SI(double v, int e = 0) {
    std::string s;
    FormatSI(s, v, e);
    return s;
}

}  // namespace

TEST(SINotation, FormatTable) {
    EXPECT_EQ(SI(5), "5.00 ");
    EXPECT_EQ(SI(12.345), "12.3 ");
    EXPECT_EQ(SI(123.45), "123 ");
    EXPECT_EQ(SI(0.001), "1.00m");
    EXPECT_EQ(SI(0.0047), "4.70m");
    EXPECT_EQ(SI(1500), "1.50k");
    EXPECT_EQ(SI(-2.5), "-2.50 ");
    EXPECT_EQ(SI(0), "0.000 ");
    EXPECT_EQ(SI(-0.0), "0.000 ");
    EXPECT_EQ(SI(9.996), "10.0 ");
    EXPECT_EQ(SI(999.6), "1000 ");
    EXPECT_EQ(SI(0.99996), "1000m");
    EXPECT_EQ(SI(5, -1), "5.00m");
    EXPECT_EQ(SI(0, -1), "0.000m");
    EXPECT_EQ(SI(-0.001), "-1.00m");
    EXPECT_EQ(SI(1000000), "1.00M");
    EXPECT_EQ(SIPrefixChar(-5), 'f');
    EXPECT_EQ(SIPrefixChar(4), 'T');
}

TEST(SINotation, OutsideThePrefixTable) {
    // Normalising stops at the ends of the table; nothing is read past it.
    EXPECT_EQ(SI(1e-18), "0.001f");
    EXPECT_EQ(SI(1e16), "10000T");
    EXPECT_EQ(SI(5, 6), "5000000T");
    EXPECT_EQ(SIPrefixChar(5), '?');
    EXPECT_EQ(SIPrefixChar(-6), '?');
}

TEST(SINotation, ParseFloat) {
    float f = -99.0f;
    EXPECT_TRUE(ParseSIFloat(&f, "2.5k"));
    EXPECT_FLOAT_EQ(f, 2500.0f);
    EXPECT_TRUE(ParseSIFloat(&f, "100m"));
    EXPECT_FLOAT_EQ(f, 0.1f);
    EXPECT_TRUE(ParseSIFloat(&f, "12"));
    EXPECT_FLOAT_EQ(f, 12.0f);
    EXPECT_TRUE(ParseSIFloat(&f, "-4.7u"));
    EXPECT_FLOAT_EQ(f, -4.7e-6f);
    EXPECT_TRUE(ParseSIFloat(&f, "1 000"));
    EXPECT_FLOAT_EQ(f, 1000.0f);
    EXPECT_TRUE(ParseSIFloat(&f, "4.7 m"));
    EXPECT_FLOAT_EQ(f, 0.0047f);
    EXPECT_TRUE(ParseSIFloat(&f, ""));
    EXPECT_FLOAT_EQ(f, 0.0f);
    f = 7.0f;
    for (const char* bad : {"1.2.3", "3 kV", "5K", "1e3", "+5", "2-3m", "\xb5"}) {
        EXPECT_FALSE(ParseSIFloat(&f, bad)) << bad;
        EXPECT_FLOAT_EQ(f, 7.0f) << bad;  // untouched on failure
    }
}

TEST(SINotation, ParseScaledAndRoundTrip) {
    int n = -1;
    EXPECT_TRUE(ParseSIScaled(&n, "1.00m", 0, 4000, 1e-6, 0));
    EXPECT_EQ(n, 1000);
    EXPECT_TRUE(ParseSIScaled(&n, "-0.5", -10, 10, 1.0, 0));
    EXPECT_EQ(n, -1);  // half a step rounds away from zero
    EXPECT_TRUE(ParseSIScaled(&n, "4000", 0, 4000, 1.0, 0));
    n = 3;
    EXPECT_FALSE(ParseSIScaled(&n, "4001", 0, 4000, 1.0, 0));
    EXPECT_FALSE(ParseSIScaled(&n, "", 1, 5, 1.0, 0));
    EXPECT_EQ(n, 3);
    // A milli-prefixed scale: 20 mV steps read from "1.00 " volts.
    EXPECT_TRUE(ParseSIScaled(&n, "1.00 ", -100, 100, 20.0, -1));
    EXPECT_EQ(n, 50);

    // The digit count comes from the rounded value: 99.5 is written with three digits.
    std::string top;
    FormatSI(top, 99.5, 0);
    EXPECT_EQ(top, "100 ");

    struct Case {
        double step;
        int exponent;
    };
    for (Case c : {Case{0.02, 0}, Case{5.0, -1}, Case{0.25, 2}, Case{4.0, -3}}) {
        for (int k = -200; k <= 200; ++k) {
            std::string s;
            FormatSI(s, k * c.step, c.exponent);
            int back = 12345;
            ASSERT_TRUE(ParseSIScaled(&back, s.c_str(), -200, 200, c.step, c.exponent)) << s;
            EXPECT_EQ(back, k) << s;
        }
    }
}
