#include "analysis/Measurements.h"

#include "platform/Translate.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <vector>

#include "analysis/ModeTable.h"
#include "data/CData.h"
#include "data/CDataSrc.h"
#include "units/SINotation.h"

namespace {

using U = MeasureUnit;
const MeasureInfo kTable[kMeasCount] = {
    {"max", KIV_TR_NOOP("Kiv", "Maksimum"), U::Amplitude},
    {"min", KIV_TR_NOOP("Kiv", "Minimum"), U::Amplitude},
    {"pp", KIV_TR_NOOP("Kiv", "Międzyszczytowa"), U::Amplitude},
    {"mean", KIV_TR_NOOP("Kiv", "Średnia"), U::Amplitude},
    {"rms", KIV_TR_NOOP("Kiv", "Skuteczna (RMS)"), U::Amplitude},
    {"ac_rms", KIV_TR_NOOP("Kiv", "RMS składowej zmiennej"), U::Amplitude},
    {"period", KIV_TR_NOOP("Kiv", "Okres"), U::Time},
    {"frequency", KIV_TR_NOOP("Kiv", "Częstotliwość"), U::Frequency},
    {"duty", KIV_TR_NOOP("Kiv", "Wypełnienie"), U::Percent},
    {"rise", KIV_TR_NOOP("Kiv", "Czas narastania"), U::Time},
    {"fall", KIV_TR_NOOP("Kiv", "Czas opadania"), U::Time},
    {"fundamental", KIV_TR_NOOP("Kiv", "Częstotliwość podstawowa"), U::Frequency},
    {"dc", KIV_TR_NOOP("Kiv", "Składowa stała"), U::Amplitude},
    {"a1", KIV_TR_NOOP("Kiv", "Amplituda 1. harmonicznej"), U::Amplitude},
    {"thd", "THD", U::Percent},
};

const MeasureId kTimeRows[] = {kMeasMax,       kMeasMin,    kMeasPeakToPeak, kMeasMean, kMeasRms, kMeasAcRms,
                               kMeasPeriod,    kMeasFrequency, kMeasDuty,    kMeasRise, kMeasFall};
const MeasureId kFourierRows[] = {kMeasFundamental, kMeasDc, kMeasA1, kMeasThd};

// An edge of the walk: where the state changed (j), its mid crossing lies between k and
// k + 1, and m is the last sample at or beyond the near 10/90 % level up to k (-1: none).
struct Edge {
    bool rising;
    int k, m;
    double mid;  // in samples
};

// Mean of the edges' 10-90 % times in samples, or absent. next finds, from k + 1 on, the first
// sample at or beyond the far level; its position only moves forward, so all edges of one
// direction cost one pass.
std::optional<double> MeanTransition(const std::vector<Edge>& edges, bool rising, const double* v, int n,
                                     double lo, double hi) {
    const double nearLevel = rising ? lo : hi, farLevel = rising ? hi : lo;
    auto beyond = [rising](double x, double level) { return rising ? x >= level : x <= level; };
    double sum = 0;
    int count = 0, next = 0;
    for (const Edge& e : edges) {
        if (e.rising != rising || e.m < 0) continue;
        if (next <= e.k) next = e.k + 1;
        while (next < n && !beyond(v[next], farLevel)) ++next;
        if (next >= n) break;  // no later edge finds the far level either
        const int m = e.m;
        const double tNear = m + (nearLevel - v[m]) / (v[m + 1] - v[m]);
        const double tFar = (next - 1) + (farLevel - v[next - 1]) / (v[next] - v[next - 1]);
        sum += tFar - tNear;
        ++count;
    }
    if (count == 0) return std::nullopt;
    return sum / count;
}

std::string AmplitudeUnit(const CData& mode, const AxisScale& scale) {
    // The unit letter a DSO file gave; volts for what an instrument or the generator made.
    const char u = static_cast<char>(scale.unit & 0xFF);
    const std::string base = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ? std::string(1, u) : "V";
    if (mode.IsDerivative()) return base + "/s";
    if (mode.IsIntegral()) return base + "s";
    if (mode.IsProduct()) return base + "²";
    return base;
}

void MeasureFourier(CData& mode, const CDataSrc& src, int i1, int i2, ModeMeasurements::Column& c, int slot) {
    const AxisScale& x = src.m_axisX;
    // The frequency of harmonic 1 as the Fourier panel works it out: from the cursors' times
    // as 32-bit floats, the time axis's prefix negated.
    const double t1 = static_cast<float>(i1 * x.step), t2 = static_cast<float>(i2 * x.step);
    if (t2 != t1) c.values[kMeasFundamental] = ScaleByPow1000(1 / std::fabs(t2 - t1), -int64_t{x.exponent});
    // The amplitudes as the harmonics table writes them, in base units.
    double a[kHarmonics];
    for (int k = 0; k < kHarmonics; ++k) {
        float amplitude = 0;
        int exponent = 0;
        double phase, a0, an, bn;
        mode.GetHarmonic(k, amplitude, exponent, phase, a0, an, bn, slot + 1);
        a[k] = ScaleByPow1000(amplitude, exponent);
    }
    c.values[kMeasDc] = a[0];
    c.values[kMeasA1] = a[1];
    double sum = 0;
    for (int k = 2; k < kHarmonics; ++k) sum += a[k] * a[k];
    if (a[1] > 0) c.values[kMeasThd] = 100 * std::sqrt(sum) / a[1];
}

}  // namespace

std::span<const MeasureInfo, kMeasCount> MeasureTable() { return std::span<const MeasureInfo, kMeasCount>(kTable); }

std::span<const MeasureId> ModeMeasurements::Rows() const {
    if (!columns[0] && !columns[1]) return {};
    if (fourier) return kFourierRows;
    return kTimeRows;
}

namespace {

// Two doubles in one SSE register (GCC's vector extension): the measurements' loops at any
// optimisation level.
using V2 = double __attribute__((vector_size(16)));
V2 Load2(const double* p) {
    V2 x;
    std::memcpy(&x, p, sizeof x);
    return x;
}
bool Any(decltype(V2{} < V2{}) mask) { return (mask[0] | mask[1]) != 0; }

}  // namespace

MeasureValues MeasureSamples(const double* v, int n, double dt) {
    MeasureValues out;
    if (n < 2) return out;
    // Four independent lanes, two to a register: one chain of additions would wait on itself at
    // every sample. Lane by lane the operations and their order are those of plain loops.
    const V2 first = {v[0], v[0]}, zero = {0, 0};
    V2 t01 = first, t23 = first, b01 = first, b23 = first, s01 = zero, s23 = zero, q01 = zero, q23 = zero;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const V2 x01 = Load2(v + i), x23 = Load2(v + i + 2);
        t01 = t01 < x01 ? x01 : t01, t23 = t23 < x23 ? x23 : t23;  // std::max
        b01 = x01 < b01 ? x01 : b01, b23 = x23 < b23 ? x23 : b23;  // std::min
        s01 += x01, s23 += x23;
        q01 += x01 * x01, q23 += x23 * x23;
    }
    double top[4] = {t01[0], t01[1], t23[0], t23[1]}, base[4] = {b01[0], b01[1], b23[0], b23[1]};
    double sum[4] = {s01[0], s01[1], s23[0], s23[1]}, squares[4] = {q01[0], q01[1], q23[0], q23[1]};
    for (; i < n; ++i) {
        top[0] = std::max(top[0], v[i]), base[0] = std::min(base[0], v[i]);
        sum[0] += v[i], squares[0] += v[i] * v[i];
    }
    const double hi4 = std::max(std::max(top[0], top[1]), std::max(top[2], top[3]));
    const double lo4 = std::min(std::min(base[0], base[1]), std::min(base[2], base[3]));
    const double mean = ((sum[0] + sum[1]) + (sum[2] + sum[3])) / n;
    const double rms = std::sqrt(((squares[0] + squares[1]) + (squares[2] + squares[3])) / n);
    const double pp = hi4 - lo4;
    out[kMeasMax] = hi4;
    out[kMeasMin] = lo4;
    out[kMeasPeakToPeak] = pp;
    out[kMeasMean] = mean;
    out[kMeasRms] = rms;
    out[kMeasAcRms] = std::sqrt(std::max(0.0, rms * rms - mean * mean));
    if (!(pp > 0) || !std::isfinite(pp)) return out;

    // Edges with a hysteresis of a tenth of the swing about the middle. The walk only looks
    // for a change of state; an edge's crossings are found back from it, over its own slope.
    const double mid = (hi4 + lo4) / 2, h = 0.1 * pp, lo = lo4 + 0.1 * pp, hi = lo4 + 0.9 * pp;
    const double lowBelow = mid - h, highAbove = mid + h;
    const V2 below = {lowBelow, lowBelow}, above = {highAbove, highAbove};
    std::vector<Edge> edges;
    int state = 0;  // -1 low, 1 high, 0 not yet known
    // The near level's search goes back no further than the last edge of the same direction,
    // whose answer stands for everything before it: all searches together cover the record once.
    Edge lastUp{true, -1, -1, 0}, lastDown{false, -1, -1, 0};
    for (int j = 0; j < n; ++j) {
        // Between edges the state holds for hundreds of samples: four at a time pass with one
        // test while none changes it.
        if (state == 1)
            while (j + 4 <= n && !Any((Load2(v + j) < below) | (Load2(v + j + 2) < below))) j += 4;
        else if (state == -1)
            while (j + 4 <= n && !Any((Load2(v + j) > above) | (Load2(v + j + 2) > above))) j += 4;
        if (j == n) break;
        const double x = v[j];
        if (state != -1 && x < lowBelow) {
            if (state == 1) {
                int k = j - 1, m;
                while (v[k] < mid) --k;  // a sample of the high state lies above mid
                for (m = k; m > lastDown.k && v[m] < hi; --m) {}
                if (m == lastDown.k) m = lastDown.m;
                lastDown = {false, k, m, k + (v[k] - mid) / (v[k] - v[k + 1])};
                edges.push_back(lastDown);
            }
            state = -1;
        } else if (state != 1 && x > highAbove) {
            if (state == -1) {
                int k = j - 1, m;
                while (v[k] > mid) --k;
                for (m = k; m > lastUp.k && v[m] > lo; --m) {}
                if (m == lastUp.k) m = lastUp.m;
                lastUp = {true, k, m, k + (mid - v[k]) / (v[k + 1] - v[k])};
                edges.push_back(lastUp);
            }
            state = 1;
        }
    }

    // Period and duty from the rising crossings; edges alternate, so a falling crossing
    // between two rising ones is the edge between them.
    double firstRise = 0, lastRise = 0, dutySum = 0;
    int rises = 0, cycles = 0;
    const Edge* lastRising = nullptr;
    const Edge* fallSince = nullptr;
    for (const Edge& e : edges) {
        if (!e.rising) {
            if (lastRising) fallSince = &e;
            continue;
        }
        if (rises++ == 0) firstRise = e.mid;
        if (lastRising && fallSince) {
            dutySum += 100 * (fallSince->mid - lastRising->mid) / (e.mid - lastRising->mid);
            ++cycles;
        }
        lastRise = e.mid;
        lastRising = &e;
        fallSince = nullptr;
    }
    if (rises >= 2) {
        const double period = (lastRise - firstRise) / (rises - 1) * dt;
        out[kMeasPeriod] = period;
        if (period != 0) out[kMeasFrequency] = 1 / period;
    }
    if (cycles > 0) out[kMeasDuty] = dutySum / cycles;
    if (auto r = MeanTransition(edges, true, v, n, lo, hi)) out[kMeasRise] = *r * dt;
    if (auto f = MeanTransition(edges, false, v, n, lo, hi)) out[kMeasFall] = *f * dt;
    return out;
}

ModeMeasurements MeasureMode(CData& mode, int cursor1, int cursor2, bool cursorsOn) {
    ModeMeasurements m;
    const CDataSrc& src = mode.Source();
    if (!mode.IsAvailable() || mode.IsXY()) return m;
    if (!mode.m_bReady) mode.GetDisplaySamples(1);
    if (!mode.m_bReady) return m;  // a spectrum with coinciding cursors: nothing to measure
    const bool two = mode.ShowsTwoCurves() && mode.BothPlotsOn();
    m.fourier = mode.IsFourier();
    for (int slot = 0; slot < (two ? 2 : 1); ++slot) {
        ModeMeasurements::Column c;
        c.plot = two ? slot + 1 : (mode.IsSum() || mode.IsProduct()) ? 0 : src.m_nEnabled == 2 ? 2 : 1;
        c.name = c.plot ? KivText(KIV_TR_NOOP("Kiv", "Wykres %1"), {std::to_string(c.plot)})
                 : KivTranslate("Kiv", mode.IsSum() ? KIV_TR_NOOP("Kiv", "Suma") : KIV_TR_NOOP("Kiv", "Iloczyn"));
        const AxisScale& y = slot ? mode.m_scaleY2 : mode.m_scaleY1;
        c.amplitudeUnit = AmplitudeUnit(mode, y);
        m.columns[slot] = std::move(c);
    }

    const int c1 = std::clamp(cursor1, 0, kSamples), c2 = std::clamp(cursor2, 0, kSamples);
    if (m.fourier) {
        // The spectrum's own span: the cursors as sample indices.
        const int i1 = std::min(c1, kSamples - 1), i2 = std::min(c2, kSamples - 1);
        m.span[0] = std::min(i1, i2), m.span[1] = std::max(i1, i2);
        for (int slot = 0; slot < 2; ++slot)
            if (m.columns[slot]) MeasureFourier(mode, src, i1, i2, *m.columns[slot], slot);
        return m;
    }
    m.span[0] = cursorsOn ? std::min(c1, c2) : 0;
    m.span[1] = cursorsOn ? std::max(c1, c2) : kSamples;
    const double dt = ScalePower(mode.m_scaleX) * mode.m_scaleX.step;
    double v[kSamples];
    for (int slot = 0; slot < 2; ++slot) {
        if (!m.columns[slot]) continue;
        const int32_t* q = slot ? mode.m_nCalc2 : mode.m_nCalc1;
        const AxisScale& y = slot ? mode.m_scaleY2 : mode.m_scaleY1;
        const double p = ScalePower(y), s = y.step;
        const int n = m.span[1] - m.span[0];
        for (int i = 0; i < n; ++i) v[i] = (q[m.span[0] + i] - 100.0) * p * s;  // as the export writes it
        m.columns[slot]->values = MeasureSamples(v, n, dt);
        // The codes make the mean a whole number of steps over n: less than half of one is a
        // zero the rounded samples' sum missed, shown as 0, not as "-0.000fV".
        std::optional<double>& mean = m.columns[slot]->values[kMeasMean];
        if (mean && std::fabs(*mean) < std::fabs(p * s) / (2.0 * n)) mean = 0.0;
    }
    return m;
}

std::string MeasureText(const std::optional<double>& value, MeasureUnit unit, const std::string& amplitudeUnit) {
    if (!value || !std::isfinite(*value)) return "—";
    if (unit == MeasureUnit::Percent) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f %%", *value);
        return text;
    }
    std::string text;
    FormatSI(text, *value, 0);
    switch (unit) {
    case MeasureUnit::Time: return text + "s";
    case MeasureUnit::Frequency: return text + "Hz";
    default: return text + amplitudeUnit;
    }
}

std::string MeasureTableText(const ModeMeasurements& m, bool tab) {
    std::vector<std::vector<std::string>> cells{{""}};
    for (const auto& c : m.columns)
        if (c) cells[0].push_back(c->name);
    for (MeasureId id : m.Rows()) {
        const MeasureInfo& info = kTable[id];
        std::vector<std::string> row{info.label};
        for (const auto& c : m.columns)
            if (c) row.push_back(MeasureText(c->values[id], info.unit, c->amplitudeUnit));
        cells.push_back(std::move(row));
    }
    // Widths in characters, not bytes: the labels and units carry Polish letters.
    auto width = [](const std::string& s) {
        return std::count_if(s.begin(), s.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) !=
            0x80; });
    };
    std::vector<std::ptrdiff_t> widths(cells[0].size(), 0);
    for (const auto& row : cells)
        for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], width(row[i]));
    std::string out;
    for (const auto& row : cells) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) out += tab ? "\t" : "  ";
            out += row[i];
            if (!tab && i + 1 < row.size()) out.append(static_cast<size_t>(widths[i] - width(row[i])), ' ');
        }
        out += '\n';
    }
    return out;
}
