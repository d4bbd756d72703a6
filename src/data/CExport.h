// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

class CData;

// File bytes of the data forms from a mode's computed record (whole record, values in
// base units). Spreadsheet: 4000 rows of time and one or two values, decimal commas.
// Tektronix 460A: 500 rows of time and the mean of 8 samples of the first curve.
void WriteSpreadsheetCsv(const CData& mode, std::string& out);
void WriteTektronixCsv(const CData& mode, std::string& out);
