// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CCursorPanel.h"

namespace {

const CReadoutPanel::CursorRow kOneCurveRows[2] = {
    {"Y", {1043, 1045, 1047}},
    {"X", {1044, 1046, 1048}},
};
const CReadoutPanel::CursorRow kTwoCurveRows[3] = {
    {"Y1", {1002, 1004, 1008}},
    {"Y2", {1003, 1005, 1009}},
    {"X", {1044, 1046, 1048}},
};

}  // namespace

CCursorPanel::CCursorPanel(QWidget* parent, int curves) : CReadoutPanel(parent), m_nCurves(curves == 2 ? 2 : 1) {
    if (m_nCurves == 2)
        BuildCursorTable(kTwoCurveRows, 3);
    else
        BuildCursorTable(kOneCurveRows, 2);
    Freeze();
}

void CCursorPanel::ShowValues() {
    const CReadoutPanel::CursorRow* rows = m_nCurves == 2 ? kTwoCurveRows : kOneCurveRows;
    for (int c = 0; c < m_nCurves; ++c) ShowCursorRow(rows[c], m_fY[c][0], m_fY[c][1], m_nYExponent[c]);
    ShowCursorRow(rows[m_nCurves], m_fX1, m_fX2, m_nXExponent);
}
