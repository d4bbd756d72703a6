// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

// A fresh folder under the system's temp directory for the part of a test that runs as another
// user (nobody), who may not enter the build tree when it lies in a home only its owner enters.
// The folder is 0711: the other user reaches what the test puts in it by name. It goes with
// the test, whatever the other user left in it.
class OtherUserDir {
public:
    explicit OtherUserDir(const std::string& name) {
        std::string path = (std::filesystem::temp_directory_path() / ("kiv-" + name + "-XXXXXX")).string();
        if (mkdtemp(path.data()) && chmod(path.c_str(), 0711) == 0) m_path = path;
    }
    ~OtherUserDir() {
        std::error_code error;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, error);
    }
    OtherUserDir(const OtherUserDir&) = delete;
    OtherUserDir& operator=(const OtherUserDir&) = delete;

    // Empty when the folder could not be made.
    const std::string& Path() const { return m_path; }
    // A folder in it of this mode (0755 to be listed, 0777 to be written to); its path.
    std::string Folder(const std::string& name, mode_t mode) const {
        const std::string path = m_path + "/" + name;
        std::filesystem::create_directory(path);
        chmod(path.c_str(), mode);
        return path;
    }
    // A copy of a built program, which the other user may run; its path.
    std::string Program(const std::string& built) const {
        const std::string path = m_path + "/" + std::filesystem::path(built).filename().string();
        std::filesystem::copy_file(built, path, std::filesystem::copy_options::overwrite_existing);
        chmod(path.c_str(), 0755);
        return path;
    }

private:
    std::string m_path;
};

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
