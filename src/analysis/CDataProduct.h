#pragma once
#include "data/CData.h"

// Display mode. Until its transform lands it shows the plots as fetched.
class CDataProduct : public CData {
public:
    explicit CDataProduct(CKivDoc* pDoc) : CData(pDoc) {}
    ~CDataProduct() override = default;
    bool IsProduct() const override { return true; }
    bool IsAvailable() const override { return BothPlotsOn(); }
    bool ShowsTwoCurves() const override { return false; }
    void Recalculate() override;
};
