#pragma once
#include "data/CData.h"

// Display mode. Until its transform lands it shows the plots as fetched.
class CDataDerivative : public CData {
public:
    explicit CDataDerivative(CKivDoc* pDoc) : CData(pDoc) {}
    ~CDataDerivative() override = default;
    bool IsDerivative() const override { return true; }
    void Recalculate() override;
};
