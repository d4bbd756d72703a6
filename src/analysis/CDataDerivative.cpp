#include "analysis/CDataDerivative.h"

#include "data/CDataSrc.h"

void CDataDerivative::Recalculate() {
    m_bReady = 1;
    if (!(Source().m_nEnabled != 0)) return;
    CopyFromSource(Source().m_crColour1);
    ResetZoom();
}
