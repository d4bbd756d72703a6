#pragma once
#include "data/CData.h"

// Display mode. Until its transform lands it shows the plots as fetched.
class CDataSum : public CData {
public:
    explicit CDataSum(CKivDoc* pDoc) : CData(pDoc) {}
    ~CDataSum() override = default;
    bool IsSum() const override { return true; }
    bool IsAvailable() const override { return BothPlotsOn(); }
    bool ShowsTwoCurves() const override { return false; }
    void Recalculate() override;
};
