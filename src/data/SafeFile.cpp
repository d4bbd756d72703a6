// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

constexpr char kTempSuffix[] = ".tmp";
constexpr int kTempRandom = 6;  // mkstemps' XXXXXX
constexpr int kMaxLinks = 40;   // as many links as the system follows
// A save creates its temporary file and locks it a moment later; an unlocked leftover
// younger than this may be in that moment, so it is left for a later save.
constexpr time_t kUnlockedGrace = 60;

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
// need not exist yet). False for a loop, which names no file at all.
bool FinalTarget(std::string& path) {
    for (int depth = 0; depth < kMaxLinks; ++depth) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) return false;
        link.resize(static_cast<size_t>(n));
        path = link[0] == '/' ? link : Folder(path) + "/" + link;
    }
    return false;
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

// Open-file-description locks: unlike process locks they also keep apart two saves
// in one process, and closing some other descriptor of the file does not drop them.
bool LockWhole(int fd, short type) {
    struct flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool IsTempOf(const std::string& entry, const std::string& prefix) {
    const size_t suffix = sizeof kTempSuffix - 1;
    return entry.size() == prefix.size() + kTempRandom + suffix && entry.compare(0, prefix.size(), prefix) == 0 &&
           entry.compare(entry.size() - suffix, suffix, kTempSuffix) == 0;
}

// Removes the temporary files of this name whose writer is provably gone: nobody holds
// their lock and they are past the moment between creation and locking. A file system
// without locks refuses the lock, and its leftovers stay.
void RemoveAbandonedTemps(const std::string& folder, const std::string& prefix) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const time_t now = std::time(nullptr);
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (!IsTempOf(name, prefix)) continue;
        const std::string full = folder + "/" + name;
        const int fd = open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held, named;
        if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_mtime < now - kUnlockedGrace &&
            LockWhole(fd, F_RDLCK) && lstat(full.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev)
            unlink(full.c_str());
        ::close(fd);
    }
    closedir(dir);
}

}  // namespace

std::string SaveTempPrefix(const std::string& fileName) { return fileName + ".zapis-"; }

int OpenSaveTemp(const std::string& target, std::string& tmpPath) {
    tmpPath = Folder(target) + "/" + SaveTempPrefix(BaseName(target)) + std::string(kTempRandom, 'X') + kTempSuffix;
    const int fd = mkostemps(tmpPath.data(), static_cast<int>(sizeof kTempSuffix - 1), O_CLOEXEC);
    // Without locks (some network file systems) the save still works; its leftovers stay.
    if (fd >= 0) LockWhole(fd, F_WRLCK);
    return fd;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    std::string target = path;
    if (!FinalTarget(target)) return false;
    const std::string folder = Folder(target);

    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return false;
    // A file its owner made read-only is not replaced behind their back.
    if (exists && access(target.c_str(), W_OK) != 0) return false;

    std::string tmp;
    const int fd = OpenSaveTemp(target, tmp);
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
    // Renamed or removed while still open: the lock must outlive the name.
    if (ok) ok = std::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) unlink(tmp.c_str());
    ::close(fd);  // synced already: nothing is left for close to report
    if (!ok) return false;
    // The new name is only durable once the folder is.
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        ::close(dirFd);
    }
    RemoveAbandonedTemps(folder, SaveTempPrefix(BaseName(target)));
    return true;
}

// Plain reads: a stream's buffer throws on a read error (a folder, a failing disk) where
// the readers want a refusal.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::vector<uint8_t> contents;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) contents.reserve(static_cast<size_t>(st.st_size));
    uint8_t buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        contents.insert(contents.end(), buffer, buffer + n);
    }
    ::close(fd);
    if (ok) bytes = std::move(contents);
    return ok;
}
