#include "analysis/CDataSum.h"

#include "data/CDataSrc.h"

void CDataSum::Recalculate() {
    m_bReady = 1;
    if (!(IsAvailable())) return;
    CopyFromSource(Source().m_crColour1);
    ResetZoom();
}
