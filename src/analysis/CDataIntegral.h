#pragma once
#include "data/CData.h"

// Display mode. Until its transform lands it shows the plots as fetched.
class CDataIntegral : public CData {
public:
    explicit CDataIntegral(CKivDoc* pDoc) : CData(pDoc) {}
    ~CDataIntegral() override = default;
    bool IsIntegral() const override { return true; }
    void Recalculate() override;
};
