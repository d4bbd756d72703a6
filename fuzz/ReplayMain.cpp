// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target over stored inputs without libFuzzer: every file of the folders
// (sorted) and every file named on the command line. A missing path is skipped, so a
// target's regressions folder may not exist yet; no input at all is a failure.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int a = 1; a < argc; ++a) {
        const fs::path p = argv[a];
        if (fs::is_directory(p)) {
            const size_t first = inputs.size();
            for (const fs::directory_entry& e : fs::directory_iterator(p))
                if (e.is_regular_file()) inputs.push_back(e.path());
            std::sort(inputs.begin() + static_cast<std::ptrdiff_t>(first), inputs.end());
        } else if (fs::is_regular_file(p)) {
            inputs.push_back(p);
        } else {
            std::fprintf(stderr, "skipped (not there): %s\n", p.c_str());
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    for (const fs::path& p : inputs) {
        std::ifstream in(p, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "cannot read %s\n", p.c_str());
            return 1;
        }
        static const uint8_t kNothing = 0;
        LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing : bytes.data(), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
