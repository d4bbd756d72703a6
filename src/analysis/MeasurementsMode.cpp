// SPDX-License-Identifier: GPL-3.0-or-later
// The measurements of a display mode: which samples of which record, over which span.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/Measurements.h"
#include "analysis/ModeTable.h"
#include "data/CData.h"
#include "data/CDataSrc.h"
#include "platform/Translate.h"
#include "units/SINotation.h"

namespace {

std::string AmplitudeUnit(const CData& mode, const AxisScale& scale) {
    // The unit letter a DSO file gave; volts for what an instrument or the generator made.
    const char u = static_cast<char>(scale.unit & 0xFF);
    const std::string base = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ? std::string(1, u) : "V";
    if (mode.IsDerivative()) return base + "/s";
    if (mode.IsIntegral()) return base + "s";
    if (mode.IsProduct()) return base + "²";
    return base;
}

int ModeIndex(const CData& mode) {
    if (mode.IsFourier()) return kModeFourier;
    if (mode.IsDerivative()) return kModeDerivative;
    if (mode.IsIntegral()) return kModeIntegral;
    if (mode.IsSum()) return kModeSum;
    if (mode.IsProduct()) return kModeProduct;
    return kModeOriginal;
}

double Seconds(const AxisScale& time) { return ScalePower(time) * time.step; }

// The plot pair's choice of a time base when both plots are on (see CDataSrc::Rebuild): the
// same scales keep both records; otherwise the finer plot is averaged down onto the coarser
// one's samples, one zero-line code in each output, and runs out before the record does.
struct TimeBases {
    bool same = true;
    int finer = 0;  // 1 or 2 when they differ
    int finerLength = kSamples;  // outputs that hold samples of the finer plot
};

TimeBases Bases(const CDataSrc& src) {
    TimeBases b;
    const AxisScale &t1 = src.m_timeScale1, &t2 = src.m_timeScale2;
    if (src.m_nEnabled != 3 || (t1.exponent == t2.exponent && t1.step == t2.step)) return b;
    const bool firstCoarser = t1.exponent != t2.exponent ? t1.exponent > t2.exponent : t1.step >= t2.step;
    const AxisScale& coarse = firstCoarser ? t1 : t2;
    const AxisScale& fine = firstCoarser ? t2 : t1;
    b.same = false;
    b.finer = firstCoarser ? 2 : 1;
    // The averaging's own steps, so that the count matches it to the last output.
    const double f = ScaleByPow1000(fine.step, int64_t{fine.exponent} - coarse.exponent);
    int j = 0, outputs = 0;
    if (coarse.step > 0)
        while (j < kSamples && outputs < kSamples) {
            double t = 0.0;
            do {
                ++j;
                t += f;
            } while (j < kSamples && t < coarse.step);
            ++outputs;
        }
    b.finerLength = outputs;
    return b;
}

// The first whole number at or above t, where t a rounding away from a whole number counts as it.
int64_t CeilNear(double t) {
    const double r = std::nearbyint(t);
    return static_cast<int64_t>(std::fabs(t - r) <= 1e-9 * std::max(1.0, std::fabs(t)) ? r : std::ceil(t));
}

// One curve as measured: codes [first, first + count) of a record, code q standing for
// sign (q + bias) steps of step base units, samples dt apart.
struct Curve {
    const int32_t* record = nullptr;
    int64_t bias = -100;  // a record's code q stands for (q - 100) steps, as the export writes it
    int sign = 1;
    double step = 0, dt = 0;
    int first = 0, count = 0;
};

// A plot's own samples with its settings (inversion, offset, multiplier), over the times the
// span [a, b) of the coarser record covers.
Curve FromOwnSamples(const CDataSrc& src, int plot, int a, int b, double coarseDt) {
    const bool one = plot == 1;
    const AxisScale& amp = one ? src.m_ampScale1 : src.m_ampScale2;
    const AxisScale& time = one ? src.m_timeScale1 : src.m_timeScale2;
    const int32_t offset = (one ? src.m_bOffset1 : src.m_bOffset2) ? (one ? src.m_nOffset1 : src.m_nOffset2) : 0;
    Curve c;
    c.record = one ? src.m_nRaw1 : src.m_nRaw2;
    // Inverted, q reads 200 - q: (200 - q + offset - 100) = -(q - 100 - offset).
    c.sign = (one ? src.m_bInvert1 : src.m_bInvert2) ? -1 : 1;
    c.bias = c.sign > 0 ? int64_t{offset} - 100 : -100 - int64_t{offset};
    c.step = amp.step;
    if (one ? src.m_bMultiplier1 : src.m_bMultiplier2) c.step *= static_cast<double>(one ? src.m_fMultiplier1
                                                                                          : src.m_fMultiplier2);
    c.step *= ScalePower(amp);
    c.dt = Seconds(time);
    const double ratio = coarseDt / c.dt;
    const int64_t first = std::clamp<int64_t>(CeilNear(a * ratio), 0, kSamples);
    const int64_t end = std::clamp<int64_t>(CeilNear(b * ratio), first, kSamples);
    c.first = static_cast<int>(first), c.count = static_cast<int>(end - first);
    return c;
}

}  // namespace

bool ModeMeasurements::Applies(MeasureId id) const {
    if (!columns[0] && !columns[1]) return false;
    const MeasureGroup group = MeasureTable()[id].group;
    if (fourier) return group == MeasureGroup::Spectrum;
    return group != MeasureGroup::Between || twoCurves;
}

std::vector<MeasureId> ModeMeasurements::Rows(const MeasureSet& chosen) const {
    std::vector<MeasureId> rows;
    rows.reserve(chosen.count());
    for (int i = 0; i < kMeasCount; ++i) {
        const auto id = static_cast<MeasureId>(i);
        if (chosen[id] && Applies(id)) rows.push_back(id);
    }
    return rows;
}

ModeMeasurements MeasureMode(CData& mode, int cursor1, int cursor2, bool cursorsOn, const MeasureSet& wanted,
                             MeasureCache* cache) {
    ModeMeasurements m;
    if (!mode.IsAvailable() || mode.IsXY()) return m;
    m.fourier = mode.IsFourier();
    // The spectrum is not needed: the Fourier mode is measured from the plot pair. The other
    // modes compute quickly and without messages.
    if (!m.fourier && !mode.m_bReady) mode.GetDisplaySamples(1);
    if (!m.fourier && !mode.m_bReady) return m;
    const CDataSrc& src = mode.Source();
    const bool fromPair = m.fourier || ModeIndex(mode) == kModeOriginal;
    const bool two = mode.ShowsTwoCurves() && mode.BothPlotsOn();
    m.mode = ModeIndex(mode);
    m.twoCurves = two && !m.fourier;
    for (int slot = 0; slot < (two ? 2 : 1); ++slot) {
        ModeMeasurements::Column c;
        c.plot = two ? slot + 1 : (mode.IsSum() || mode.IsProduct()) ? 0 : src.m_nEnabled == 2 ? 2 : 1;
        c.name = c.plot ? KivText(KIV_TR_NOOP("Kiv", "Wykres %1"), {std::to_string(c.plot)})
                 : KivTranslate("Kiv", mode.IsSum() ? KIV_TR_NOOP("Kiv", "Suma") : KIV_TR_NOOP("Kiv", "Iloczyn"));
        c.amplitudeUnit = AmplitudeUnit(mode, fromPair ? (slot ? src.m_axisY2 : src.m_axisY1)
                                                       : (slot ? mode.m_scaleY2 : mode.m_scaleY1));
        m.columns[slot] = std::move(c);
    }

    if (m.fourier) {
        // The spectrum's span: the cursors as record indices, as its own read-out takes them.
        const int i1 = std::clamp(cursor1, 0, kSamples - 1), i2 = std::clamp(cursor2, 0, kSamples - 1);
        m.span[0] = std::min(i1, i2), m.span[1] = std::max(i1, i2);
    } else {
        // The window's samples at display positions [lo, hi), as the mean/RMS window reads them.
        const WindowRect& w = mode.m_window;
        auto sample = [&](int i) {
            return std::clamp(Trunc(MulF(WindowWidth(w) * i, 0.00025f) + w.left), 0, kSamples - 1);
        };
        const int c1 = std::clamp(cursor1, 0, kSamples), c2 = std::clamp(cursor2, 0, kSamples);
        const int lo = cursorsOn ? std::min(c1, c2) : 0, hi = cursorsOn ? std::max(c1, c2) : kSamples;
        m.span[0] = sample(lo);
        m.span[1] = lo < hi ? std::max(sample(hi - 1) + 1, m.span[0]) : m.span[0];
    }

    const TimeBases bases = Bases(src);
    const bool pairWanted = m.twoCurves && bases.same && (wanted[kMeasDelayRise] || wanted[kMeasDelayFall] ||
                                                          wanted[kMeasPhase]);
    MeasureSet perCurve = wanted;
    for (int id = kMeasDelayRise; id <= kMeasPhase; ++id) perCurve.reset(static_cast<size_t>(id));
    if (m.fourier) perCurve &= MeasureSet().set(kMeasFundamental).set(kMeasDc).set(kMeasA1).set(kMeasThd);
    MeasureEdges edges[2];
    MeasureCache fresh[2];
    double pairDt = 0;
    for (int slot = 0; slot < 2; ++slot) {
        if (!m.columns[slot]) continue;
        const int plot = m.columns[slot]->plot;
        const int a = m.span[0], b = m.span[1];
        Curve curve;
        if (fromPair && !bases.same && plot == bases.finer) {
            curve = FromOwnSamples(src, plot, a, b, Seconds(src.m_axisX));
        } else if (fromPair) {
            const AxisScale& y = slot ? src.m_axisY2 : src.m_axisY1;
            curve.record = slot ? src.m_nShown2 : src.m_nShown1;
            curve.step = ScalePower(y) * y.step, curve.dt = Seconds(src.m_axisX);
            curve.first = a, curve.count = b - a;
        } else {
            // Past the finer plot's samples the record holds the zero line, not the plot.
            int end = b;
            if (!bases.same && (plot == bases.finer || plot == 0)) end = std::min(end, bases.finerLength);
            const AxisScale& y = slot ? mode.m_scaleY2 : mode.m_scaleY1;
            curve.record = slot ? mode.m_nCalc2 : mode.m_nCalc1;
            curve.step = ScalePower(y) * y.step, curve.dt = Seconds(mode.m_scaleX);
            curve.first = a, curve.count = std::max(end, a) - a;
        }
        MeasureSet rows = perCurve;
        if (pairWanted && slot == 0) rows.set(kMeasPeriod);
        m.columns[slot]->values = MeasureRecord(curve.record, curve.bias, curve.sign, curve.step, curve.first,
                                                curve.count, curve.dt, rows, pairWanted ? &edges[slot] : nullptr,
                                                cache ? cache[slot] : fresh[slot]);
        pairDt = curve.dt;
    }
    if (pairWanted && m.columns[0] && m.columns[1]) {
        MeasureValues& first = m.columns[0]->values;
        MeasureBetween(edges[0], edges[1], pairDt, first[kMeasPeriod], m.between);
        if (!wanted[kMeasPeriod]) first[kMeasPeriod].reset();
        for (int id = kMeasDelayRise; id <= kMeasPhase; ++id)
            if (!wanted[static_cast<size_t>(id)]) m.between[static_cast<size_t>(id)].reset();
    }
    return m;
}
