// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// How a transport frames its line and what it takes to write. The line fields are a serial
// port's; a transport without a line (a network socket, a USB instrument) ignores them.
struct CLineSettings {
    // What a serial port watches: bytes received, and the CTS line (which no one reads).
    static constexpr uint32_t kEventInput = 0x0001;
    static constexpr uint32_t kEventCts = 0x0008;

    unsigned baud = 9600;  // bit/s
    char parity = 'N';     // 'N', 'E' or 'O'
    unsigned dataBits = 8;
    unsigned stopBits = 1;
    uint32_t events = kEventInput | kEventCts;
    // Every transport: the longest request it takes; a longer one is refused whole, since
    // half a command is worse than none.
    unsigned writeBuffer = 80;
    // A network instrument's SCPI port where the address names none.
    unsigned tcpPort = 5025;
};
