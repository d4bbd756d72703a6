// SPDX-License-Identifier: GPL-3.0-or-later
// The sigrok session reader on any bytes, parsing alone.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzImport(Reader::Sigrok, Bytes(data, size), kScaledCodes);
    return 0;
}
