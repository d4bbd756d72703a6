// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CDataXY.h"

#include "data/CDataSrc.h"

void CDataXY::Recalculate() {
    m_bReady = 1;
    if (!IsAvailable()) return;
    CopyFromSource(Source().m_crColour1);
    ResetZoom();
}
