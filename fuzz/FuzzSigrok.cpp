// The sigrok session reader on any bytes.
#include "FuzzSupport.h"
#include "sigrok/SigrokSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzImport("input.sr", data, size,
               [](CDataSrc& src, const std::string& path) { return ReadSigrokSession(src, path, 1); });
    return 0;
}
