#pragma once
#include "data/CData.h"

// Display mode. Until its transform lands it shows the plots as fetched.
class CDataFourier : public CData {
public:
    explicit CDataFourier(CKivDoc* pDoc) : CData(pDoc) {}
    ~CDataFourier() override = default;
    bool IsFourier() const override { return true; }
    void Recalculate() override;
};
