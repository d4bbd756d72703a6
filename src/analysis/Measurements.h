// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <bitset>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/KivTypes.h"

class CData;
class CMeasureStats;

// Automatic measurements of the curves the current mode shows, as a bench engineer reads them
// off a scope's measurement bar. The definitions follow IEEE Std 181 (levels from a histogram,
// 10/50/90 % reference levels, hysteresis between the 10 % and 90 % levels); the README's
// measurement table states each one.
//
// The rows in the order the panel lists them; keys are kivtool's and the JSON's names.
enum MeasureId {
    kMeasMax,
    kMeasMin,
    kMeasPeakToPeak,
    kMeasTop,
    kMeasBase,
    kMeasAmplitude,
    kMeasMiddle,
    kMeasMean,
    kMeasRms,
    kMeasAcRms,
    kMeasArea,
    kMeasCycleMean,
    kMeasCycleRms,
    kMeasCycleAcRms,
    kMeasCycleArea,
    kMeasOvershoot,
    kMeasPreshoot,
    kMeasPeriod,
    kMeasFrequency,
    kMeasRise,
    kMeasFall,
    kMeasPosWidth,
    kMeasNegWidth,
    kMeasDuty,
    kMeasNegDuty,
    kMeasRiseSlew,
    kMeasFallSlew,
    kMeasRisingEdges,
    kMeasFallingEdges,
    kMeasPosPulses,
    kMeasNegPulses,
    kMeasBurstWidth,
    kMeasFundamental,
    kMeasDc,
    kMeasA1,
    kMeasThd,
    // Between the two plots: one value for the pair.
    kMeasDelayRise,
    kMeasDelayFall,
    kMeasPhase,
    kMeasCount
};

// As scopes group their measurements; the selection dialog lists them so.
enum class MeasureGroup { Amplitude, Time, Between, Spectrum };
enum class MeasureUnit { Amplitude, Time, Frequency, Percent, Count, Slew, Area, Degrees };

struct MeasureInfo {
    const char* key;    // kivtool's and the JSON's name
    const char* label;  // the panel's row, Polish source text
    MeasureUnit unit;
    MeasureGroup group;
};

// Indexed by MeasureId.
std::span<const MeasureInfo, kMeasCount> MeasureTable();
// The group's name as the selection dialog heads it (Polish source text).
const char* MeasureGroupName(MeasureGroup group);
// The row a key names; kMeasCount for none.
MeasureId FindMeasure(const std::string& key);

using MeasureSet = std::bitset<kMeasCount>;
MeasureSet AllMeasurements();
// What the panel showed before rows could be chosen: max, min, peak-to-peak, mean, RMS, AC RMS,
// period, frequency, duty, rise, fall, and the four spectrum rows.
MeasureSet DefaultMeasurements();

// A value that is not defined (a flat curve, too few edges) is absent, never NaN.
using MeasureValues = std::array<std::optional<double>, kMeasCount>;

// The 50 % crossings of a curve's edges, in samples from the first sample of its span; edges
// alternate, the first rising when firstRising.
struct MeasureEdges {
    int count = 0;
    bool firstRising = false;
    std::array<double, kSamples> t50;
};

// The measurements of one curve: n values sampled dt seconds apart, code the amplitude of one
// step of the plot's codes (the histogram's bin; at most 0 for none). Only what wanted needs is
// computed; the rows between the plots stay absent. edges, when given, receives the edges.
MeasureValues MeasureSamples(const double* v, int n, double dt, double code,
                             const MeasureSet& wanted = AllMeasurements(), MeasureEdges* edges = nullptr);

// What measuring spans of one record again and again keeps, as each frame of a cursor drag does:
// the record's prefix sums, the last span's histogram and the last spectrum. The values are the
// same to the bit with a cache kept or a fresh one.
struct MeasureCache {
    int64_t bias = 0;
    int sign = 0;                // 0: nothing kept
    std::vector<int32_t> codes;  // sign (record + bias), of the record they were made from
    int32_t low = 0, high = 0;   // the codes' extremes
    std::vector<double> sums, squares;   // of each 64 codes from 0 (whole numbers, exact)
    std::vector<int32_t> counts;         // of each code from low, over codes [from, to)
    int from = 0, to = 0;
    int spectrumFrom = -1, spectrumTo = 0, cycles = 0, harmonics = 0;  // of amplitudes
    std::array<double, kHarmonics - 1> amplitudes{};
};

// The same of codes [first, first + count) of a record of kSamples codes, sample i standing for
// sign (record[i] + bias) steps of step base units. Measured in codes, exactly where sums allow.
MeasureValues MeasureRecord(const int32_t* record, int64_t bias, int sign, double step, int first, int count,
                            double dt, const MeasureSet& wanted, MeasureEdges* edges, MeasureCache& cache);
// Delay and phase of curve 2 against curve 1 (both dt apart, spans starting together); period1 is
// curve 1's period in seconds when it has one.
void MeasureBetween(const MeasureEdges& e1, const MeasureEdges& e2, double dt, const std::optional<double>& period1,
                    MeasureValues& out);

// What the current mode gives. Every mode that shows a waveform fills the curve rows, the Fourier
// mode only the spectrum rows; XY and a mode without data give no column.
struct ModeMeasurements {
    int mode = -1;          // KivMode; -1 when nothing was measured
    bool fourier = false;
    bool twoCurves = false;  // the rows between the plots have a place
    int span[2] = {0, 0};    // samples [span[0], span[1]) of the mode's record
    // The columns: slot 0 is plot 1, or the mode's single curve (sum, product, one plot on)
    // whichever plot it comes from; slot 1 is plot 2 beside it.
    struct Column {
        std::string name;           // "Wykres 1", "Wykres 2", "Suma", "Iloczyn", translated
        std::string amplitudeUnit;  // "V", "V/s", "Vs", "V²"
        int plot = 1;               // the plot the values come from; 0 for a sum or a product
        MeasureValues values;
    };
    std::optional<Column> columns[2];
    MeasureValues between;  // the rows between the plots

    // Whether a row has a place in this mode.
    bool Applies(MeasureId id) const;
    // The chosen rows that apply, in the table's order.
    std::vector<MeasureId> Rows(const MeasureSet& chosen) const;
};

// Measures a mode, bringing a time-domain mode up to date first (the spectrum is not needed).
// The span: the cursors' when cursorsOn, else the part of the record the window shows, as the
// cursor read-out and the mean/RMS window take it; the Fourier mode takes the spectrum's span,
// the cursors as record indices. Each plot is measured over its own samples only.
// cache, when given, is an array of two kept for the columns between calls.
ModeMeasurements MeasureMode(CData& mode, int cursor1, int cursor2, bool cursorsOn,
                             const MeasureSet& wanted = AllMeasurements(), MeasureCache* cache = nullptr);

// A value as the panel shows it: the program's SI notation and the unit ("1.00kHz",
// "2.83 V"), percentages with two decimals, counts whole, "—" when absent.
std::string MeasureText(const std::optional<double>& value, MeasureUnit unit, const std::string& amplitudeUnit);

// The table the panel paints and kivtool prints: a heading row, then a label and the cells of
// each row. Without statistics a column a curve; with them a row a measurement and curve and
// the columns current, mean, minimum, maximum, standard deviation and count.
struct MeasureCell {
    std::optional<double> value;
    MeasureUnit unit = MeasureUnit::Count;
    std::string amplitudeUnit;
    bool blank = false;  // no cell at all (a row between the plots has one value)
    bool operator==(const MeasureCell&) const = default;
    std::string Text() const { return blank ? std::string() : MeasureText(value, unit, amplitudeUnit); }
};
// A heading or a label: a source text of the program's own (a table entry, compared by address)
// translated where it is shown, then a text as it is.
struct MeasureName {
    const char* source = nullptr;
    std::string literal;
    bool operator==(const MeasureName&) const = default;
    std::string Text() const;
};
struct MeasureGrid {
    std::vector<MeasureName> head;    // the first is the corner
    std::vector<MeasureName> labels;  // one a row
    std::vector<MeasureCell> cells;   // row by row, head.size() - 1 a row
    bool Empty() const { return labels.empty(); }
};
// stats null: no statistics columns.
MeasureGrid BuildMeasureGrid(const ModeMeasurements& m, const MeasureSet& chosen, const CMeasureStats* stats = nullptr);
// The same into grid, whose storage it reuses: the panel fills one a frame.
void FillMeasureGrid(MeasureGrid& grid, const ModeMeasurements& m, const MeasureSet& chosen,
                     const CMeasureStats* stats = nullptr);
// Columns separated by tab, or aligned with spaces (by characters, not bytes) when tab is false;
// a line a row. Without rows the one line kNoMeasurements says.
std::string MeasureGridText(const MeasureGrid& grid, bool tab);
extern const char* const kNoMeasurements;
