// SPDX-License-Identifier: GPL-3.0-or-later
// A Kiv.cfg record from any bytes: a record that decodes encodes back to its own first 14
// bytes (the rest are zeros) and decodes again to the same settings.
#include <cstring>

#include "FuzzSupport.h"
#include "acquisition/CAcquisition.h"

namespace {

bool SameSettings(const AcquisitionSettings& a, const AcquisitionSettings& b) {
    return a.bPlot2 == b.bPlot2 && a.bPlot1 == b.bPlot1 && a.nChannels == b.nChannels &&
           a.nPlot1Channel == b.nPlot1Channel && a.nPlot2Channel == b.nPlot2Channel &&
           a.nInstrument == b.nInstrument && a.nBaud == b.nBaud && a.nPort == b.nPort;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const AcquisitionSettings defaults;
    AcquisitionSettings s;
    if (!DecodeSettings(data, size, s)) {
        FUZZ_CHECK(SameSettings(s, defaults));  // a refused record leaves the settings alone
        return 0;
    }
    FUZZ_CHECK(s.nInstrument < kScopeModelCount);
    const auto record = EncodeSettings(s);
    FUZZ_CHECK(std::memcmp(record.data(), data, 14) == 0);
    for (size_t i = 14; i < kConfigFileSize; ++i) FUZZ_CHECK(record[i] == 0);
    AcquisitionSettings back;
    FUZZ_CHECK(DecodeSettings(record.data(), record.size(), back));
    FUZZ_CHECK(SameSettings(back, s));
    return 0;
}
