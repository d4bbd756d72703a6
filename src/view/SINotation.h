#pragma once
#include <string>

// Engineering notation: three significant digits and one SI prefix character from
// "fpnum kMGT" (exponent -5 is 'f', 0 is a space, 4 is 'T').
constexpr int kSIMinExponent = -5;
constexpr int kSIMaxExponent = 4;

void FormatSI(std::string& text, double value, int exponent);
char SIPrefixChar(int exponent);
int ParseSIFloat(float* out, const char* text);
int ParseSIScaled(int* out, const char* text, int min, int max, double step, int exponent);

// Decimal digits of a non-negative value rounded half up (fraction >= 0.5 goes up).
std::string RoundedDigits(double v);
