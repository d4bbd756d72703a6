#pragma once
#include "view/ui/CCursorPanel.h"

// Two-plot read-out of the measuring cursors (dialog 140).
class CCursorPanel2 : public CReadoutPanel {
    Q_OBJECT
public:
    explicit CCursorPanel2(QWidget* parent);

    float m_fY11 = 0, m_fY12 = 0;  // plot 1 at cursor 1 and cursor 2
    float m_fY21 = 0, m_fY22 = 0;  // plot 2 at cursor 1 and cursor 2
    // Each row in its own plot's exponent: a shared one misreads plot 1 when the units differ.
    int m_nY1Exponent = 0, m_nY2Exponent = 0;
    float m_fX1 = 0, m_fX2 = 0;
    int m_nXExponent = 0;

    void ShowValues();
};
