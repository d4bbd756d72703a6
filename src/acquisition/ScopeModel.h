// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

inline constexpr int kBaudRateCount = 12;
inline constexpr int kBaudRates[kBaudRateCount] = {110,   300,   600,   1200,   2400,   4800,
                                                   9600,  19200, 38400, 56000, 128000, 256000};

// A rate's index in kBaudRates, -1 for a rate not in the table. Every baud index in the
// program counts from 0; only "Kiv.cfg" stores it counting from 1 (CAcquisition.h).
constexpr int BaudIndexOf(int rate) {
    for (int i = 0; i < kBaudRateCount; ++i)
        if (kBaudRates[i] == rate) return i;
    return -1;
}

// What the program knows of an instrument model: the list entry of "Parametry transmisji",
// the line it needs and the key of the command line ("tds224").
struct ScopeModel {
    const char* name;
    const char* key;
    uint8_t channels;
    uint8_t lowestBaud;  // indices into kBaudRates
    uint8_t highestBaud;
    uint8_t stopBits;      // no parity and 8 data bits for every model
    uint16_t writeBuffer;  // bytes of the transport's write buffer
    bool scpi = false;     // an SCPI instrument: no line rate, identified by *IDN?
    uint16_t tcpPort = 0;  // its raw socket where the address names none
};
