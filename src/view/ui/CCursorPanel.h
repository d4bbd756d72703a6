#pragma once
#include "widgets/ui/CReadoutPanel.h"

// One-plot read-out of the measuring cursors (dialog 145).
class CCursorPanel : public CReadoutPanel {
    Q_OBJECT
public:
    explicit CCursorPanel(QWidget* parent);

    float m_fY1 = 0, m_fY2 = 0;  // value at cursor 1 and cursor 2
    int m_nYExponent = 0;
    float m_fX1 = 0, m_fX2 = 0;
    int m_nXExponent = 0;

    void ShowValues();
};
