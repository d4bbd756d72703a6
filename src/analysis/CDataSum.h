// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "data/CData.h"

// Display mode "Suma wykresów": the sample-by-sample sum, in the codes of the plot
// with the coarser amplitude scale.
class CDataSum : public CData {
public:
    explicit CDataSum(IModeHost* pHost) : CData(pHost) {}
    ~CDataSum() override = default;
    bool IsSum() const override { return true; }
    bool IsAvailable() const override { return BothPlotsOn(); }
    bool ShowsTwoCurves() const override { return false; }
    void Recalculate() override;
};
