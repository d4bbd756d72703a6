// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <random>
#include <string>

#include "SimModel.h"
#include "SimOptions.h"
#include "SimLine.h"

// Serves one instrument on its line: frames requests, logs them, asks the model for the
// answers and writes them, paced at the line rate when asked. The line faults (drop, noise,
// stall, the hang-ups, a reset, replies in dribbles) happen here, on the way out, for every
// model.
class CSimServer {
public:
    CSimServer(const SimOptions& options, CSimModel& model, CSimLine& line);
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;
    ~CSimServer();

    bool OpenLog(std::string& error);
    // Serves until stopFd turns readable, the far side hangs up with --once or leaves a line
    // that does not reopen, or a hang-up fault ends the line. Returns the exit status.
    int Run(int stopFd);

private:
    enum class ESend { Sent, Dropped, Stopped, HungUp };

    bool ReadInput();  // false when the far side is not there
    void Log(const std::string& request);
    // The reply through the line faults; HungUp once half a long reply has gone out.
    ESend Send(const std::string& reply);
    // Bytes as they leave the instrument: some lost, some with a bit flipped.
    std::string Spoil(const std::string& bytes);
    ESend Write(const std::string& bytes);  // paced at the line rate when asked
    bool WaitFor(short events, int timeoutMs);  // false when stop was signalled

    const SimOptions& m_options;
    CSimModel& m_model;
    CSimLine& m_pty;
    int m_stopFd = -1;
    int m_logFd = -1;
    std::string m_pending;
    uint64_t m_nSent = 0;  // bytes the instrument has sent, lost ones included
    std::mt19937 m_random;
};
