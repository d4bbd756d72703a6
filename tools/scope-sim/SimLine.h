// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The line an instrument is reached by: a pseudo-terminal a serial port opens, or a TCP
// connection a network instrument accepted.
class CSimLine {
public:
    virtual ~CSimLine() = default;
    virtual int Fd() const = 0;
    // Waits, up to timeoutMs, until the far side has read everything written to it.
    virtual void WaitUntilTaken(int timeoutMs) const = 0;
    // The far side sees the line end (a hang-up, a closed connection).
    virtual void Close() = 0;
    // The far side sees the line broken at once (a reset connection); a hang-up where there
    // is no such thing.
    virtual void Break() { Close(); }
    // A pseudo-terminal waits for the next opener; a connection, once closed, is done.
    virtual bool Reopens() const { return true; }
};
