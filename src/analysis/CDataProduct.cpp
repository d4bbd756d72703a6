#include "analysis/CDataProduct.h"

#include "data/CDataSrc.h"

void CDataProduct::Recalculate() {
    m_bReady = 1;
    if (!(IsAvailable())) return;
    CopyFromSource(Source().m_crColour1);
    ResetZoom();
}
