// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "data/CData.h"

// Display mode "Całka": the running trapezoid integral of each plot that is on, from
// the start of the record, rescaled so that its largest magnitude is 100 codes.
class CDataIntegral : public CData {
public:
    explicit CDataIntegral(IModeHost* pHost) : CData(pHost) {}
    ~CDataIntegral() override = default;
    bool IsIntegral() const override { return true; }
    void Recalculate() override;
};
