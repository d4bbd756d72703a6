// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CData.h"

#include <algorithm>
#include <cmath>

#include "data/CArchive.h"
#include "data/CDataSrc.h"
#include "data/IModeHost.h"
#include "units/SINotation.h"

CData::CData(IModeHost* pHost)
    : m_pHost(pHost), m_bReady(0), m_crColour1(0), m_crColour2(0), m_bZoomed(0), m_nDivX(10), m_nDivY(8) {
    std::fill(std::begin(m_nCalc1), std::end(m_nCalc1), 100);
    std::fill(std::begin(m_nCalc2), std::end(m_nCalc2), 100);
    std::fill(std::begin(m_nDisp1), std::end(m_nDisp1), 100);
    std::fill(std::begin(m_nDisp2), std::end(m_nDisp2), 100);
    std::fill(std::begin(m_nHarm1), std::end(m_nHarm1), 0);
    std::fill(std::begin(m_nHarm2), std::end(m_nHarm2), 0);
    for (int k = 0; k < kHarmonics; ++k)
        m_dPhase1[k] = m_dPhase2[k] = m_dA1[k] = m_dA2[k] = m_dB1[k] = m_dB2[k] = 0.0;
}

CDataSrc& CData::Source() const { return m_pHost->Source(); }

bool CData::BothPlotsOn() const { return Source().m_nEnabled == 3; }
bool CData::IsAvailable() const { return Source().m_nEnabled != 0; }
int CData::GetPlotMask() const { return Source().m_nEnabled; }

AxisScale& CData::GetScale(int which) {
    switch (which) {
    case 5: return m_scaleY1;
    case 6: return m_scaleY2;
    default: return m_scaleX;
    }
}

const int32_t* CData::GetDisplaySamples(int plot) {
    if (!m_bReady) Recalculate();
    return plot == 1 ? m_nDisp1 : m_nDisp2;
}

const std::string* CData::GetAxisLabels(int axis) {
    if (!m_bReady) Recalculate();
    if (axis == 0) return IsXY() ? m_strLabelY2 : m_strLabelX;
    if (axis == 1 || axis == 2) return m_strLabelY1;
    return m_strLabelY2;
}

void CData::CopyFromSource(PlotColour oneColour) {
    const CDataSrc& s = Source();
    m_scaleX = s.m_axisX;
    std::copy_n(s.m_nShown1, kSamples, m_nCalc1);
    m_scaleY1 = s.m_axisY1;
    if (BothPlotsOn()) {
        std::copy_n(s.m_nShown2, kSamples, m_nCalc2);
        m_scaleY2 = s.m_axisY2;
        m_crColour1 = s.m_crColour1;
        m_crColour2 = s.m_crColour2;
    } else {
        m_crColour1 = m_crColour2 = oneColour;
    }
}

PlotColour CData::EnabledPlotColour() const {
    const CDataSrc& s = Source();
    return s.m_nEnabled == 2 ? s.m_crColour2 : s.m_crColour1;
}

void CData::ResetZoom() {
    m_window.left = 0;
    m_window.top = 0;
    m_window.right = IsXY() ? 200 : kSamples;
    m_window.bottom = 200;
    UpdateDisplay();
    m_bZoomed = 0;
}

void CData::ZoomTo(int x1, int y1, int x2, int y2) {
    if (x2 == x1 && y2 == y1) {
        ResetZoom();
        return;
    }
    const int n = IsXY() ? 200 : kSamples;
    const WindowRect& r = m_window;
    const double w = WindowWidth(r);
    const double h = WindowHeight(r);
    WindowRect z;
    z.left = Sat32(int64_t{r.left} + Trunc(w * x1 / n));
    z.right = Trunc(w * x2 / n + r.left);
    z.top = Sat32(int64_t{r.top} + Trunc(MulF(h * y1, 0.005f)));
    z.bottom = Trunc(MulF(h * y2, 0.005f) + r.top);
    if (WindowWidth(z) < 5 || WindowHeight(z) < 5) return;
    m_window = z;
    UpdateDisplay();
    m_bZoomed = 1;
}

void CData::UpdateDisplay() {
    if (!IsAvailable()) return;
    BuildLabels(3);
    const WindowRect& r = m_window;
    const double span = WindowWidth(r);
    const double height = WindowHeight(r);
    // A window without area (only a damaged file holds one) shows no sample.
    const bool empty = !(span > 0 && height > 0);
    auto vertical = [&](int32_t code) {
        return empty ? kNoCode : Trunc((static_cast<double>(code) + r.bottom - 200) * 200.0 / height);
    };
    auto horizontal = [&](int32_t code) {
        return empty ? kNoCode : Trunc((static_cast<double>(code) - r.left) * 200.0 / span);
    };
    auto resampled = [&](int i) {
        // Nearest lower sample of the window; guarded against a window past the record.
        return std::clamp(Trunc(MulF(span * i, 0.00025f) + r.left), 0, kSamples - 1);
    };
    if (!BothPlotsOn()) {
        for (int i = 0; i < kSamples; ++i) m_nDisp1[i] = vertical(m_nCalc1[resampled(i)]);
        BuildLabels(1);
        return;
    }
    if (IsXY()) {
        for (int i = 0; i < kSamples; ++i) {
            m_nDisp1[i] = vertical(m_nCalc1[i]);
            m_nDisp2[i] = horizontal(m_nCalc2[i]);
        }
    } else {
        for (int i = 0; i < kSamples; ++i) {
            const int k = resampled(i);
            m_nDisp1[i] = vertical(m_nCalc1[k]);
            m_nDisp2[i] = vertical(m_nCalc2[k]);
        }
    }
    BuildLabels(1);
    BuildLabels(2);
}

void CData::ValueAt(int index, float& value, int& exponent, int plot) const {
    const AxisScale& s = plot == 1 ? m_scaleY1 : m_scaleY2;
    const int32_t* disp = plot == 1 ? m_nDisp1 : m_nDisp2;
    const WindowRect& r = m_window;
    value = static_cast<float>(WindowHeight(r) * s.step * 0.005 * disp[ClampCursor(index)] +
                               (100.0 - r.bottom) * s.step);
    exponent = s.exponent;
}

void CData::CursorValues(float& first, float& second, int& exponent, int axis) const {
    const int c1 = m_pHost->Cursor1(), c2 = m_pHost->Cursor2();
    if (axis == 1 || axis == 2) {
        ValueAt(c1, first, exponent, axis);
        ValueAt(c2, second, exponent, axis);
        return;
    }
    // The time read-out needs no sample, so the cursor index is taken as it stands.
    const WindowRect& r = m_window;
    const double step = m_scaleX.step;
    first = static_cast<float>(r.left * step + c1 * WindowWidth(r) * step * 0.00025);
    second = static_cast<float>(r.left * step + c2 * WindowWidth(r) * step * 0.00025);
    exponent = m_scaleX.exponent;
}

void CData::CursorRawValues(float& first, float& second, int& index1, int& index2, int& exponent, int axis) {
    index1 = ClampCursor(m_pHost->Cursor1());
    index2 = ClampCursor(m_pHost->Cursor2());
    if (axis == 1 || axis == 2) {
        const AxisScale& s = axis == 1 ? m_scaleY1 : m_scaleY2;
        const int32_t* disp = axis == 1 ? m_nDisp1 : m_nDisp2;
        first = static_cast<float>(disp[index1] * s.step);
        second = static_cast<float>(disp[index2] * s.step);
        exponent = s.exponent;
        return;
    }
    m_scaleX = Source().m_axisX;
    first = static_cast<float>(index1 * m_scaleX.step);
    second = static_cast<float>(index2 * m_scaleX.step);
    exponent = m_scaleX.exponent;
}

void CData::GetAxisInfo(AxisWindowInfo& info, int axis) {
    const WindowRect& r = m_window;
    if (axis == 1 || axis == 2) {
        const AxisScale& s = axis == 1 ? m_scaleY1 : m_scaleY2;
        info.limitMax = 100;
        info.limitMin = -100;
        info.max = Sat32(100 - int64_t{r.top});
        info.min = Sat32(100 - int64_t{r.bottom});
        info.exponent = s.exponent;
        info.step = s.step;
    } else if (IsXY()) {
        info.limitMax = 100;
        info.limitMin = -100;
        info.max = Sat32(int64_t{r.right} - 100);
        info.min = Sat32(int64_t{r.left} - 100);
        info.exponent = m_scaleY2.exponent;
        info.step = m_scaleY2.step;
    } else {
        info.limitMax = kSamples;
        info.limitMin = 0;
        info.max = r.right;
        info.min = r.left;
        info.exponent = m_scaleX.exponent;
        info.step = m_scaleX.step;
    }
}

void CData::SetAxisWindow(const AxisWindowInfo& info, int axis) {
    if (axis == 1 || axis == 2) {
        m_window.bottom = 100 - info.min;
        m_window.top = 100 - info.max;
    } else if (axis == 3) {
        if (IsXY()) {
            m_window.left = info.min + 100;
            m_window.right = info.max + 100;
        } else {
            m_window.left = info.min;
            m_window.right = info.max;
        }
    }
}

void CData::BuildLabels(int axis) {
    const WindowRect& r = m_window;
    if (axis == 3) {
        const double st = m_scaleX.step;
        FormatLabels(m_strLabelX, static_cast<float>(r.left * st), static_cast<float>(WindowWidth(r) * st / m_nDivX),
                     m_nDivX, m_scaleX.exponent, !IsFourier());
        return;
    }
    if (axis == 2 && IsXY()) {
        const double st = m_scaleY2.step;
        FormatLabels(m_strLabelY2, static_cast<float>((r.left - 100.0) * st),
                     static_cast<float>(WindowWidth(r) * st / m_nDivX), m_nDivY, m_scaleY2.exponent, true);
        return;
    }
    if (axis != 1 && axis != 2) return;
    const AxisScale& s = axis == 1 ? m_scaleY1 : m_scaleY2;
    std::string* labels = axis == 1 ? m_strLabelY1 : m_strLabelY2;
    const float start = IsFourier() ? 0.0f : static_cast<float>((100.0 - r.bottom) * s.step);
    FormatLabels(labels, start, static_cast<float>(WindowHeight(r) * s.step / m_nDivY), m_nDivY, s.exponent, true);
}

void CData::FormatLabels(std::string* labels, float start, float step, int count, int exponent, bool decimals) {
    count = std::clamp(count, 0, kLabels - 1);
    float m = static_cast<float>(start + static_cast<double>(count) * step);
    if (m < std::fabs(start)) m = std::fabs(start);
    // Normalising stops at the ends of the prefix table, and an all-zero range is
    // left as it is (it would never reach 1): zero labels read 0.000.
    // An infinite m never comes down: once start and step no longer change (0, infinite
    // or not a number) the rest of the way to 'T' is taken at once, not one step per
    // power of 1000 of an exponent a damaged file may put two billion below it.
    auto settled = [](float v) { return v == 0.0f || !std::isfinite(v); };
    while (Trunc(m + 0.5) >= 1000 && exponent < kSIMaxExponent) {
        if (std::isinf(m) && settled(start) && settled(step)) {
            exponent = kSIMaxExponent;
            break;
        }
        m = static_cast<float>(m * 0.001);
        start = static_cast<float>(start * 0.001);
        step = static_cast<float>(step * 0.001);
        ++exponent;
    }
    while (m < 1.0f && m != 0.0f && exponent > kSIMinExponent) {
        m = static_cast<float>(m * 1000.0);
        start = static_cast<float>(start * 1000.0);
        step = static_cast<float>(step * 1000.0);
        --exponent;
    }
    const char prefix = SIPrefixChar(exponent);
    int d = 3;
    for (int n = Trunc(m + 0.5); n >= 1; n /= 10) --d;

    for (int i = 0; i <= count; ++i) {
        double v = static_cast<double>(i) * step + start;
        std::string label;
        if (v < 0) {
            label += '-';
            v = -v;
        }
        const size_t sign = label.size();
        const bool fraction = decimals && d > 0;
        if (fraction) {
            for (int k = 0; k < d; ++k) v *= 10;
            if (Trunc(v) < 10) label.append(d, '0');
        }
        label += RoundedDigits(v);
        if (fraction) {
            // Normalising stopped at 'f' leaves m below 1, so d is 3 while a value may
            // still have only two digits (0.05f is "50"): zeros in front keep its place.
            const size_t digits = label.size() - sign;
            if (digits < static_cast<size_t>(d)) label.insert(sign, static_cast<size_t>(d) - digits, '0');
            const int len = static_cast<int>(label.size());
            if (len == d || (label[0] == '-' && len - d == 1)) label.insert(label.size() - d, "0");
            label.insert(label.size() - d, ".");
        }
        label += prefix;
        labels[i] = label;
    }
}

void CData::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteU8(m_bReady);
        if (m_bReady) {
            ar.WriteI32(m_window.left);
            ar.WriteI32(m_window.top);
            ar.WriteI32(m_window.right);
            ar.WriteI32(m_window.bottom);
            ar.WriteU32(m_crColour1);
            ar.WriteU32(m_crColour2);
        }
        return;
    }
    const uint8_t ready = ar.ReadU8();
    m_bReady = 0;
    if (!ready) return;
    Recalculate();
    m_window.left = ar.ReadI32();
    m_window.top = ar.ReadI32();
    m_window.right = ar.ReadI32();
    m_window.bottom = ar.ReadI32();
    m_crColour1 = ar.ReadU32();
    m_crColour2 = ar.ReadU32();
    UpdateDisplay();
}
