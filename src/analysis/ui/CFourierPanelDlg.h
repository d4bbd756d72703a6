// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "analysis/FourierPanelValues.h"
#include "widgets/ui/CReadoutPanel.h"

// Read-out of the harmonic picked by the Fourier cursor.
class CFourierPanelDlg : public CReadoutPanel {
    Q_OBJECT
public:
    explicit CFourierPanelDlg(QWidget* parent);

    FourierPanelValues m_values;  // the view fills the numbers, m_nHarmonic and m_strPlot

    // Formats the numbers (which changes some of them, see FormatFourierPanel) and
    // shows the texts; the view fills m_values afresh before each call.
    void ShowValues();
};
