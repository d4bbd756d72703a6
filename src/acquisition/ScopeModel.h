#pragma once
#include <cstdint>

// What the program knows of an instrument model: the list entry of "Parametry transmisji",
// the line it needs and the key of the command line ("tds224").
struct ScopeModel {
    const char* name;
    const char* key;
    uint8_t channels;
    uint8_t lowestBaud;  // 0-based indices into kBaudRates
    uint8_t highestBaud;
    uint8_t stopBits;
    uint16_t writeBuffer;  // bytes of the port's write buffer
};

inline constexpr int kBaudRateCount = 12;
inline constexpr int kBaudRates[kBaudRateCount] = {110,   300,   600,   1200,   2400,   4800,
                                                   9600,  19200, 38400, 56000, 128000, 256000};

// Every driver opens its port with no parity, 8 data bits, and watches received
// characters and CTS.
inline constexpr char kScopeParity = 'N';
inline constexpr unsigned kScopeDataBits = 8;
inline constexpr uint32_t kScopeEventMask = 9;
