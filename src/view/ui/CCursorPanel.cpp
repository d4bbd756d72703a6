#include "view/ui/CCursorPanel.h"

namespace {

const CReadoutPanel::CursorRow kOnePlotRows[2] = {
    {"Y", {1043, 1045, 1047}},
    {"X", {1044, 1046, 1048}},
};

}  // namespace

CCursorPanel::CCursorPanel(QWidget* parent) : CReadoutPanel(parent) {
    BuildCursorTable(kOnePlotRows, 2);
    Freeze();
}

void CCursorPanel::ShowValues() {
    ShowCursorRow(kOnePlotRows[0], m_fY1, m_fY2, m_nYExponent);
    ShowCursorRow(kOnePlotRows[1], m_fX1, m_fX2, m_nXExponent);
}
