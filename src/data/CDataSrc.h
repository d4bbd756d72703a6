// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "data/KivTypes.h"

class CArchive;

// The plot pair: both plots as stored, their settings, and the effective plots on
// one time base that every display mode reads.
class CDataSrc {
public:
    CDataSrc();

    void GetPlotSettings(PlotSettings& settings, int plot) const;
    void SetPlotSettings(PlotSettings& settings, int plot);
    void Rebuild();
    void Serialize(CArchive& ar);

    // Import readers; 1 on success, 0 with nothing changed on failure. A path is read
    // whole and its bytes parsed as the Bytes readers parse them.
    int ReadDso(const std::string& path, int plot);
    int ReadTekCsv(const std::string& path, int plot);
    int ReadDsoBytes(std::span<const uint8_t> bytes, int plot);
    int ReadTekCsvBytes(std::span<const uint8_t> bytes, int plot);
    // A record of 4000 measured values (base units) into a plot as the Tektronix CSV import
    // takes its values: the largest magnitude 75 codes from the zero line, the step from its
    // 2-4-8 series, exponents 0; each value truncated toward zero to its code, or the nearest
    // code when nearest. 0 when no step of the series holds the values.
    int StoreMeasured(const double* values, double timeStep, int plot, bool nearest = false);

    int32_t m_nRaw1[kSamples];
    int32_t m_nRaw2[kSamples];
    uint8_t m_nPresent;
    uint8_t m_nEnabled;
    AxisScale m_timeScale1, m_timeScale2;
    AxisScale m_ampScale1, m_ampScale2;
    PlotColour m_crColour1, m_crColour2;
    int32_t m_nShown1[kSamples];
    int32_t m_nShown2[kSamples];
    int32_t m_bInvert1, m_bOffset1, m_bMultiplier1, m_nOffset1;
    float m_fMultiplier1;
    int32_t m_bInvert2, m_bOffset2, m_bMultiplier2, m_nOffset2;
    float m_fMultiplier2;
    AxisScale m_axisX, m_axisY1, m_axisY2;

private:
    // The stored data and settings of one plot (1, or 2 for any other value).
    struct PlotFields {
        int32_t* raw;
        PlotColour* colour;
        AxisScale* time;
        AxisScale* amp;
        int32_t *invert, *offsetOn, *multiplierOn, *offset;
        float* multiplier;
    };
    PlotFields Fields(int plot);
    void ApplySettings(int plot, int32_t* shown, AxisScale& scale, bool invert, bool offset, bool multiplier);
    static void AverageDown(const int32_t* finer, int32_t* out, double finerStep, double coarserStep);
};
