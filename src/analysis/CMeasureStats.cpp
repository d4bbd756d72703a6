// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CMeasureStats.h"

#include <algorithm>
#include <cmath>

void CMeasureStats::Accumulator::Add(double x) {
    ++n;
    const double d = x - mean;
    mean += d / static_cast<double>(n);
    m2 += d * (x - mean);
    min = n == 1 ? x : std::min(min, x);
    max = n == 1 ? x : std::max(max, x);
    last = x;
}

void CMeasureStats::Add(const ModeMeasurements& m) {
    ++m_nRecords;
    if (m.mode < 0 || m.mode >= kModeCount) return;
    auto add = [&](int plot, const MeasureValues& values) {
        for (int id = 0; id < kMeasCount; ++id)
            if (values[static_cast<size_t>(id)]) m_acc[m.mode][plot][id].Add(*values[static_cast<size_t>(id)]);
    };
    for (const auto& c : m.columns)
        if (c) add(c->plot, c->values);
    add(kBetween, m.between);
}

void CMeasureStats::Reset() {
    for (auto& mode : m_acc)
        for (auto& plot : mode)
            for (Accumulator& a : plot) a = {};
    m_nRecords = 0;
}

CMeasureStats::Summary CMeasureStats::Find(int mode, int plot, MeasureId id) const {
    if (mode < 0 || mode >= kModeCount || plot < 0 || plot > kBetween || id < 0 || id >= kMeasCount) return {};
    const Accumulator& a = m_acc[mode][plot][id];
    Summary s{a.n, a.mean, a.min, a.max, a.last, std::nullopt};
    if (a.n >= 2) s.deviation = std::sqrt(std::max(0.0, a.m2 / static_cast<double>(a.n - 1)));
    return s;
}
