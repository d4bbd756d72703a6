// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "SimLine.h"

// The master side of a pseudo-terminal in raw mode; the far side opens the slave as its port.
class CSimPty : public CSimLine {
public:
    CSimPty() = default;
    CSimPty(const CSimPty&) = delete;
    CSimPty& operator=(const CSimPty&) = delete;
    ~CSimPty() override;

    bool Open(std::string& error);
    // Points path at the slave, replacing an earlier link of that name.
    bool MakeLink(const std::string& path, std::string& error);
    // Waits, up to timeoutMs, until the far side has read everything written to it.
    void WaitUntilTaken(int timeoutMs) const override;
    // Closes the master (the far side sees a hang-up) and removes the link.
    void Close() override;

    int Fd() const override { return m_fd; }
    const std::string& SlavePath() const { return m_slavePath; }

private:
    int m_fd = -1;
    std::string m_slavePath;
    std::string m_link;
};
