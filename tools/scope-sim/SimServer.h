#pragma once
#include <string>

#include "SimModel.h"
#include "SimOptions.h"
#include "SimPty.h"

// Serves one instrument on the pseudo-terminal: frames requests, logs them, asks the model
// for the answers and writes them, paced at the line rate when asked.
class CSimServer {
public:
    CSimServer(const SimOptions& options, CSimModel& model, CSimPty& pty);
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;
    ~CSimServer();

    bool OpenLog(std::string& error);
    // Serves until stopFd turns readable, the far side hangs up with --once, or a hang-up
    // fault ends the line. Returns the exit status.
    int Run(int stopFd);

private:
    enum class ESend { Sent, Dropped, Stopped, HungUp };

    bool ReadInput();  // false when the far side is not there
    void Log(const std::string& request);
    ESend Send(const SimReply& reply);
    bool WaitFor(short events, int timeoutMs);  // false when stop was signalled

    const SimOptions& m_options;
    CSimModel& m_model;
    CSimPty& m_pty;
    int m_stopFd = -1;
    int m_logFd = -1;
    std::string m_pending;
};
