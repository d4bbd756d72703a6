// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <functional>

#include "data/KivTypes.h"

class QCheckBox;
class QFrame;
class QLineEdit;

// "Właściwości wykresu n": switch a plot on, invert, multiply and shift it, and pick its
// colour. Controls are named after their ids: check boxes "1031" (Włączony), "1029"
// (Mnożnik), "1025" (Odwróć), "1026" (Przesunięcie); fields "1028" (multiplier) and "1027"
// (offset); swatch "1036"; "1030" (Zmień); buttons "IDOK" and "IDCANCEL".
class CPlotSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CPlotSettingsDlg(const QString& title, const PlotSettings& settings, PlotColour swatch,
                     QWidget* parent = nullptr);

    const PlotSettings& Settings() const;  // after OK: what the user chose
    PlotColour SwatchColour() const;

    // The colour picker; false when it was cancelled. Tests put their own here.
    std::function<bool(PlotColour& colour)> m_pickColour;

    // OK keeps the dialog open while a ticked field does not read; Cancel forgets every
    // change, so the getters give back what the caller passed in.
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCheckClicked();
    void ReadChecks();
    void OnChangeColour();

    PlotSettings m_settings;
    const PlotSettings m_given;
    PlotColour m_crSwatch;
    const PlotColour m_crGiven;

    QCheckBox* m_pEnabled;
    QCheckBox* m_pMultiplier;
    QCheckBox* m_pInvert;
    QCheckBox* m_pOffset;
    QLineEdit* m_pMultiplierEdit;
    QLineEdit* m_pOffsetEdit;
    QFrame* m_pSwatch;
};
