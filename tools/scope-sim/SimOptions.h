// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "Waveform.h"

// Faults a simulated instrument can be told to show. Short, garbage and wrong-id spoil the
// reply each model chooses; the others happen on the line, to whatever any model sends.
enum class ESimFault {
    None, Silent, Short, Garbage, WrongId, Hangup, Drop, Noise, Stall, HangupMid,
    // An SCPI instrument's: its quirks, and what a broken one or a broken connection does.
    NoTrailer,      // a block without the LF after it (Rigol firmware)
    ShortAfterRun,  // the first block after :RUN shorter than its record (Rigol)
    SilentWf,       // the first WF? never answered (Siglent firmware)
    PlusZero,       // "+0" to the first :WAV:PRE? (Keysight)
    SlowFirst,      // slow-first:MS, the first reply after connecting MS late (Keysight)
    SlowPreamble,   // WFMPre? answered after a second (Tektronix firmware)
    Dribble,        // replies a few bytes at a time
    LongBlock,      // a block with more bytes than its header says
    ShortBlock,     // a block with fewer bytes than its header says, then silence
    BadHeader,      // a block header with fewer digits than it says
    Reset,          // the connection reset in the middle of the first long reply
};

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
    int slowFirstMs = 0;             // slow-first:MS, delay of the first reply
    unsigned seed = 1;               // the noise's, so that a run can be repeated
    bool baudDelay = false;
    int baud = 9600;
    bool once = false;  // end when the far side first closes
    // An SCPI instrument on a TCP socket: HOST:PORT to listen on (port 0: any, printed).
    std::string listen;
    bool stopped = false;            // the instrument is stopped, not running
    double horizontalOffset = 0.0;   // seconds the screen's centre lies after the trigger
    bool channelOff[kSimChannels] = {};
};

enum class ESimCommand { Run, Help, Version, UsageError };

// Fills options from the command line (args[0] is the program). UsageError: error is one
// line saying why, in the simulator's language (SimText.h).
ESimCommand ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);
// What --help prints: every option, every fault, the models with their names.
std::string SimHelp();
