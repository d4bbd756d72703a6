#pragma once
#include <unistd.h>

#include <filesystem>
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

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> out;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        int c;
        while ((c = fgetc(f)) != EOF) out.push_back(static_cast<uint8_t>(c));
        fclose(f);
    }
    return out;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}
