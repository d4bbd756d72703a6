#pragma once
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A fresh folder under the build tree; the process id keeps tests that CTest runs
// side by side out of each other's folders.
inline std::string TestDir(const std::string& name) {
    std::filesystem::path p = std::filesystem::path(KIV_TEST_TMP) / (name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    return p.string();
}

// Empty for a file that cannot be read.
inline std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
