// The DSO import reader on any bytes.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzImport("input.dso", data, size, [](CDataSrc& src, const std::string& path) { return src.ReadDso(path, 1); });
    return 0;
}
