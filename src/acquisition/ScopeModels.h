#pragma once
#include <cstdint>

// The instruments Kiv talks to, in the order the configuration stores their index.
struct ScopeModel {
    const char* name;
    const char* key;  // short name for the command line and the simulator's --model
    uint8_t channels;
    uint8_t lowestBaud;   // 0-based indices into kBaudRates
    uint8_t highestBaud;
    uint8_t stopBits;
    uint16_t writeBuffer;  // bytes of the port's write buffer
};

inline constexpr int kBaudRates[12] = {110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 56000, 128000, 256000};

inline constexpr ScopeModel kScopeModels[4] = {
    {"GOLDSTAR OS-3060", "os3060", 2, 1, 6, 1, 80},
    {"HAMEG 1507", "hm1507", 2, 1, 7, 2, 80},
    {"TEKTRONIX TDS224", "tds224", 4, 3, 6, 1, 80},
    {"LECROY LT224", "lt224", 4, 3, 7, 1, 200},
};
inline constexpr int kScopeModelCount = 4;

// Every driver opens its port with no parity, 8 data bits, and watches received
// characters and CTS.
inline constexpr char kScopeParity = 'N';
inline constexpr unsigned kScopeDataBits = 8;
inline constexpr uint32_t kScopeEventMask = 9;
