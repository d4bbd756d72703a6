// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "widgets/ui/CReadoutPanel.h"

// The read-out of the measuring cursors: a row a curve shown (one or two), then time.
class CCursorPanel : public CReadoutPanel {
    Q_OBJECT
public:
    CCursorPanel(QWidget* parent, int curves);

    int Curves() const { return m_nCurves; }
    float m_fY[2][2] = {};  // curve, then cursor 1 and cursor 2
    // Each curve in its own plot's exponent: a shared one misreads plot 1 when the units differ.
    int m_nYExponent[2] = {};
    float m_fX1 = 0, m_fX2 = 0;
    int m_nXExponent = 0;

    void ShowValues();

private:
    int m_nCurves;
};
