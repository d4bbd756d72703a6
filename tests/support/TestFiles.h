#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
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

// A shell command run to its end: its exit status and all it wrote (stderr too).
inline std::pair<int, std::string> RunCommand(const std::string& command) {
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    std::string out;
    char buffer[512];
    for (size_t n; p && (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    const int status = p ? pclose(p) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}
