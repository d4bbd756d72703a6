// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CDataOriginal.h"

#include "data/CDataSrc.h"

void CDataOriginal::Recalculate() {
    m_bReady = 1;
    if (!(Source().m_nEnabled != 0)) return;
    CopyFromSource(Source().m_crColour1);
    ResetZoom();
}
