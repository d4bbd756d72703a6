// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SimOptions.h"

// What an instrument sends back for one request.
struct SimReply {
    std::string bytes;
};

// The first request in what has come in: its length, terminator included, and the
// terminator's length (its last bytes); length 0 while the request is incomplete.
struct SimFrame {
    size_t length = 0;
    size_t terminator = 0;
};

// The character frame on the line: a start bit, then these.
struct SimCharFrame {
    int dataBits = 8;
    bool parity = false;
    int stopBits = 1;
    int Bits() const { return 1 + dataBits + (parity ? 1 : 0) + stopBits; }
};

// One simulated instrument model. The server frames requests, logs them and writes the
// replies; the model only decides what each request gets back.
class CSimModel {
public:
    explicit CSimModel(const SimOptions& options) : m_options(options) {}
    virtual ~CSimModel() = default;

    // The first complete request in pending. Most models end a request with a carriage return.
    virtual SimFrame FrameRequest(const std::string& pending) const;
    // Appends the answer to one request (terminator stripped) to reply; nothing when none is due.
    virtual void Answer(const std::string& request, SimReply& reply) = 0;
    // How the instrument's serial line frames a byte; the line rate is paced by it.
    virtual SimCharFrame CharFrame() const { return {}; }

protected:
    SignalSpec ChannelSignal(int channel) const;  // channel is 1-based

    const SimOptions& m_options;
};

using SimModelFactory = std::function<std::unique_ptr<CSimModel>(const SimOptions&)>;

// What the simulator plays, as --model and --help name it. Its own table, not the program's:
// a model misread in both places would pass every test.
struct SimModelInfo {
    const char* key;   // --model KEY, the key kiv and kivtool know the instrument by
    const char* name;  // the instrument's name in --help
    int configIndex;   // --model N: the instrument index Kiv.cfg stores for it
};

// Each model file (a driver folder's sim/) registers itself.
struct SimModelRegistration {
    SimModelRegistration(const SimModelInfo& info, SimModelFactory factory);
};

// The models in the order of their Kiv.cfg index.
std::vector<SimModelInfo> SimModels();
// The model of that key, of that Kiv.cfg index; none when no file registered it.
const SimModelInfo* FindSimModel(const std::string& key);
const SimModelInfo* FindSimModel(int configIndex);
// The stand-in for options.model (a key); none when no file registered that key.
std::unique_ptr<CSimModel> CreateSimModel(const SimOptions& options);

// Text helpers of the models that parse command lines.
std::string Upper(std::string text);
std::string Trim(const std::string& text);  // without the spaces around it
// A setting as Tektronix instruments write it: a one-decimal mantissa and a power of ten, 5.0E-1.
std::string MantissaExponent(double value);
