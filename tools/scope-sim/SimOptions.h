#pragma once
#include <string>
#include <vector>

#include "Waveform.h"

// Faults a simulated instrument can be told to show. Short, garbage and wrong-id spoil the
// reply each model chooses; the others happen on the line, to whatever any model sends.
enum class ESimFault { None, Silent, Short, Garbage, WrongId, Hangup, Drop, Noise, Stall, HangupMid };

inline constexpr int kSimChannels = 4;

struct SimOptions {
    std::string model;    // the key of a model the simulator plays (SimModel.h)
    std::string link;     // symlink to the slave; empty: print the slave path instead
    std::string logPath;  // every request appended here, one a line
    EShape shapes[kSimChannels] = {EShape::Sine, EShape::Square, EShape::Triangle, EShape::Dc};
    double voltsPerDivision = 0.5;
    double secondsPerDivision = 5.0e-4;
    double amplitude = 1.0;     // volts, peak
    double frequency = 1000.0;  // Hz
    ESimFault fault = ESimFault::None;
    unsigned dropEvery = 0;          // drop:N, every N-th byte sent is lost
    double noiseProbability = 0.0;   // noise:P, chance of one flipped bit in a byte sent
    int stallMs = 0;                 // stall:MS, pause in the middle of a long reply
    unsigned seed = 1;               // the noise's, so that a run can be repeated
    bool baudDelay = false;
    int baud = 9600;
    bool once = false;  // end when the far side first closes
};

enum class ESimCommand { Run, Help, UsageError };

// Fills options from the command line (args[0] is the program). UsageError: error is one
// line saying why, in Polish.
ESimCommand ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);
// What --help prints: every option, every fault, the models with their names.
std::string SimHelp();
