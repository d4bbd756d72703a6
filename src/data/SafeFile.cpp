#include "data/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr char kTempSuffix[] = ".tmp";
constexpr int kTempRandom = 6;  // mkstemps' XXXXXX

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save must replace: path itself, or the end of its chain of links (which
// need not exist yet). Gives up on a loop as the system does.
std::string FinalTarget(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) return path;
        link.resize(static_cast<size_t>(n));
        path = link[0] == '/' ? link : Folder(path) + "/" + link;
    }
    return path;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool IsTempOf(const std::string& entry, const std::string& prefix) {
    const size_t suffix = sizeof kTempSuffix - 1;
    return entry.size() == prefix.size() + kTempRandom + suffix && entry.compare(0, prefix.size(), prefix) == 0 &&
           entry.compare(entry.size() - suffix, suffix, kTempSuffix) == 0;
}

void RemoveStaleTemps(const std::string& folder, const std::string& prefix) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (!IsTempOf(name, prefix)) continue;
        const std::string full = folder + "/" + name;
        struct stat st;
        if (lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(full.c_str());
    }
    closedir(dir);
}

}  // namespace

std::string SaveTempPrefix(const std::string& fileName) { return fileName + ".zapis-"; }

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = FinalTarget(path);
    const std::string folder = Folder(target);
    const std::string prefix = SaveTempPrefix(BaseName(target));

    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return false;
    // A file its owner made read-only is not replaced behind their back.
    if (exists && access(target.c_str(), W_OK) != 0) return false;

    std::string tmp = folder + "/" + prefix + std::string(kTempRandom, 'X') + kTempSuffix;
    const int fd = mkstemps(tmp.data(), static_cast<int>(sizeof kTempSuffix - 1));
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    if (ok && exists) {
        // Owner and group where the system lets us; the permissions always.
        const bool sameOwner = fchown(fd, old.st_uid, old.st_gid) == 0;
        (void)sameOwner;
        ok = fchmod(fd, old.st_mode & 07777) == 0;
    } else if (ok) {
        ok = fchmod(fd, NewFileMode()) == 0;
    }
    if (ok) ok = fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = std::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        std::remove(tmp.c_str());
        return false;
    }
    // The new name is only durable once the folder is.
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        fsync(dirFd);
        ::close(dirFd);
    }
    RemoveStaleTemps(folder, prefix);
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
