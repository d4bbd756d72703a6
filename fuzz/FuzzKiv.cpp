// SPDX-License-Identifier: GPL-3.0-or-later
// A .kiv document from any bytes, parsing alone: refused with one message and no change, or
// loaded with the mode and cursors in range, the effective plots those of the stored ones,
// and saved into bytes that load again. A document that says some mode was shown is loaded
// by computing that mode again, a millisecond or more a mode: the modes target loads those.
#include "FuzzSupport.h"

namespace {

// Whether a file of a valid layout stores a mode as shown. A mode not shown takes one byte,
// so the first shown one is among the seven bytes after the plot blocks.
bool StoresShownMode(Bytes file) {
    constexpr size_t kPlotBlock = 4056;
    const size_t modes = 22 + ((file[20] & 1) ? kPlotBlock : 0) + ((file[20] & 2) ? kPlotBlock : 0);
    for (size_t m = 0; m < kModeCount; ++m)
        if (file[modes + m]) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes file(data, size);
    const bool layout = CKivDoc::CheckFileLayout(file);
    if (layout && StoresShownMode(file)) return 0;
    FakeMessages messages;
    CKivDoc doc(CPlatform{&messages, nullptr});
    const std::vector<uint8_t> fresh = Snapshot(doc);
    if (!doc.LoadFromBytes(file)) {
        FUZZ_CHECK(!layout);
        FUZZ_CHECK(messages.boxes.size() == 1);
        FUZZ_CHECK(Snapshot(doc) == fresh);
        return 0;
    }
    FUZZ_CHECK(layout && messages.boxes.empty());
    FUZZ_CHECK(doc.m_currentMode >= 0 && doc.m_currentMode < kModeCount);
    FUZZ_CHECK(doc.m_nCursor1 >= 0 && doc.m_nCursor1 <= kSamples && doc.m_nCursor2 >= 0 && doc.m_nCursor2 <= kSamples);
    const CDataSrc& src = doc.Source();
    CDataSrc rebuilt = src;
    rebuilt.Rebuild();
    FUZZ_CHECK(std::memcmp(rebuilt.m_nShown1, src.m_nShown1, sizeof src.m_nShown1) == 0);
    FUZZ_CHECK(std::memcmp(rebuilt.m_nShown2, src.m_nShown2, sizeof src.m_nShown2) == 0);
    FUZZ_CHECK(SameBits(rebuilt.m_axisX, src.m_axisX) && SameBits(rebuilt.m_axisY1, src.m_axisY1) &&
               SameBits(rebuilt.m_axisY2, src.m_axisY2));
    CheckReopens(doc);
    return 0;
}
