// SPDX-License-Identifier: GPL-3.0-or-later
// The DSO import reader on any bytes, parsing alone. The reader passes the file's values
// through, so any code may come of them.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzImport(Reader::Dso, Bytes(data, size));
    return 0;
}
