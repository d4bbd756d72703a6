// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Measurements.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <type_traits>

#include "platform/TrNoop.h"

namespace {

using U = MeasureUnit;
using G = MeasureGroup;
const MeasureInfo kTable[kMeasCount] = {
    {"max", KIV_TR_NOOP("Kiv", "Maksimum"), U::Amplitude, G::Amplitude},
    {"min", KIV_TR_NOOP("Kiv", "Minimum"), U::Amplitude, G::Amplitude},
    {"pp", KIV_TR_NOOP("Kiv", "Międzyszczytowa"), U::Amplitude, G::Amplitude},
    {"top", KIV_TR_NOOP("Kiv", "Poziom górny"), U::Amplitude, G::Amplitude},
    {"base", KIV_TR_NOOP("Kiv", "Poziom dolny"), U::Amplitude, G::Amplitude},
    {"amplitude", KIV_TR_NOOP("Kiv", "Amplituda poziomów"), U::Amplitude, G::Amplitude},
    {"middle", KIV_TR_NOOP("Kiv", "Poziom środkowy"), U::Amplitude, G::Amplitude},
    {"mean", KIV_TR_NOOP("Kiv", "Średnia"), U::Amplitude, G::Amplitude},
    {"rms", KIV_TR_NOOP("Kiv", "Skuteczna (RMS)"), U::Amplitude, G::Amplitude},
    {"ac_rms", KIV_TR_NOOP("Kiv", "RMS składowej zmiennej"), U::Amplitude, G::Amplitude},
    {"area", KIV_TR_NOOP("Kiv", "Pole"), U::Area, G::Amplitude},
    {"cycle_mean", KIV_TR_NOOP("Kiv", "Średnia z okresów"), U::Amplitude, G::Amplitude},
    {"cycle_rms", KIV_TR_NOOP("Kiv", "RMS z okresów"), U::Amplitude, G::Amplitude},
    {"cycle_ac_rms", KIV_TR_NOOP("Kiv", "RMS zmiennej z okresów"), U::Amplitude, G::Amplitude},
    {"cycle_area", KIV_TR_NOOP("Kiv", "Pole z okresów"), U::Area, G::Amplitude},
    {"overshoot", KIV_TR_NOOP("Kiv", "Przerzut górny"), U::Percent, G::Amplitude},
    {"preshoot", KIV_TR_NOOP("Kiv", "Przerzut dolny"), U::Percent, G::Amplitude},
    {"period", KIV_TR_NOOP("Kiv", "Okres"), U::Time, G::Time},
    {"frequency", KIV_TR_NOOP("Kiv", "Częstotliwość"), U::Frequency, G::Time},
    {"rise", KIV_TR_NOOP("Kiv", "Czas narastania"), U::Time, G::Time},
    {"fall", KIV_TR_NOOP("Kiv", "Czas opadania"), U::Time, G::Time},
    {"pos_width", KIV_TR_NOOP("Kiv", "Szerokość dodatnia"), U::Time, G::Time},
    {"neg_width", KIV_TR_NOOP("Kiv", "Szerokość ujemna"), U::Time, G::Time},
    {"duty", KIV_TR_NOOP("Kiv", "Wypełnienie"), U::Percent, G::Time},
    {"neg_duty", KIV_TR_NOOP("Kiv", "Wypełnienie ujemne"), U::Percent, G::Time},
    {"rise_slew", KIV_TR_NOOP("Kiv", "Szybkość narastania"), U::Slew, G::Time},
    {"fall_slew", KIV_TR_NOOP("Kiv", "Szybkość opadania"), U::Slew, G::Time},
    {"rising_edges", KIV_TR_NOOP("Kiv", "Zbocza narastające"), U::Count, G::Time},
    {"falling_edges", KIV_TR_NOOP("Kiv", "Zbocza opadające"), U::Count, G::Time},
    {"pos_pulses", KIV_TR_NOOP("Kiv", "Impulsy dodatnie"), U::Count, G::Time},
    {"neg_pulses", KIV_TR_NOOP("Kiv", "Impulsy ujemne"), U::Count, G::Time},
    {"burst_width", KIV_TR_NOOP("Kiv", "Szerokość paczki"), U::Time, G::Time},
    {"fundamental", KIV_TR_NOOP("Kiv", "Częstotliwość podstawowa"), U::Frequency, G::Spectrum},
    {"dc", KIV_TR_NOOP("Kiv", "Składowa stała"), U::Amplitude, G::Spectrum},
    {"a1", KIV_TR_NOOP("Kiv", "Amplituda 1. harmonicznej"), U::Amplitude, G::Spectrum},
    {"thd", "THD", U::Percent, G::Spectrum},
    {"delay_rise", KIV_TR_NOOP("Kiv", "Opóźnienie ↑↑"), U::Time, G::Between},
    {"delay_fall", KIV_TR_NOOP("Kiv", "Opóźnienie ↓↓"), U::Time, G::Between},
    {"phase", KIV_TR_NOOP("Kiv", "Faza"), U::Degrees, G::Between},
};

MeasureSet Rows(std::initializer_list<MeasureId> ids) {
    MeasureSet s;
    for (MeasureId id : ids) s.set(id);
    return s;
}

const MeasureSet kLevelRows = Rows({kMeasTop, kMeasBase, kMeasAmplitude, kMeasMiddle, kMeasOvershoot, kMeasPreshoot});
const MeasureSet kCycleRows = Rows({kMeasCycleMean, kMeasCycleRms, kMeasCycleAcRms, kMeasCycleArea});
const MeasureSet kSpectrumRows = Rows({kMeasFundamental, kMeasDc, kMeasA1, kMeasThd});
const MeasureSet kEdgeRows = [] {
    MeasureSet s = kCycleRows | kSpectrumRows;
    for (int id = kMeasPeriod; id <= kMeasBurstWidth; ++id) s.set(static_cast<size_t>(id));
    return s;
}();

// Two doubles in one SSE register (GCC's vector extension): the measurements' loops at any
// optimisation level.
using V2 = double __attribute__((vector_size(16)));
V2 Load2(const double* p) {
    V2 x;
    std::memcpy(&x, p, sizeof x);
    return x;
}
V2 Splat(double x) { return V2{x, x}; }
using Bins2 = int32_t __attribute__((vector_size(8)));
bool Any(decltype(V2{} < V2{}) mask) { return (mask[0] | mask[1]) != 0; }
using C4 = int32_t __attribute__((vector_size(16)));  // four codes
C4 Load4(const int32_t* p) {
    C4 x;
    std::memcpy(&x, p, sizeof x);
    return x;
}
bool Any(C4 mask) {
    using L2 = int64_t __attribute__((vector_size(16)));
    const L2 halves = reinterpret_cast<L2>(mask);
    return (halves[0] | halves[1]) != 0;
}

// Sum, sum of squares, max and min of v[0, n). Four lanes, two to a register: one chain of
// additions would wait on itself at every sample.
struct Moments {
    double sum = 0, squares = 0, max = 0, min = 0;
};
Moments MomentsOf(const double* v, int n) {
    const V2 first = Splat(v[0]), zero = Splat(0);
    V2 t01 = first, t23 = first, b01 = first, b23 = first, s01 = zero, s23 = zero, q01 = zero, q23 = zero;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const V2 x01 = Load2(v + i), x23 = Load2(v + i + 2);
        t01 = t01 < x01 ? x01 : t01, t23 = t23 < x23 ? x23 : t23;
        b01 = x01 < b01 ? x01 : b01, b23 = x23 < b23 ? x23 : b23;
        s01 += x01, s23 += x23;
        q01 += x01 * x01, q23 += x23 * x23;
    }
    double top = std::max(std::max(t01[0], t01[1]), std::max(t23[0], t23[1]));
    double base = std::min(std::min(b01[0], b01[1]), std::min(b23[0], b23[1]));
    double sum = (s01[0] + s01[1]) + (s23[0] + s23[1]), squares = (q01[0] + q01[1]) + (q23[0] + q23[1]);
    for (; i < n; ++i) top = std::max(top, v[i]), base = std::min(base, v[i]), sum += v[i], squares += v[i] * v[i];
    return {sum, squares, top, base};
}

// Sum and sum of squares alone.
Moments SumsOf(const double* v, int n) {
    V2 s01 = Splat(0), s23 = Splat(0), q01 = Splat(0), q23 = Splat(0);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const V2 x01 = Load2(v + i), x23 = Load2(v + i + 2);
        s01 += x01, s23 += x23;
        q01 += x01 * x01, q23 += x23 * x23;
    }
    double sum = (s01[0] + s01[1]) + (s23[0] + s23[1]), squares = (q01[0] + q01[1]) + (q23[0] + q23[1]);
    for (; i < n; ++i) sum += v[i], squares += v[i] * v[i];
    return {sum, squares, 0, 0};
}

// Σ (v - mean)², the second pass of the AC RMS: no cancellation of two large sums.
double SquaredDeviations(const double* v, int n, double mean) {
    const V2 m = Splat(mean);
    V2 a = Splat(0), b = Splat(0);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const V2 d01 = Load2(v + i) - m, d23 = Load2(v + i + 2) - m;
        a += d01 * d01, b += d23 * d23;
    }
    double s = (a[0] + a[1]) + (b[0] + b[1]);
    for (; i < n; ++i) s += (v[i] - mean) * (v[i] - mean);
    return s;
}

// The samples' codes span one code a sample: a mean below half a code over n samples is the
// rounding noise of their sum (a sine over whole periods read -0.000fV).
double Snapped(double mean, double code, int n) { return std::fabs(mean) < code / (2.0 * n) ? 0.0 : mean; }

// The modes of the two halves of a histogram, its bins given in order; split is the first bin
// of the upper half.
struct LevelPick {
    int64_t split, bestLow = -1, bestHigh = -1, countLow = 0, countHigh = 0, nLow = 0, nHigh = 0;
    explicit LevelPick(int64_t first) : split(first) {}
    void Consider(int64_t bin, int64_t count) {
        if (bin >= split) {
            nHigh += count;
            if (count >= countHigh) bestHigh = bin, countHigh = count;  // the higher bin on a tie
        } else {
            nLow += count;
            if (count > countLow) bestLow = bin, countLow = count;  // the lower bin on a tie
        }
    }
    // Bins counted from lo; top and base keep max and min where a mode is too weak.
    void Result(int64_t lo, double code, double& top, double& base) const {
        if (bestHigh >= 0 && countHigh * 20 >= nHigh) top = static_cast<double>(bestHigh + lo) * code;
        if (bestLow >= 0 && countLow * 20 >= nLow) base = static_cast<double>(bestLow + lo) * code;
    }
};

constexpr int64_t kMaxCodeRange = 4096;  // the bins of a dense histogram at most

// counts[b] = how many of k[0, n) are low + b, for b < range (at most kMaxCodeRange; every k
// within). Four tables, a sample to each in turn: a flat stretch adds to one counter, and each
// addition would wait for the one before it.
void CountCodes(const int32_t* k, int n, int32_t low, size_t range, int32_t* counts) {
    static thread_local int32_t four[4][kMaxCodeRange];
    for (auto& t : four) std::fill_n(t, range, 0);
    int i = 0;
    for (; i + 4 <= n; i += 4)
        ++four[0][k[i] - low], ++four[1][k[i + 1] - low], ++four[2][k[i + 2] - low], ++four[3][k[i + 3] - low];
    for (; i < n; ++i) ++four[0][k[i] - low];
    for (size_t j = 0; j < range; ++j) counts[j] = four[0][j] + four[1][j] + four[2][j] + four[3][j];
}

// Top and base by histogram, one bin a code, split at the middle of min and max (a bin at the
// split is the upper half's): each is the mode of its half when that holds at least 5 % of the
// half, else max or min. On a tie base takes the lower bin, top the higher.
void HistogramLevels(const double* v, int n, double code, double max, double min, double& top, double& base) {
    top = max, base = min;
    if (!(code > 0) || !(max > min)) return;
    const double perCode = 1 / code;
    const double lowBin = std::floor(min * perCode + 0.5), shift = 0.5 - lowBin;
    // From the lowest bin on the rounded values are never negative: truncation is their floor,
    // two samples to one conversion, where floor is a call a sample. The highest is worked out
    // by the same operations, so that no sample's bin lies beyond it.
    const double highest = max * perCode + shift;
    if (!(highest < 1e9) || !(std::fabs(lowBin) < 1e15)) return;  // no codes to count
    const int64_t lo = static_cast<int64_t>(lowBin), range = static_cast<int64_t>(highest) + 1;
    int32_t bins[kSamples];
    int i0 = 0;
    for (; i0 + 2 <= n; i0 += 2) {
        const auto b = __builtin_convertvector(Load2(v + i0) * Splat(perCode) + Splat(shift), Bins2);
        std::memcpy(bins + i0, &b, sizeof b);
    }
    for (; i0 < n; ++i0) bins[i0] = static_cast<int32_t>(v[i0] * perCode + shift);
    // Bin b lies in the upper half when 2 (b + lo) >= lowest + highest bin, that is b >= range / 2:
    // for the plots' codes the same as a sample at or above (max + min) / 2.
    LevelPick pick(range / 2);
    auto consider = [&](int64_t bin, int64_t count) { pick.Consider(bin, count); };
    if (range <= kMaxCodeRange) {
        int32_t counts[kMaxCodeRange];
        CountCodes(bins, n, 0, static_cast<size_t>(range), counts);
        for (int64_t b = 0; b < range; ++b)
            if (counts[b]) consider(b, counts[b]);
    } else {  // codes far apart (an offset of thousands): count runs of the sorted bins
        std::sort(bins, bins + n);
        for (int i = 0; i < n;) {
            int j = i;
            while (j < n && bins[j] == bins[i]) ++j;
            consider(bins[i], j - i);
            i = j;
        }
    }
    pick.Result(lo, code, top, base);
}

// The first index from i on whose sample lies at or beyond level (below it when down), n for none.
int NextAt(const double* v, int i, int n, double level, bool down) {
    const V2 l = Splat(level);
    if (down)
        while (i + 4 <= n && !Any((Load2(v + i) <= l) | (Load2(v + i + 2) <= l))) i += 4;
    else
        while (i + 4 <= n && !Any((Load2(v + i) >= l) | (Load2(v + i + 2) >= l))) i += 4;
    for (; i < n; ++i)
        if (down ? v[i] <= level : v[i] >= level) return i;
    return n;
}

// The same over codes, four to a comparison (the level lies between the codes' extremes): at or
// beyond level is at or beyond its whole part on the inner side.
int NextAt(const int32_t* v, int i, int n, double level, bool down) {
    const auto l = static_cast<int32_t>(down ? std::floor(level) : std::ceil(level));
    const C4 l4 = {l, l, l, l};
    // Sixteen codes a test: an edge is rare among a record's samples.
    if (down)
        while (i + 16 <= n && !Any((Load4(v + i) <= l4) | (Load4(v + i + 4) <= l4) | (Load4(v + i + 8) <= l4) |
                                   (Load4(v + i + 12) <= l4)))
            i += 16;
    else
        while (i + 16 <= n && !Any((Load4(v + i) >= l4) | (Load4(v + i + 4) >= l4) | (Load4(v + i + 8) >= l4) |
                                   (Load4(v + i + 12) >= l4)))
            i += 16;
    for (; i < n; ++i)
        if (down ? v[i] <= l : v[i] >= l) return i;
    return n;
}

// The last index from i down whose code lies at or beyond l (at or below it when down); there
// is one. Sixteen codes a test, as NextAt.
int LastAt(const int32_t* v, int i, int32_t l, bool down) {
    const C4 l4 = {l, l, l, l};
    auto hit = [&](int at) { return down ? Load4(v + at) <= l4 : Load4(v + at) >= l4; };
    while (i >= 15 && !Any(hit(i - 15) | hit(i - 11) | hit(i - 7) | hit(i - 3))) i -= 16;
    while (down ? v[i] > l : v[i] < l) --i;
    return i;
}

// Where the line through samples k and k + 1 reaches level.
template <class T> double Crossing(const T* v, int k, double level) {
    const double a = v[k], b = v[k + 1];
    return k + (level - a) / (b - a);
}

struct EdgeTotals {
    double riseSum = 0, fallSum = 0;  // of t90 - t10, in samples
    int rising = 0, falling = 0;
};

// The edges between the 10 % and 90 % levels: a rising edge goes from the last sample at or
// below 10 % to the next at or above 90 %, a falling one the other way; nothing else is an
// edge, and there is none before the record has been at one of the two levels.
template <class T> EdgeTotals FindEdges(const T* v, int n, double l10, double l50, double l90, MeasureEdges& e) {
    EdgeTotals t;
    e.count = 0;
    int i = 0;
    while (i < n && v[i] < l90 && v[i] > l10) ++i;
    if (i == n) return t;
    bool high = v[i] >= l90;
    e.firstRising = !high;
    for (;;) {
        const int b = NextAt(v, i + 1, n, high ? l10 : l90, high);
        if (b == n) break;
        int a = b - 1, k = b - 1;
        if constexpr (std::is_same_v<T, int32_t>) {  // the same by whole codes
            const auto up90 = static_cast<int32_t>(std::ceil(l90)), down10 = static_cast<int32_t>(std::floor(l10));
            a = high ? LastAt(v, a, up90, false) : LastAt(v, a, down10, true);
            k = high ? LastAt(v, k, static_cast<int32_t>(std::floor(l50)) + 1, false)
                     : LastAt(v, k, static_cast<int32_t>(std::ceil(l50)) - 1, true);
        }
        if (high) {  // falling: a is the last sample at or above 90 %
            while (v[a] < l90) --a;
            while (v[k] <= l50) --k;
            t.fallSum += Crossing(v, b - 1, l10) - Crossing(v, a, l90);
            ++t.falling;
        } else {
            while (v[a] > l10) --a;
            while (v[k] >= l50) --k;
            t.riseSum += Crossing(v, b - 1, l90) - Crossing(v, a, l10);
            ++t.rising;
        }
        e.t50[static_cast<size_t>(e.count++)] = Crossing(v, k, l50);
        high = !high;
        i = b;
    }
    return t;
}

// Harmonics 1..count of c cycles in x[0, n): |X_mc| each, X the n-point DFT. Goertzel's
// recurrence, a harmonic a lane, the samples in S consecutive stretches whose chains run side
// by side where registers allow (one chain alone waits on its own additions); the stretches'
// sums are joined with the phase of where each ends.
constexpr int kMaxHarmonics = kHarmonics - 1;
constexpr int kLanes = 64;  // harmonics padded to whole blocks of any variant below

template <int W> struct Lanes;
template <> struct Lanes<2> { typedef double type __attribute__((vector_size(16))); };
template <> struct Lanes<4> { typedef double type __attribute__((vector_size(32))); };
template <> struct Lanes<8> { typedef double type __attribute__((vector_size(64))); };

template <int W, int K, int S>
__attribute__((always_inline)) inline void GoertzelBlocks(const double* x, int n, const double* coef, int harmonics,
                                                          double (*s1)[kLanes], double (*s2)[kLanes]) {
    using V = typename Lanes<W>::type;
    static_assert(sizeof(V) == 8 * W && K * W <= kLanes);
    const int len = n / S;
    for (int h0 = 0; h0 < harmonics; h0 += K * W) {
        V c[K], a[S][K] = {}, b[S][K] = {};
        std::memcpy(c, coef + h0, sizeof c);
        for (int i = 0; i < len; ++i) {
#pragma GCC unroll 8
            for (int s = 0; s < S; ++s) {
                const V xv = x[i + s * len] - V{};
#pragma GCC unroll 8
                for (int k = 0; k < K; ++k) {
                    const V t = c[k] * a[s][k] + (xv - b[s][k]);
                    b[s][k] = a[s][k];
                    a[s][k] = t;
                }
            }
        }
        for (int i = S * len; i < n; ++i) {  // the tail belongs to the last stretch
            const V xv = x[i] - V{};
            for (int k = 0; k < K; ++k) {
                const V t = c[k] * a[S - 1][k] + (xv - b[S - 1][k]);
                b[S - 1][k] = a[S - 1][k];
                a[S - 1][k] = t;
            }
        }
        for (int s = 0; s < S; ++s) {
            std::memcpy(s1[s] + h0, a[s], sizeof a[s]);
            std::memcpy(s2[s] + h0, b[s], sizeof b[s]);
        }
    }
}

constexpr int kStreams = 2;  // the most any variant uses
using GoertzelFn = int (*)(const double*, int, const double*, int, double (*)[kLanes], double (*)[kLanes]);

// Each returns the number of stretches it used.
int GoertzelSse(const double* x, int n, const double* c, int h, double (*s1)[kLanes], double (*s2)[kLanes]) {
    GoertzelBlocks<2, 4, 2>(x, n, c, h, s1, s2);
    return 2;
}
#if defined(__x86_64__)
__attribute__((target("avx2,fma"), optimize("fp-contract=fast"))) int GoertzelAvx2(
    const double* x, int n, const double* c, int h, double (*s1)[kLanes], double (*s2)[kLanes]) {
    GoertzelBlocks<4, 4, 2>(x, n, c, h, s1, s2);
    return 2;
}
__attribute__((target("avx512f,fma"), optimize("fp-contract=fast"))) int GoertzelAvx512(
    const double* x, int n, const double* c, int h, double (*s1)[kLanes], double (*s2)[kLanes]) {
    GoertzelBlocks<8, 7, 1>(x, n, c, h, s1, s2);
    return 1;
}
#endif

// The widest the processor has; the sums differ only in rounding.
GoertzelFn Goertzel() {
#if defined(__x86_64__)
    static const GoertzelFn chosen = __builtin_cpu_supports("avx512f") ? GoertzelAvx512
                                     : __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") ? GoertzelAvx2
                                                                                                       : GoertzelSse;
    return chosen;
#else
    return GoertzelSse;
#endif
}

struct Complex {
    double re, im;
    Complex operator*(const Complex& o) const { return {re * o.re - im * o.im, re * o.im + im * o.re}; }
    Complex operator+(const Complex& o) const { return {re + o.re, im + o.im}; }
};

void HarmonicAmplitudes(const double* x, int n, int c, int count, double* amp) {
    const double kTwoPi = 6.283185307179586;
    // Harmonic m turns e^(j m theta) a sample: powers of the first, exact to a few ulps.
    const double theta = kTwoPi * c / n;
    const Complex w1{std::cos(theta), std::sin(theta)};
    alignas(64) double coef[kLanes] = {};
    Complex w[kMaxHarmonics];
    w[0] = w1;
    for (int m = 1; m < count; ++m) w[m] = w[m - 1] * w1;
    for (int m = 0; m < count; ++m) coef[m] = 2 * w[m].re;
    alignas(64) double s1[kStreams][kLanes], s2[kStreams][kLanes];
    const int streams = Goertzel()(x, n, coef, count, s1, s2);
    // Stretch s ends D_s = n - (s + 1) len samples before the record; its sum, turned on by
    // D_s, joins the others: |X| is the same with every term turned by one angle.
    const int len = n / streams;
    Complex turn[kStreams];
    for (int s = 0; s + 1 < streams; ++s) {
        const double angle = theta * (n - (s + 1) * len);
        turn[s] = {std::cos(angle), std::sin(angle)};
    }
    Complex power[kStreams] = {};
    for (int s = 0; s + 1 < streams; ++s) power[s] = turn[s];
    for (int m = 0; m < count; ++m) {
        const Complex back{w[m].re, -w[m].im};  // e^(-j theta_m)
        Complex sum{0, 0};
        for (int s = 0; s < streams; ++s) {
            // y = s1 - e^(-j theta) s2 is the stretch's sum ending at its last sample.
            const Complex y{s1[s][m] - back.re * s2[s][m], -back.im * s2[s][m]};
            sum = sum + (s + 1 < streams ? y * power[s] : y);
        }
        amp[m] = std::sqrt(sum.re * sum.re + sum.im * sum.im);  // a plot's sums: far from overflow
        for (int s = 0; s + 1 < streams; ++s) power[s] = power[s] * turn[s];
    }
}

// 2 |X_mc| / n for m = 1..count.
void Harmonics(const double* v, int n, int c, int count, double* amp) {
    // g = gcd(c, n): the samples repeat their phases every n / g, and the bins sought are
    // multiples of g. The record folded onto n / g samples gives the same sums g times faster.
    const int g = std::gcd(c, n);
    double folded[kSamples];
    if (g > 1) {
        const int p = n / g;
        std::copy_n(v, p, folded);
        for (int q = 1; q < g; ++q) {
            const double* row = v + q * p;
            int r = 0;
            for (; r + 2 <= p; r += 2) {
                const V2 sum = Load2(folded + r) + Load2(row + r);
                std::memcpy(folded + r, &sum, sizeof sum);
            }
            for (; r < p; ++r) folded[r] += row[r];
        }
    }
    HarmonicAmplitudes(g > 1 ? folded : v, n / g, c / g, count, amp);
    for (int m = 0; m < count; ++m) amp[m] *= 2.0 / n;
}

// The spectrum rows over samples [a, b) of a curve holding c whole cycles of the given period
// (seconds).
template <class Samples>
void MeasureSpectrum(const Samples& s, int a, int b, int c, double period, bool thd, MeasureValues& out) {
    const int n = b - a;
    if (n < 2) return;
    int count = 1;  // harmonic m has a place while m c < n / 2
    while (thd && count < kMaxHarmonics && 2 * (count + 1) * int64_t{c} < n) ++count;
    double amp[kMaxHarmonics];
    s.Spectrum(a, b, c, count, amp);
    out[kMeasA1] = amp[0];
    if (!(amp[0] >= s.code / 2) || amp[0] == 0) return;  // no fundamental, only noise
    out[kMeasFundamental] = 1 / period;
    if (count < 2) return;
    double sum = 0;
    for (int m = 1; m < count; ++m) sum += amp[m] * amp[m];
    out[kMeasThd] = 100 * std::sqrt(sum) / amp[0];
}

// A curve's samples as doubles, one code apart (none when code is 0).
struct DoubleSamples {
    const double* v;
    int n;
    double code;
    Moments All() const { return MomentsOf(v, n); }
    Moments Sums(int a, int b) const { return SumsOf(v + a, b - a); }
    double Deviations(int a, int b, double mean) const { return SquaredDeviations(v + a, b - a, mean); }
    void Levels(const Moments& m, double& top, double& base) const {
        HistogramLevels(v, n, code, m.max, m.min, top, base);
    }
    EdgeTotals Edges(double l10, double l50, double l90, MeasureEdges& e) const {
        return FindEdges(v, n, l10, l50, l90, e);
    }
    void Spectrum(int a, int b, int c, int count, double* amp) const { Harmonics(v + a, b - a, c, count, amp); }
};

// Sums of squares of such codes are whole numbers below 2^53: exact in doubles whatever their order.
constexpr int64_t kMaxCode = 1 << 20;
constexpr int kBlock = 64;  // codes a block of the cache's sums

// Sum and sum of squares of codes k[0, n), in doubles: exact for a record's codes within kMaxCode.
Moments CodeSums(const int32_t* k, int n) {
    using D4 = double __attribute__((vector_size(32)));
    D4 s = {}, q = {};
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const D4 x = __builtin_convertvector(Load4(k + i), D4);
        s += x, q += x * x;
    }
    double sum = (s[0] + s[1]) + (s[2] + s[3]), squares = (q[0] + q[1]) + (q[2] + q[3]);
    for (; i < n; ++i) sum += k[i], squares += static_cast<double>(k[i]) * k[i];
    return {sum, squares, 0, 0};
}

using U4 = uint32_t __attribute__((vector_size(16)));

// Whether codes [first, first + count) of the record are those the cache was made from: all it
// uses of them. Each cached code stands for one record code (made modulo 2^32, one to one).
bool Holds(const MeasureCache& c, const int32_t* record, int64_t bias, int sign, int first, int count) {
    if (c.sign != sign || c.bias != bias) return false;
    const auto plus = static_cast<uint32_t>(sign * bias);
    const U4 p = {plus, plus, plus, plus};
    // sign (q + bias) is q + sign bias or sign bias - q.
    auto code = [&](U4 q) { return sign > 0 ? q + p : p - q; };
    U4 differ = {};
    int i = first;
    const int end = first + count;
    const auto* codes = reinterpret_cast<const int32_t*>(c.codes.data());
    for (; i + 8 <= end; i += 8)
        differ |= (code(reinterpret_cast<U4>(Load4(record + i))) ^ reinterpret_cast<U4>(Load4(codes + i))) |
                  (code(reinterpret_cast<U4>(Load4(record + i + 4))) ^ reinterpret_cast<U4>(Load4(codes + i + 4)));
    uint32_t d = differ[0] | differ[1] | differ[2] | differ[3];
    for (; i < end; ++i) d |= (static_cast<uint32_t>(record[i]) * static_cast<uint32_t>(sign) + plus) ^
                             static_cast<uint32_t>(codes[i]);
    return d == 0;
}

// Brings the cache to codes [first, first + count) of this record: false when its codes are
// too far apart to count.
bool Prepare(MeasureCache& c, const int32_t* record, int64_t bias, int sign, int first, int count) {
    if (Holds(c, record, bias, sign, first, count)) return true;
    c.sign = 0;
    C4 lo4 = Load4(record), hi4 = lo4;
    for (int i = 4; i + 4 <= kSamples; i += 4) {
        const C4 x = Load4(record + i);
        lo4 = x < lo4 ? x : lo4, hi4 = x > hi4 ? x : hi4;
    }
    static_assert(kSamples % 4 == 0);
    const int64_t qLow = std::min(std::min(lo4[0], lo4[1]), std::min(lo4[2], lo4[3]));
    const int64_t qHigh = std::max(std::max(hi4[0], hi4[1]), std::max(hi4[2], hi4[3]));
    const int64_t low = sign > 0 ? qLow + bias : -(qHigh + bias), high = sign > 0 ? qHigh + bias : -(qLow + bias);
    if (high - low >= kMaxCodeRange || std::max(-low, high) > kMaxCode) return false;
    c.bias = bias, c.sign = sign;
    c.from = c.to = 0, c.spectrumFrom = -1;
    c.low = static_cast<int32_t>(low), c.high = static_cast<int32_t>(high);
    // Modulo 2^32, where each code, small, comes out right.
    const auto times = static_cast<uint32_t>(sign), plus = static_cast<uint32_t>(sign * bias);
    c.codes.resize(kSamples);
    for (int i = 0; i < kSamples; i += 4) {
        const C4 k = reinterpret_cast<C4>(reinterpret_cast<U4>(Load4(record + i)) * times + plus);
        std::memcpy(c.codes.data() + i, &k, sizeof k);
    }
    c.sums.resize((kSamples + kBlock - 1) / kBlock);
    c.squares.resize(c.sums.size());
    for (size_t b = 0; b < c.sums.size(); ++b) {
        const int first = static_cast<int>(b) * kBlock;
        const Moments m = CodeSums(c.codes.data() + first, std::min(kBlock, kSamples - first));
        c.sums[b] = m.sum, c.squares[b] = m.squares;
    }
    c.counts.assign(static_cast<size_t>(high - low + 1), 0);
    return true;
}

// The histogram of codes [a, b): the last span's, corrected by the codes that entered or left
// it when it lies close, else counted afresh.
void Count(MeasureCache& c, int a, int b) {
    int32_t* counts = c.counts.data();
    const int32_t* k = c.codes.data();
    const int32_t low = c.low;
    auto add = [&](int from, int to, int32_t d) {
        for (int i = from; i < to; ++i) counts[k[i] - low] += d;
    };
    if (c.from < c.to && std::abs(a - c.from) + std::abs(b - c.to) < (b - a) / 2) {
        if (a < c.from) add(a, c.from, 1);
        else add(c.from, a, -1);
        if (b > c.to) add(c.to, b, 1);
        else add(b, c.to, -1);
    } else {
        CountCodes(k + a, b - a, low, c.counts.size(), counts);
    }
    c.from = a, c.to = b;
}

// Codes [a, a + n) of a prepared record, in codes, through its cache: sums from the block sums,
// extremes and levels from the histogram, the spectrum kept while the cycles stay.
struct CodeSamples {
    MeasureCache& c;
    int a, n;
    double code = 1;
    int32_t low = 0, high = 0;  // the span's extremes

    CodeSamples(MeasureCache& cache, int first, int count) : c(cache), a(first), n(count) {
        Count(c, a, a + n);
        const int32_t* counts = c.counts.data();
        int lo = 0, hi = c.high - c.low;
        while (!counts[lo]) ++lo;
        while (!counts[hi]) --hi;
        low = c.low + lo, high = c.low + hi;
    }
    // Codes [a + i, a + j): whole blocks from the cache, the parts at the ends counted.
    Moments Sums(int i, int j) const {
        i += a, j += a;
        const int b0 = (i + kBlock - 1) / kBlock, b1 = j / kBlock;
        if (b0 >= b1) return CodeSums(c.codes.data() + i, j - i);
        Moments m = CodeSums(c.codes.data() + i, b0 * kBlock - i);
        const Moments tail = CodeSums(c.codes.data() + b1 * kBlock, j - b1 * kBlock);
        m.sum += tail.sum, m.squares += tail.squares;
        for (auto b = static_cast<size_t>(b0); b < static_cast<size_t>(b1); ++b)
            m.sum += c.sums[b], m.squares += c.squares[b];
        return m;
    }
    Moments All() const {
        Moments m = Sums(0, n);
        m.max = high, m.min = low;
        return m;
    }
    // Exact: (m Σk² - (Σk)²) / m, the sums whole numbers.
    double Deviations(int i, int j, double) const {
        const Moments m = Sums(i, j);
        const auto sum = static_cast<__int128>(m.sum), squares = static_cast<__int128>(m.squares);
        return static_cast<double>((j - i) * squares - sum * sum) / (j - i);
    }
    void Levels(const Moments&, double& top, double& base) const {
        top = high, base = low;
        if (high == low) return;
        LevelPick pick((high - low + 1) / 2);
        const int32_t* counts = c.counts.data() + (low - c.low);
        for (int64_t bin = 0; bin <= high - low; ++bin)
            if (counts[bin]) pick.Consider(bin, counts[bin]);
        pick.Result(low, 1.0, top, base);
    }
    EdgeTotals Edges(double l10, double l50, double l90, MeasureEdges& e) const {
        return FindEdges(c.codes.data() + a, n, l10, l50, l90, e);
    }
    void Spectrum(int i, int j, int cycles, int count, double* amp) const {
        if (c.spectrumFrom != a + i || c.spectrumTo != a + j || c.cycles != cycles || c.harmonics != count) {
            double v[kSamples];
            std::copy(c.codes.data() + a + i, c.codes.data() + a + j, v);
            Harmonics(v, j - i, cycles, count, c.amplitudes.data());
            c.spectrumFrom = a + i, c.spectrumTo = a + j, c.cycles = cycles, c.harmonics = count;
        }
        std::copy_n(c.amplitudes.begin(), count, amp);
    }
};

// The measurements of samples s (at least two), in their unit; the rows between the plots stay
// absent.
template <class Samples>
MeasureValues Measure(const Samples& s, double dt, const MeasureSet& wanted, MeasureEdges* edgesOut) {
    MeasureValues out;
    const int n = s.n;
    const double code = s.code;
    const Moments mo = s.All();
    const double mean = mo.sum / n;
    out[kMeasMax] = mo.max;
    out[kMeasMin] = mo.min;
    out[kMeasPeakToPeak] = mo.max - mo.min;
    out[kMeasMean] = Snapped(mean, code, n);
    out[kMeasRms] = std::sqrt(mo.squares / n);
    out[kMeasArea] = Snapped(mean, code, n) * n * dt;  // the same rounding noise as the mean's
    if (wanted[kMeasAcRms]) out[kMeasAcRms] = std::sqrt(s.Deviations(0, n, mean) / n);

    const bool edgesWanted = (wanted & kEdgeRows).any() || edgesOut;
    if ((wanted & kLevelRows).any() || edgesWanted) {
        double top, base;
        s.Levels(mo, top, base);
        const double amplitude = top - base;
        out[kMeasTop] = top;
        out[kMeasBase] = base;
        out[kMeasAmplitude] = amplitude;
        out[kMeasMiddle] = (top + base) / 2;
        if (amplitude > 0) {
            out[kMeasOvershoot] = 100 * (mo.max - top) / amplitude;
            out[kMeasPreshoot] = 100 * (base - mo.min) / amplitude;
        }
        if (edgesWanted) {
            MeasureEdges local;
            MeasureEdges& e = edgesOut ? *edgesOut : local;
            EdgeTotals t;
            // Fewer than 4 codes between the levels: a dithering or noisy level, no edges.
            if (amplitude > 0 && amplitude >= 4 * code)
                t = s.Edges(base + 0.1 * amplitude, base + 0.5 * amplitude, base + 0.9 * amplitude, e);
            else
                e.count = 0;
            out[kMeasRisingEdges] = t.rising;
            out[kMeasFallingEdges] = t.falling;
            const int firstRisingAt = e.firstRising ? 0 : 1;  // index of the first rising edge
            out[kMeasPosPulses] = (e.count - firstRisingAt) / 2;
            out[kMeasNegPulses] = (e.count - (1 - firstRisingAt)) / 2;
            if (t.rising) out[kMeasRise] = t.riseSum / t.rising * dt;
            if (t.falling) out[kMeasFall] = t.fallSum / t.falling * dt;
            if (out[kMeasRise]) out[kMeasRiseSlew] = 0.8 * amplitude / *out[kMeasRise];
            if (out[kMeasFall]) out[kMeasFallSlew] = -0.8 * amplitude / *out[kMeasFall];
            if (e.count >= 2) out[kMeasBurstWidth] = (e.t50[static_cast<size_t>(e.count - 1)] - e.t50[0]) * dt;
            // Widths: each edge to the next, which is of the other kind.
            double width[2] = {0, 0};
            int widths[2] = {0, 0};
            for (int k = 0; k + 1 < e.count; ++k) {
                const int rising = (k % 2 == 0) == e.firstRising;
                width[rising ? 0 : 1] += e.t50[static_cast<size_t>(k + 1)] - e.t50[static_cast<size_t>(k)];
                ++widths[rising ? 0 : 1];
            }
            if (widths[0]) out[kMeasPosWidth] = width[0] / widths[0] * dt;
            if (widths[1]) out[kMeasNegWidth] = width[1] / widths[1] * dt;

            // The cycles: from the first to the last edge of the kind there are more of
            // (rising on equal counts), at least two of them.
            const bool risingCycles = t.rising >= t.falling;
            const int cycleEdges = risingCycles ? t.rising : t.falling;
            const int first = risingCycles == e.firstRising ? 0 : 1;
            int start = 0, end = n, cycles = 1;
            double period = n * dt, spanMean = mean;
            if (cycleEdges >= 2) {
                const double ta = e.t50[static_cast<size_t>(first)];
                const double tb = e.t50[static_cast<size_t>(first + 2 * (cycleEdges - 1))];
                cycles = cycleEdges - 1;
                period = (tb - ta) / cycles * dt;
                out[kMeasPeriod] = period;
                out[kMeasFrequency] = 1 / period;
                if (out[kMeasPosWidth]) out[kMeasDuty] = 100 * *out[kMeasPosWidth] / period;
                if (out[kMeasNegWidth]) out[kMeasNegDuty] = 100 * *out[kMeasNegWidth] / period;
                start = static_cast<int>(std::ceil(ta)), end = static_cast<int>(std::ceil(tb));
                const int m = end - start;
                if (m > 0 && ((wanted & kCycleRows).any() || wanted[kMeasDc])) {
                    const Moments cm = s.Sums(start, end);
                    spanMean = cm.sum / m;
                    out[kMeasCycleMean] = Snapped(spanMean, code, m);
                    out[kMeasCycleRms] = std::sqrt(cm.squares / m);
                    if (wanted[kMeasCycleAcRms])
                        out[kMeasCycleAcRms] = std::sqrt(s.Deviations(start, end, spanMean) / m);
                    out[kMeasCycleArea] = Snapped(spanMean, code, m) * m * dt;
                }
            }
            // Without whole cycles the span counts as one.
            if ((wanted & kSpectrumRows).any() && end - start >= 2) {
                out[kMeasDc] = Snapped(spanMean, code, end - start);
                if (wanted[kMeasA1] || wanted[kMeasFundamental] || wanted[kMeasThd])
                    MeasureSpectrum(s, start, end, cycles, period, wanted[kMeasThd], out);
            }
        }
    }
    for (auto& value : out)
        if (value && !std::isfinite(*value)) value.reset();
    for (int id = 0; id < kMeasCount; ++id)
        if (!wanted[static_cast<size_t>(id)]) out[static_cast<size_t>(id)].reset();
    return out;
}

}  // namespace

std::span<const MeasureInfo, kMeasCount> MeasureTable() { return std::span<const MeasureInfo, kMeasCount>(kTable); }

const char* MeasureGroupName(MeasureGroup group) {
    switch (group) {
    case G::Amplitude: return KIV_TR_NOOP("Kiv", "Amplituda i poziomy");
    case G::Time: return KIV_TR_NOOP("Kiv", "Czas i zbocza");
    case G::Between: return KIV_TR_NOOP("Kiv", "Między wykresami");
    default: return KIV_TR_NOOP("Kiv", "Widmo");
    }
}

MeasureId FindMeasure(const std::string& key) {
    for (int id = 0; id < kMeasCount; ++id)
        if (key == kTable[id].key) return static_cast<MeasureId>(id);
    return kMeasCount;
}

MeasureSet AllMeasurements() { return MeasureSet().set(); }

MeasureSet DefaultMeasurements() {
    return Rows({kMeasMax, kMeasMin, kMeasPeakToPeak, kMeasMean, kMeasRms, kMeasAcRms, kMeasPeriod, kMeasFrequency,
                 kMeasDuty, kMeasRise, kMeasFall}) |
           kSpectrumRows;
}

MeasureValues MeasureSamples(const double* v, int n, double dt, double code, const MeasureSet& wanted,
                             MeasureEdges* edges) {
    if (edges) edges->count = 0;
    n = std::min(n, kSamples);  // a record's length at most: the work arrays are fixed
    if (n < 2) return {};
    return Measure(DoubleSamples{v, n, std::fabs(code)}, dt, wanted, edges);
}

MeasureValues MeasureRecord(const int32_t* record, int64_t bias, int sign, double step, int first, int count,
                            double dt, const MeasureSet& wanted, MeasureEdges* edges, MeasureCache& cache) {
    if (edges) edges->count = 0;
    first = std::clamp(first, 0, kSamples), count = std::clamp(count, 0, kSamples - first);
    if (count < 2) return {};
    if (step < 0) sign = -sign, step = -step;
    if (!(step > 0 && std::isfinite(step))) {  // no codes to measure in: the values as they are
        double v[kSamples];
        for (int i = 0; i < count; ++i) v[i] = static_cast<double>(sign * (record[first + i] + bias)) * step;
        return MeasureSamples(v, count, dt, step, wanted, edges);
    }
    MeasureValues out;
    if (Prepare(cache, record, bias, sign, first, count)) {
        out = Measure(CodeSamples(cache, first, count), dt, wanted, edges);
    } else {  // codes too far apart for a histogram of them
        double v[kSamples];
        for (int i = 0; i < count; ++i) v[i] = static_cast<double>(sign * (record[first + i] + bias));
        out = Measure(DoubleSamples{v, count, 1.0}, dt, wanted, edges);
    }
    // From codes to base units.
    for (int id = 0; id < kMeasCount; ++id) {
        const MeasureUnit unit = kTable[id].unit;
        if (out[id] && (unit == U::Amplitude || unit == U::Area || unit == U::Slew)) *out[id] *= step;
    }
    return out;
}

void MeasureBetween(const MeasureEdges& e1, const MeasureEdges& e2, double dt, const std::optional<double>& period1,
                    MeasureValues& out) {
    const double limit = period1 ? *period1 / dt / 2 : INFINITY;
    // Each edge of curve 1 to the nearest like edge of curve 2 (the later on a tie); one that
    // is further than half a period away has no partner.
    auto delay = [&](bool rising) -> std::optional<double> {
        const int first1 = e1.firstRising == rising ? 0 : 1, first2 = e2.firstRising == rising ? 0 : 1;
        double sum = 0;
        int count = 0, j = first2;
        for (int i = first1; i < e1.count; i += 2) {
            const double t = e1.t50[static_cast<size_t>(i)];
            if (j >= e2.count) break;
            while (j + 2 < e2.count && e2.t50[static_cast<size_t>(j + 2)] <= t) j += 2;
            double best = e2.t50[static_cast<size_t>(j)] - t;
            if (j + 2 < e2.count) {
                const double later = e2.t50[static_cast<size_t>(j + 2)] - t;
                if (std::fabs(later) <= std::fabs(best)) best = later;
            }
            if (std::fabs(best) > limit) continue;
            sum += best;
            ++count;
        }
        if (count == 0) return std::nullopt;
        return sum / count * dt;
    };
    out[kMeasDelayRise] = delay(true);
    out[kMeasDelayFall] = delay(false);
    if (out[kMeasDelayRise] && period1 && *period1 > 0) {
        double phase = 360 * *out[kMeasDelayRise] / *period1;
        if (phase <= -180) phase += 360;
        out[kMeasPhase] = phase;
    }
    for (int id = kMeasDelayRise; id <= kMeasPhase; ++id) {
        std::optional<double>& value = out[static_cast<size_t>(id)];
        if (value && !std::isfinite(*value)) value.reset();
    }
}
