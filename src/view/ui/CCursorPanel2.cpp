#include "view/ui/CCursorPanel2.h"

namespace {

const CReadoutPanel::CursorRow kTwoPlotRows[3] = {
    {"Y1", {1002, 1004, 1008}},
    {"Y2", {1003, 1005, 1009}},
    {"X", {1044, 1046, 1048}},
};

}  // namespace

CCursorPanel2::CCursorPanel2(QWidget* parent) : CReadoutPanel(parent) {
    BuildCursorTable(kTwoPlotRows, 3);
    Freeze();
}

void CCursorPanel2::ShowValues() {
    ShowCursorRow(kTwoPlotRows[0], m_fY11, m_fY12, m_nY1Exponent);
    ShowCursorRow(kTwoPlotRows[1], m_fY21, m_fY22, m_nY2Exponent);
    ShowCursorRow(kTwoPlotRows[2], m_fX1, m_fX2, m_nXExponent);
}
