// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "analysis/ModeTable.h"
#include "data/CExport.h"
#include "document/CKivDoc.h"

// Every mode's samples, labels, read-outs, scale values, two zooms, mean and RMS, both CSV
// forms and the harmonics table, as the windows and kivtool would ask for them.
inline void UseEveryMode(CKivDoc& doc) {
    for (int i = 0; i < kModeCount; ++i) {
        doc.m_currentMode = i;
        CData* m = doc.GetCurrentMode();
        m->GetDisplaySamples(1);
        for (int axis = 0; axis < 4; ++axis) m->GetAxisLabels(axis);
        float a, b;
        int e, i1, i2;
        AxisWindowInfo info;
        for (int axis = 1; axis <= 3; ++axis) {
            m->CursorValues(a, b, e, axis);
            m->CursorRawValues(a, b, i1, i2, e, axis);
            m->GetAxisInfo(info, axis);
        }
        m->ZoomTo(100, 10, 3000, 150);
        m->ZoomTo(7, 7, 7, 7);
        std::string values[4], csv;
        bool two;
        doc.ComputeMeanRms(values, two);
        WriteSpreadsheetCsv(*m, csv);
        WriteTektronixCsv(*m, csv);
        m->ExportHarmonics(csv);
    }
    doc.m_currentMode = kModeOriginal;
}
