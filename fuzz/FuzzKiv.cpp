// A .kiv document from any bytes: refused with a message and no change, or opened, used in
// every mode and saved into a file that opens again. (An accepted file may show messages
// too: a stored Fourier mode is computed on loading and may find the cursors together.)
#include "FuzzSupport.h"
#include "support/FakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteScratch("input.kiv", data, size);
    FakeMessages messages;
    CKivDoc doc(CPlatform{&messages, nullptr});
    const std::vector<uint8_t> fresh = doc.SaveToBytes();
    if (!doc.OnOpenDocument(path)) {
        FUZZ_CHECK(messages.boxes.size() == 1);
        FUZZ_CHECK(doc.SaveToBytes() == fresh);
        return 0;
    }
    UseEveryMode(doc);
    CheckReopens(doc);
    return 0;
}
