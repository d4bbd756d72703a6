// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "data/CData.h"

class IProgressWindow;

// Display mode "Analiza Fouriera": the DC term and harmonics 1..49 of each plot over
// the stretch between the cursors, as bar codes in m_nHarm1/m_nHarm2 with their
// phases and coefficients.
class CDataFourier : public CData {
public:
    explicit CDataFourier(IModeHost* pHost) : CData(pHost) {}
    ~CDataFourier() override = default;
    bool IsFourier() const override { return true; }
    void Recalculate() override;
    // Appends the harmonics table as the file's bytes (Windows-1250, CR LF).
    void ExportHarmonics(std::string& out) override;
    void GetHarmonic(int n, float& amplitude, int& exponent, double& phase, double& a0, double& an, double& bn,
                     int plot) override;

    // The progress window while Recalculate runs, null otherwise.
    IProgressWindow* m_pProgress = nullptr;

private:
    void SetPercent(int percent);
    void BuildAngleTable(int basis);
    void Transform(const double* x, int i1, int i2, double* amp, double* phase, double* a, double* b) const;

    // Physical values of both plots and cos / -sin of 2 pi r / M for r = 0..M-1. Every
    // angle of the transform reduces exactly to one of these, so one table serves all
    // bins and both plots.
    double m_dX1[kSamples], m_dX2[kSamples];
    double m_dCos[kSamples + 1], m_dNegSin[kSamples + 1];
    int m_nAngleBasis = 0;  // the basis m_dCos and m_dNegSin hold, 0 before the first
};
