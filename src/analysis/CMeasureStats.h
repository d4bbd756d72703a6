// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

#include "analysis/Measurements.h"
#include "analysis/ModeTable.h"

// Measurement statistics over records (a fetch, a live fetch's update, an import, a generator run
// each give one): for every mode, curve and row the number of records that gave a value, their
// mean, minimum, maximum and standard deviation, and the last value. Fixed arrays: adding a
// record allocates nothing.
class CMeasureStats {
public:
    // The curve of the rows between the plots.
    static constexpr int kBetween = 3;

    struct Summary {
        int64_t count = 0;
        double mean = 0, min = 0, max = 0, last = 0;
        std::optional<double> deviation;  // the sample standard deviation, from two values on
    };

    // One record's measurements: every value present counts.
    void Add(const ModeMeasurements& m);
    void Reset();
    // plot: 0 for a sum or a product, 1 or 2, kBetween.
    Summary Find(int mode, int plot, MeasureId id) const;
    int64_t Records() const { return m_nRecords; }

private:
    struct Accumulator {
        int64_t n = 0;
        double mean = 0, m2 = 0, min = 0, max = 0, last = 0;  // Welford's running mean and squares
        void Add(double x);
    };
    Accumulator m_acc[kModeCount][4][kMeasCount];
    int64_t m_nRecords = 0;
};
