// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/TrNoop.h"
#include <cstdint>

#include "data/KivTypes.h"

class CDataSrc;

// The values of the "Generator sygnałów" dialog. The defaults are what the dialog
// opens with: one period of a sine of amplitude 1 into both plots.
struct GeneratorParams {
    double m_dAmplitude = 1.0;   // A, "Amplituda" (or "Wartość" for the constant)
    double m_dDuration = 1.0;    // D, seconds over the 4000 samples
    double m_dStartPhase = 0.0;  // phi, seconds
    double m_dPeriod = 1.0;      // P, seconds
    uint8_t m_nKind = 1;         // 0 constant, 1 sine, 2 square
    uint8_t m_nTarget = 3;       // 1 plot 1, 2 plot 2, 3 both
};

enum GeneratorKind : uint8_t { kGenConstant = 0, kGenSine = 1, kGenSquare = 2 };

// The dialog's edit fields in the order they are exchanged and checked.
enum class GeneratorField { None = -1, Amplitude = 0, Duration = 1, StartPhase = 2, Period = 3 };

struct GeneratorFieldRange {
    GeneratorField field;
    int controlId;
    double min, max;
};

inline constexpr GeneratorFieldRange kGeneratorRanges[4] = {
    {GeneratorField::Amplitude, 1030, -1000000.0, 1000000.0},
    {GeneratorField::Duration, 1027, 1e-11, 10000.0},
    {GeneratorField::StartPhase, 1028, 0.0, 9999.9999},
    {GeneratorField::Period, 1031, 1e-10, 10000.0},
};

inline constexpr char kGeneratorPhaseMessage[] = KIV_TR_NOOP("Kiv",
    "Wartość fazy poczatkowej musi być mniejsza od czasu sygnału");
inline constexpr char kGeneratorPhaseCaption[] = KIV_TR_NOOP("Kiv", "Uwaga !");

// First field outside its range, in exchange order; None when all are accepted.
// A value that is not a number is outside every range.
GeneratorField FirstFieldOutOfRange(const GeneratorParams& p);
// OK closes the dialog only when the start phase lies below the duration.
bool StartPhaseBelowDuration(const GeneratorParams& p);
// Text of the value label and whether the phase and period edits are enabled, per kind.
const char* GeneratorValueLabel(int kind);
bool GeneratorTimingEnabled(int kind);

// The 4000 codes of the chosen signal and the scales that go with them: the time step
// spreads the duration over the record, one amplitude is 50 codes.
void SynthesizeSignal(const GeneratorParams& params, int32_t* work, AxisScale& time, AxisScale& amp);

// The generator into the plot pair: the target plots get the signal and are switched on.
// 0 when the dialog was cancelled (null params).
int GenerateSignal(CDataSrc& src, const GeneratorParams* params);
