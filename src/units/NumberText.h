// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

// Numbers as text the same way everywhere (instrument replies, files, dialogs, command
// lines): the C grammar with a decimal point, whatever the desktop's locale.

// The whole text as a number; blanks and one leading '+' are allowed around it.
bool ReadNumber(std::string_view text, double& out);
// The whole text as a whole number within lo..hi (blanks and '+' as above).
bool ReadInteger(std::string_view text, long long lo, long long hi, long long& out);
template <class Int>
bool ReadInteger(std::string_view text, long long lo, long long hi, Int& out) {
    long long v = 0;
    if (!ReadInteger(text, lo, hi, v)) return false;
    out = static_cast<Int>(v);
    return true;
}

// Shortest: the fewest digits that read back as the same double. Fixed: digits after the
// point ("%.*f"). General: digits significant digits ("%.*g").
enum class DecimalForm { Shortest, Fixed, General };
std::string DecimalText(double v, DecimalForm form = DecimalForm::Shortest, int digits = 0);
