// SPDX-License-Identifier: GPL-3.0-or-later
// Engineering-notation input fields. The first 20 bytes are ParseSIScaled's limits, step and
// exponent (little-endian int32, int32, double, int32), the rest the text up to a NUL.
#include <cmath>
#include <cstring>

#include "FuzzSupport.h"
#include "units/SINotation.h"

namespace {

constexpr size_t kHeader = 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    int32_t lo, hi, exponent;
    double step;
    std::memcpy(&lo, data, 4);
    std::memcpy(&hi, data + 4, 4);
    std::memcpy(&step, data + 8, 8);
    std::memcpy(&exponent, data + 16, 4);
    // The fields hand over a NUL-terminated text: c_str() ends at the first NUL.
    const std::string text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

    float f = 1234.5f;
    const int readFloat = ParseSIFloat(&f, text.c_str());
    FUZZ_CHECK(readFloat == 0 || readFloat == 1);
    if (!readFloat) FUZZ_CHECK(f == 1234.5f);  // a refused text leaves the field as it was

    int n = 98765;
    const int readScaled = ParseSIScaled(&n, text.c_str(), lo, hi, step, exponent);
    FUZZ_CHECK(readScaled == 0 || readScaled == 1);
    if (readScaled) {
        FUZZ_CHECK(readFloat);  // both read the same notation; only the range refuses more
        FUZZ_CHECK(n >= lo && n <= hi);
    } else {
        FUZZ_CHECK(n == 98765);
    }

    // What the program writes, the fields read back.
    if (readFloat) {
        std::string written;
        FormatSI(written, f, exponent);
        float back = 0;
        FUZZ_CHECK(ParseSIFloat(&back, written.c_str()));
    }
    return 0;
}
