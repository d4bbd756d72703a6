#pragma once
#include "data/CData.h"

// Display mode. Until its transform lands it shows the plots as fetched.
class CDataXY : public CData {
public:
    explicit CDataXY(CKivDoc* pDoc) : CData(pDoc) {}
    ~CDataXY() override = default;
    bool IsXY() const override { return true; }
    bool IsAvailable() const override { return BothPlotsOn(); }
    bool ShowsTwoCurves() const override { return false; }
    void Recalculate() override;
};
