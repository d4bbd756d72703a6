#pragma once
#include <string>

#include "Waveform.h"

// Faults a simulated instrument can be told to show; each model decides which reply they spoil.
enum class ESimFault { None, Silent, Short, Garbage, WrongId, Hangup };

inline constexpr int kSimChannels = 4;

struct SimOptions {
    std::string model;
    std::string link;     // symlink to the slave; empty: print the slave path instead
    std::string logPath;  // every request appended here, one a line
    EShape shapes[kSimChannels] = {EShape::Sine, EShape::Square, EShape::Triangle, EShape::Dc};
    double voltsPerDivision = 0.5;
    double secondsPerDivision = 5.0e-4;
    double amplitude = 1.0;     // volts, peak
    double frequency = 1000.0;  // Hz
    ESimFault fault = ESimFault::None;
    bool baudDelay = false;
    int baud = 9600;
    bool once = false;  // end when the far side first closes
};

// Fills options from the command line; on failure error says why.
bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& error);
const char* SimUsage();
