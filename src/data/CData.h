// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "data/KivTypes.h"

class CArchive;
class CDataSrc;
class IModeHost;

struct WindowRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
// Extents of a window as read from a file may leave 32 bits.
inline double WindowWidth(const WindowRect& r) { return static_cast<double>(r.right) - r.left; }
inline double WindowHeight(const WindowRect& r) { return static_cast<double>(r.bottom) - r.top; }

// Display code of a window without area: off the scale, so nothing is drawn.
constexpr int32_t kNoCode = -1;

// The display data set one display mode keeps: the mode's computed record, the zoom
// window resampled into 4000 display codes, the axis scales and the grid labels.
class CData {
public:
    explicit CData(IModeHost* pHost);
    virtual ~CData() = default;
    CData(const CData&) = delete;
    CData& operator=(const CData&) = delete;

    virtual const char* GetRuntimeClass() const { return "CData"; }
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump() const {}
    virtual const int32_t* GetDisplaySamples(int plot);
    virtual void GetAxisInfo(AxisWindowInfo& info, int axis);
    virtual void SetAxisWindow(const AxisWindowInfo& info, int axis);
    virtual void UpdateDisplay();
    virtual void ZoomTo(int x1, int y1, int x2, int y2);
    virtual bool IsProduct() const { return false; }
    virtual bool IsSum() const { return false; }
    virtual bool IsIntegral() const { return false; }
    virtual bool IsDerivative() const { return false; }
    virtual bool IsXY() const { return false; }
    virtual bool IsFourier() const { return false; }
    virtual const std::string* GetAxisLabels(int axis);
    virtual bool BothPlotsOn() const;
    virtual bool ShowsTwoCurves() const { return BothPlotsOn(); }
    virtual bool IsAvailable() const;
    virtual int GetPlotMask() const;
    virtual void Recalculate() {}
    // Appends the harmonics table (file bytes) to out; Fourier only.
    virtual void ExportHarmonics(std::string& out) { (void)out; }
    virtual void GetHarmonic(int n, float& amplitude, int& exponent, double& phase, double& a0,
                             double& an, double& bn, int plot) {
        (void)n, (void)amplitude, (void)exponent, (void)phase, (void)a0, (void)an, (void)bn, (void)plot;
    }

    PlotColour GetColour(int plot) const { return plot == 1 ? m_crColour1 : m_crColour2; }
    AxisScale& GetScale(int which);
    void ResetZoom();
    void BuildLabels(int axis);
    void ValueAt(int index, float& value, int& exponent, int plot) const;
    void CursorValues(float& first, float& second, int& exponent, int axis) const;
    void CursorRawValues(float& first, float& second, int& index1, int& index2, int& exponent, int axis);
    bool IsZoomed() const { return m_bZoomed == 1; }
    // The plot pair the mode is made from.
    CDataSrc& Source() const;

    // Writes count + 1 grid labels of start + i * step in engineering notation.
    static void FormatLabels(std::string* labels, float start, float step, int count, int exponent,
                             bool decimals);

    IModeHost* m_pHost;
    uint8_t m_bReady;
    PlotColour m_crColour1, m_crColour2;
    int32_t m_nCalc1[kSamples];
    int32_t m_nCalc2[kSamples];
    int32_t m_nHarm1[kHarmonics], m_nHarm2[kHarmonics];
    double m_dPhase1[kHarmonics], m_dPhase2[kHarmonics];
    double m_dA1[kHarmonics], m_dA2[kHarmonics];
    double m_dB1[kHarmonics], m_dB2[kHarmonics];
    WindowRect m_window;
    int32_t m_bZoomed;
    int32_t m_nDisp1[kSamples];
    int32_t m_nDisp2[kSamples];
    AxisScale m_scaleX, m_scaleY1, m_scaleY2;
    std::string m_strLabelX[kLabels], m_strLabelY1[kLabels], m_strLabelY2[kLabels];
    int32_t m_nDivX, m_nDivY;

protected:
    // What every Recalculate takes from the plot pair before its own work: the time axis, the
    // codes, the scales and the colours. oneColour is the colour both fields take in the
    // one-plot state.
    void CopyFromSource(PlotColour oneColour);
    // Colour of the plot that is on in the one-plot state.
    PlotColour EnabledPlotColour() const;

private:
    int ClampCursor(int c) const { return c >= kSamples ? kSamples - 1 : (c < 0 ? 0 : c); }
};
