// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "data/CData.h"

// Display mode "Iloczyn  wykresów": the sample-by-sample product of the two plots.
class CDataProduct : public CData {
public:
    explicit CDataProduct(IModeHost* pHost) : CData(pHost) {}
    ~CDataProduct() override = default;
    bool IsProduct() const override { return true; }
    bool IsAvailable() const override { return BothPlotsOn(); }
    bool ShowsTwoCurves() const override { return false; }
    void Recalculate() override;
};
