// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "data/CData.h"

// Display mode "Różniczka": the time derivative of each plot that is on, smoothed over
// 21 samples and rescaled so that its largest magnitude is 100 codes.
class CDataDerivative : public CData {
public:
    explicit CDataDerivative(IModeHost* pHost) : CData(pHost) {}
    ~CDataDerivative() override = default;
    bool IsDerivative() const override { return true; }
    void Recalculate() override;
};
