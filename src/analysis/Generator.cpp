// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Generator.h"

#include <algorithm>
#include <cmath>

#include "data/CDataSrc.h"

namespace {

double FieldValue(const GeneratorParams& p, GeneratorField f) {
    switch (f) {
    case GeneratorField::Amplitude: return p.m_dAmplitude;
    case GeneratorField::Duration: return p.m_dDuration;
    case GeneratorField::StartPhase: return p.m_dStartPhase;
    default: return p.m_dPeriod;
    }
}

// Half up: a fractional part of 0.5 or more goes to the next integer.
int32_t RoundHalfUp(double v) {
    double whole;
    const double frac = std::modf(v, &whole);
    return Trunc(frac >= 0.5 ? std::ceil(v) : std::floor(v));
}

// The square wave runs a phase counter x through half periods. A start phase puts the
// counter part-way into a half period; the pending flag F holds the level until the
// counter has passed a whole period once, so the first edge comes where the shifted
// wave has it.
void FillSquare(int32_t* work, double level, double dt, double phi, double period) {
    double x = 0.0;
    int sign = 1;
    bool pending = false;
    if (phi >= period) {
        x = 2 * period - phi;
        sign = -1;
        pending = true;
    } else {
        x = phi == 0 ? 0.0 : std::fabs(phi - period);
        if (x >= period * 0.5) {
            sign = -1;
            pending = true;
        }
    }
    for (int i = 0; i < kSamples; ++i) {
        if (x >= period * 0.5) {
            if (pending) {
                if (x > period) pending = false;
            } else {
                x = 0.0;
                sign = -sign;
            }
        }
        work[i] = Trunc(sign * level + 100.0);
        x += dt;
    }
}

}  // namespace

GeneratorField FirstFieldOutOfRange(const GeneratorParams& p) {
    for (const GeneratorFieldRange& r : kGeneratorRanges) {
        const double v = FieldValue(p, r.field);
        if (!(v >= r.min && v <= r.max)) return r.field;
    }
    return GeneratorField::None;
}

bool StartPhaseBelowDuration(const GeneratorParams& p) { return p.m_dDuration > p.m_dStartPhase; }

const char* GeneratorValueLabel(int kind) {
    return kind == kGenConstant ? KIV_TR_NOOP("Kiv", "Wartość") : KIV_TR_NOOP("Kiv", "Amplituda");
}

bool GeneratorTimingEnabled(int kind) { return kind != kGenConstant; }

void SynthesizeSignal(const GeneratorParams& params, int32_t* work, AxisScale& time, AxisScale& amp) {
    const double A = params.m_dAmplitude;
    const double D = params.m_dDuration;
    const double phi = params.m_dStartPhase;
    const double P = params.m_dPeriod;

    const double dt = D * 0.00025;
    std::fill(work, work + kSamples, 100);
    // One amplitude is 50 codes. A zero amplitude gives a flat plot with step 1.
    double s = std::fabs(A * 0.02);
    const bool flat = s == 0;
    if (flat) s = 1.0;

    if (!flat) {
        switch (params.m_nKind) {
        case kGenConstant: {
            const int k = phi < D ? Trunc(phi * 4000.0 / D) : 0;
            // trunc, not rounding: for many negative amplitudes A / s is a hair below
            // -50 and the level is 49.
            for (int i = std::max(k, 0); i < kSamples; ++i) work[i] = Trunc(A / s + 100.0);
            break;
        }
        case kGenSine:
            for (int i = 0; i < kSamples; ++i)
                work[i] = RoundHalfUp(100.0 + (A / s) * std::sin(i * dt * 6.283185307 / P - phi * 6.283185307 / P));
            break;
        case kGenSquare:
            FillSquare(work, A / s, dt, phi, P);
            break;
        default:
            break;
        }
    }
    time = AxisScale{0, 0, dt};
    amp = AxisScale{0, 0, s};
}

int GenerateSignal(CDataSrc& src, const GeneratorParams* params) {
    if (!params) return 0;
    int32_t work[kSamples];
    AxisScale time, amp;
    SynthesizeSignal(*params, work, time, amp);
    const uint8_t target = params->m_nTarget;
    if (target & 1) {
        std::copy(std::begin(work), std::end(work), src.m_nRaw1);
        src.m_timeScale1 = time;
        src.m_ampScale1 = amp;
    }
    if (target & 2) {
        std::copy(std::begin(work), std::end(work), src.m_nRaw2);
        src.m_timeScale2 = time;
        src.m_ampScale2 = amp;
    }
    src.m_nPresent |= target & 3;
    src.m_nEnabled = src.m_nPresent;
    return 1;
}
