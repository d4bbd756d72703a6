#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "SimOptions.h"

// What an instrument sends back for one request.
struct SimReply {
    std::string bytes;
    // The instrument drops the line after this many bytes of the reply (hang-up fault).
    size_t hangUpAfter = std::string::npos;
};

// One simulated instrument model. The server frames requests, logs them and writes the
// replies; the model only decides what each request gets back.
class CSimModel {
public:
    explicit CSimModel(const SimOptions& options) : m_options(options) {}
    virtual ~CSimModel() = default;

    // Length of the first complete request in pending, terminator included; 0 while incomplete.
    // Most models end a request with a carriage return.
    virtual size_t RequestLength(const std::string& pending) const;
    // Appends the answer to one request (terminator stripped) to reply; nothing when none is due.
    virtual void Answer(const std::string& request, SimReply& reply) = 0;

protected:
    SignalSpec ChannelSignal(int channel) const;  // channel is 1-based

    const SimOptions& m_options;
};

using SimModelFactory = std::function<std::unique_ptr<CSimModel>(const SimOptions&)>;

// Each model file registers itself under the name --model takes.
struct SimModelRegistration {
    SimModelRegistration(const char* name, SimModelFactory factory);
};

std::unique_ptr<CSimModel> CreateSimModel(const SimOptions& options);
std::string SimModelNames();
