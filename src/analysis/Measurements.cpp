// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Measurements.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

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
    const int64_t split = range / 2;
    int64_t bestLow = -1, bestHigh = -1, countLow = 0, countHigh = 0, nLow = 0, nHigh = 0;
    auto consider = [&](int64_t bin, int64_t count) {
        if (bin >= split) {
            nHigh += count;
            if (count >= countHigh) bestHigh = bin, countHigh = count;  // the higher bin on a tie
        } else {
            nLow += count;
            if (count > countLow) bestLow = bin, countLow = count;  // the lower bin on a tie
        }
    };
    constexpr int64_t kDense = 4096;
    if (range <= kDense) {
        // Four tables, a sample to each in turn: a flat stretch adds to one counter, and each
        // addition would wait for the one before it.
        static thread_local int32_t counts[4][kDense];
        for (auto& c : counts) std::fill_n(c, range, 0);
        int i = 0;
        for (; i + 4 <= n; i += 4)
            ++counts[0][bins[i]], ++counts[1][bins[i + 1]], ++counts[2][bins[i + 2]], ++counts[3][bins[i + 3]];
        for (; i < n; ++i) ++counts[0][bins[i]];
        for (int64_t b = 0; b < range; ++b) {
            const int64_t c = int64_t{counts[0][b]} + counts[1][b] + counts[2][b] + counts[3][b];
            if (c) consider(b, c);
        }
    } else {  // codes far apart (an offset of thousands): count runs of the sorted bins
        std::sort(bins, bins + n);
        for (int i = 0; i < n;) {
            int j = i;
            while (j < n && bins[j] == bins[i]) ++j;
            consider(bins[i], j - i);
            i = j;
        }
    }
    if (bestHigh >= 0 && countHigh * 20 >= nHigh) top = static_cast<double>(bestHigh + lo) * code;
    if (bestLow >= 0 && countLow * 20 >= nLow) base = static_cast<double>(bestLow + lo) * code;
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

// Where the line through samples k and k + 1 reaches level.
double Crossing(const double* v, int k, double level) { return k + (level - v[k]) / (v[k + 1] - v[k]); }

struct EdgeTotals {
    double riseSum = 0, fallSum = 0;  // of t90 - t10, in samples
    int rising = 0, falling = 0;
};

// The edges between the 10 % and 90 % levels: a rising edge goes from the last sample at or
// below 10 % to the next at or above 90 %, a falling one the other way; nothing else is an
// edge, and there is none before the record has been at one of the two levels.
EdgeTotals FindEdges(const double* v, int n, double l10, double l50, double l90, MeasureEdges& e) {
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
        amp[m] = std::hypot(sum.re, sum.im);
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

// The spectrum rows over n samples holding c whole cycles of the given period (seconds).
void MeasureSpectrum(const double* v, int n, int c, double period, double code, bool thd, MeasureValues& out,
                     MeasureSpectrumCache* cache) {
    if (n < 2) return;
    int count = 1;  // harmonic m has a place while m c < n / 2
    while (thd && count < kMaxHarmonics && 2 * (count + 1) * int64_t{c} < n) ++count;
    double amp[kMaxHarmonics];
    // Compared as bytes: a zero of the other sign only costs a new spectrum.
    if (cache && cache->cycles == c && cache->count == count && cache->samples.size() == static_cast<size_t>(n) &&
        std::memcmp(v, cache->samples.data(), sizeof(double) * static_cast<size_t>(n)) == 0) {
        std::copy_n(cache->amplitudes.begin(), count, amp);
    } else {
        Harmonics(v, n, c, count, amp);
        if (cache) {
            cache->samples.assign(v, v + n);
            cache->cycles = c, cache->count = count;
            std::copy_n(amp, count, cache->amplitudes.begin());
        }
    }
    out[kMeasA1] = amp[0];
    if (!(amp[0] >= code / 2) || amp[0] == 0) return;  // no fundamental, only noise
    out[kMeasFundamental] = 1 / period;
    if (count < 2) return;
    double sum = 0;
    for (int m = 1; m < count; ++m) sum += amp[m] * amp[m];
    out[kMeasThd] = 100 * std::sqrt(sum) / amp[0];
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
                             MeasureEdges* edgesOut, MeasureSpectrumCache* cache) {
    MeasureValues out;
    if (edgesOut) edgesOut->count = 0;
    n = std::min(n, kSamples);  // a record's length at most: the work arrays are fixed
    if (n < 2) return out;
    code = std::fabs(code);
    const Moments mo = MomentsOf(v, n);
    const double mean = mo.sum / n;
    out[kMeasMax] = mo.max;
    out[kMeasMin] = mo.min;
    out[kMeasPeakToPeak] = mo.max - mo.min;
    out[kMeasMean] = Snapped(mean, code, n);
    out[kMeasRms] = std::sqrt(mo.squares / n);
    out[kMeasArea] = Snapped(mean, code, n) * n * dt;  // the same rounding noise as the mean's
    if (wanted[kMeasAcRms]) out[kMeasAcRms] = std::sqrt(SquaredDeviations(v, n, mean) / n);

    const bool edgesWanted = (wanted & kEdgeRows).any() || edgesOut;
    if ((wanted & kLevelRows).any() || edgesWanted) {
        double top, base;
        HistogramLevels(v, n, code, mo.max, mo.min, top, base);
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
                t = FindEdges(v, n, base + 0.1 * amplitude, base + 0.5 * amplitude, base + 0.9 * amplitude, e);
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
                    const double* c = v + start;
                    const Moments cm = SumsOf(c, m);
                    spanMean = cm.sum / m;
                    out[kMeasCycleMean] = Snapped(spanMean, code, m);
                    out[kMeasCycleRms] = std::sqrt(cm.squares / m);
                    if (wanted[kMeasCycleAcRms])
                        out[kMeasCycleAcRms] = std::sqrt(SquaredDeviations(c, m, spanMean) / m);
                    out[kMeasCycleArea] = Snapped(spanMean, code, m) * m * dt;
                }
            }
            // Without whole cycles the span counts as one.
            if ((wanted & kSpectrumRows).any() && end - start >= 2) {
                out[kMeasDc] = Snapped(spanMean, code, end - start);
                if (wanted[kMeasA1] || wanted[kMeasFundamental] || wanted[kMeasThd])
                    MeasureSpectrum(v + start, end - start, cycles, period, code, wanted[kMeasThd], out, cache);
            }
        }
    }
    for (auto& value : out)
        if (value && !std::isfinite(*value)) value.reset();
    for (int id = 0; id < kMeasCount; ++id)
        if (!wanted[static_cast<size_t>(id)]) out[static_cast<size_t>(id)].reset();
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
