// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLineEdit>

#include "analysis/ui/CFourierPanelDlg.h"
#include "support/WidgetText.h"
#include "view/ui/CCursorPanel.h"

namespace {

// A panel over the view never takes the keyboard from it and keeps its size; it shows the
// captions, and the fields' texts once the values are shown.
void Expect(const CReadoutPanel& panel, std::initializer_list<const char*> captions,
            std::initializer_list<std::pair<int, const char*>> fields) {
    EXPECT_EQ(panel.focusPolicy(), Qt::NoFocus);
    for (const QWidget* w : panel.findChildren<QWidget*>()) EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
    for (const QLineEdit* e : panel.findChildren<QLineEdit*>()) EXPECT_TRUE(e->isReadOnly());
    EXPECT_EQ(panel.minimumSize(), panel.maximumSize());
    EXPECT_EQ(panel.size(), panel.sizeHint());
    for (const char* t : captions) EXPECT_TRUE(Captions(panel).contains(QString::fromUtf8(t))) << t;
    for (auto [id, text] : fields) EXPECT_EQ(panel.FieldText(id), QString::fromUtf8(text)) << id;
}

}  // namespace

// The cursor panels, the two-plot one with each plot's row in its own exponent, and the
// Fourier panel.
TEST(Panels, ReadOuts) {
    QWidget view;
    CCursorPanel panel(&view, 1);
    EXPECT_EQ(panel.findChildren<QLineEdit*>().size(), 6);
    EXPECT_EQ(panel.FieldText(1047), QString());  // empty until the first values
    panel.m_fY[0][0] = 1.5f, panel.m_fY[0][1] = -0.25f, panel.m_nYExponent[0] = 0;
    panel.m_fX1 = 0.0f, panel.m_fX2 = 2500.0f, panel.m_nXExponent = -1;  // milliseconds
    panel.ShowValues();
    Expect(panel, {"Współrzędne kursorów", "Kursor początkowy", "Kursor końcowy", "Różnica", "Y", "X"},
           {{1043, "1.50 "}, {1045, "-250m"}, {1047, "-1.75 "}, {1044, "0.000m"}, {1046, "2.50 "}, {1048, "2.50 "}});

    CCursorPanel two(&view, 2);
    EXPECT_EQ(two.findChildren<QLineEdit*>().size(), 9);
    two.m_fY[0][0] = 0.5f, two.m_fY[0][1] = 3.0f, two.m_nYExponent[0] = 0;
    two.m_fY[1][0] = -5.0f, two.m_fY[1][1] = -7.5f, two.m_nYExponent[1] = -1;
    two.m_fX1 = 400.0f, two.m_fX2 = 100.0f, two.m_nXExponent = -2;
    two.ShowValues();
    Expect(two, {"Współrzędne kursorów", "Kursor początkowy", "Kursor końcowy", "Różnica", "Y1", "Y2", "X"},
           {{1002, "500m"}, {1004, "3.00 "}, {1008, "2.50 "}, {1003, "-5.00m"}, {1005, "-7.50m"}, {1009, "-2.50m"},
            {1044, "400u"}, {1046, "100u"}, {1048, "-300u"}, {1043, ""}});  // the one-plot row is not here

    CFourierPanelDlg fourier(&view);
    FourierPanelValues& v = fourier.m_values;
    v.m_nHarmonic = 10, v.m_strPlot = "Wykres drugi", v.m_fAmplitude = 0.5f, v.m_nAmpExponent = 0;
    v.m_nFreqExponent = -1, v.m_dFrequency = -250.0;  // 10 harmonics over -40 us
    v.m_dPhase = -1.5, v.m_dA0 = 0.25, v.m_dAn = -0.002, v.m_dBn = 0.0;
    fourier.ShowValues();
    Expect(fourier,
           {"Współrzędne kursorów", "oś x", "oś y", "Uwaga", "numer harmonicznej", "częstotliowść harmonicznej",
            "wartość amplitudy", "wartość fazy ", "rad", "°",
            "Częstotliwość pierwszej harmonicznej jest odwrością czasu zaznaczonego kursorami."},
           {{1044, "10"}, {1027, "Wykres drugi"}, {1045, "250kHz"}, {1043, "500m"}, {1046, "-1.50"},
            {1052, "-85.94"}, {1047, "250m"}, {1048, "-2.00m"}, {1049, "0.000 "}});
}
