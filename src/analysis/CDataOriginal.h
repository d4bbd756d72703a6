// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "data/CData.h"

// Display mode: the plot pair's codes, scales and colours as they are.
class CDataOriginal : public CData {
public:
    explicit CDataOriginal(IModeHost* pHost) : CData(pHost) {}
    ~CDataOriginal() override = default;
    void Recalculate() override;
};
