// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CExport.h"

#include <algorithm>
#include <cmath>

#include "data/CData.h"
#include "units/NumberText.h"

namespace {

constexpr int kTekRows = 500;
constexpr int kTekGroup = kSamples / kTekRows;

// "%.12f" without the C library's locale: under a Polish desktop locale printf would
// already write a comma, and the Tektronix form needs the point.
void AppendFixed12(std::string& out, double v, char point) {
    const size_t start = out.size();
    out += DecimalText(v, DecimalForm::Fixed, 12);
    if (point != '.') std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '.', point);
}

double TimePerSample(const CData& mode) { return ScalePower(mode.m_scaleX) * mode.m_scaleX.step; }

}  // namespace

// Both plots on gives two value columns in every mode (XY, sum and product included);
// one plot on gives the mode's single curve, which always lies in the first slot.
void WriteSpreadsheetCsv(const CData& mode, std::string& out) {
    if (mode.GetPlotMask() == 0) return;
    const bool both = mode.BothPlotsOn();
    const double dt = TimePerSample(mode);
    const double p1 = ScalePower(mode.m_scaleY1), s1 = mode.m_scaleY1.step;
    const double p2 = ScalePower(mode.m_scaleY2), s2 = mode.m_scaleY2.step;
    double t = 0.0;  // accumulated sample by sample, not i * dt: the last digits show it
    for (int i = 0; i < kSamples; ++i) {
        AppendFixed12(out, t, ',');
        out += ';';
        AppendFixed12(out, (mode.m_nCalc1[i] - 100.0) * p1 * s1, ',');
        out += ';';
        if (both) AppendFixed12(out, (mode.m_nCalc2[i] - 100.0) * p2 * s2, ',');
        out += "\r\n";
        t += dt;
    }
}

// Times: -250 d .. -d upwards and 250 d .. d downwards, d = 8 samples; none is 0. The
// importer takes the last time back as half the record.
void WriteTektronixCsv(const CData& mode, std::string& out) {
    if (mode.GetPlotMask() == 0) return;
    const double d = 8 * TimePerSample(mode);
    double times[kTekRows];
    times[0] = -250 * d;
    for (int j = 1; j < kTekRows / 2; ++j) times[j] = times[j - 1] + d;
    times[kTekRows - 1] = 250 * d;
    for (int j = kTekRows - 2; j >= kTekRows / 2; --j) times[j] = times[j + 1] - d;

    const double p = ScalePower(mode.m_scaleY1), s = mode.m_scaleY1.step;
    for (int j = 0; j < kTekRows; ++j) {
        double sum = 0.0;
        for (int i = j * kTekGroup; i < (j + 1) * kTekGroup; ++i) sum += (mode.m_nCalc1[i] - 100.0) * p * s;
        AppendFixed12(out, times[j], '.');
        out += ',';
        AppendFixed12(out, sum * 0.125, '.');
        out += "\r\n";
    }
}
