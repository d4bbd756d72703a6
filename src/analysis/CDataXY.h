// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "data/CData.h"

// Display mode "Tryb XY": plot 1 against plot 2. The codes are shown as they are; the
// horizontal window in plot-2 codes is the base class's XY behaviour.
class CDataXY : public CData {
public:
    // Both axes carry codes here, so both get the vertical axis's 8 divisions.
    explicit CDataXY(IModeHost* pHost) : CData(pHost) { m_nDivX = 8; }
    ~CDataXY() override = default;
    bool IsXY() const override { return true; }
    bool IsAvailable() const override { return BothPlotsOn(); }
    bool ShowsTwoCurves() const override { return false; }
    void Recalculate() override;
};
