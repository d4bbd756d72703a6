// SPDX-License-Identifier: GPL-3.0-or-later
// Every display mode, as the windows and kivtool use it, on what any reader accepts. Byte 0
// picks the reader (its value modulo 4: .kiv, DSO, Tektronix CSV, sigrok), the rest is the
// file; an import goes into plot 1 beside a record in plot 2. What the readers refuse is the
// parse-only targets' business.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto reader = static_cast<Reader>(data[0] % kReaderCount);
    const Bytes file(data + 1, size - 1);
    FakeMessages messages;
    CKivDoc doc(CPlatform{&messages, nullptr});
    if (reader == Reader::Kiv) {
        if (!doc.LoadFromBytes(file)) return 0;
    } else {
        FillSecondPlot(doc.Source());
        if (ImportBytes(reader, doc.Source(), file) != 1) return 0;
        doc.DataChanged();
    }
    UseEveryMode(doc);
    CheckReopens(doc);
    return 0;
}
