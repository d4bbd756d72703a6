#pragma once
#include <array>
#include <optional>
#include <span>
#include <string>

class CData;

// Automatic measurements of the curves the current mode shows, from the same computed
// records (and scales) the spreadsheet export writes.
enum MeasureId {
    kMeasMax,
    kMeasMin,
    kMeasPeakToPeak,
    kMeasMean,
    kMeasRms,
    kMeasAcRms,
    kMeasPeriod,
    kMeasFrequency,
    kMeasDuty,
    kMeasRise,
    kMeasFall,
    kMeasFundamental,
    kMeasDc,
    kMeasA1,
    kMeasThd,
    kMeasCount
};

enum class MeasureUnit { Amplitude, Time, Frequency, Percent };

struct MeasureInfo {
    const char* key;    // kivtool's and the JSON's name
    const char* label;  // the panel's row
    MeasureUnit unit;
};

// Indexed by MeasureId.
std::span<const MeasureInfo, kMeasCount> MeasureTable();

// A value that is not defined (a flat curve, too few edges) is absent, never NaN.
using MeasureValues = std::array<std::optional<double>, kMeasCount>;

// The time-domain measurements of n values sampled dt apart (the Fourier rows stay absent).
MeasureValues MeasureSamples(const double* v, int n, double dt);

// What the current mode gives. Time-domain modes fill rows max..fall, the Fourier mode rows
// fundamental..thd; XY and a mode without data give no column.
struct ModeMeasurements {
    bool fourier = false;
    int span[2] = {0, 0};  // samples [span[0], span[1])
    // The columns: slot 0 is plot 1, or the mode's single curve (sum, product, one plot on)
    // whichever plot it comes from; slot 1 is plot 2 beside it.
    struct Column {
        std::string name;           // "Wykres 1", "Wykres 2", "Suma", "Iloczyn"
        std::string amplitudeUnit;  // "V", "V/s", "Vs", "V²"
        int plot = 1;               // the plot the values come from; 0 for a sum or a product
        MeasureValues values;
    };
    std::optional<Column> columns[2];

    // The rows that apply: the mode's measurements, or none.
    std::span<const MeasureId> Rows() const;
};

// Measures a mode, bringing it up to date first (its messages go to its document's platform).
// cursorsOn: the span lies between the cursors, else it is the whole record; the Fourier
// mode always takes the span its spectrum was computed over.
ModeMeasurements MeasureMode(CData& mode, int cursor1, int cursor2, bool cursorsOn);

// A value as the panel shows it: the program's SI notation and the unit ("1.00kHz",
// "2.83 V"), percentages with two decimals, "—" when absent.
std::string MeasureText(const std::optional<double>& value, MeasureUnit unit, const std::string& amplitudeUnit);
// The table as text: a heading row, then one row a measurement; columns separated by tab,
// or aligned with spaces when tab is false.
std::string MeasureTableText(const ModeMeasurements& m, bool tab);
