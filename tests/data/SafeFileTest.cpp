// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>

#include "acquisition/CAcquisition.h"
#include "data/SafeFile.h"
#include "support/DataFixture.h"
#include "support/PlotFill.h"

namespace fs = std::filesystem;

namespace {

// Older than the moment a save may take between creating its temporary file and locking it.
void MakeOld(const std::string& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(5));
}

int SaveTemps(const std::string& dir, const std::string& prefix) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir)) n += e.path().filename().string().rfind(prefix, 0) == 0;
    return n;
}

}  // namespace

TEST(SafeFile, LinksPermissionsLeftoversAndFailures) {
    const std::string dir = TestDir("safefile");
    const std::string real = dir + "/real.kiv";

    // A link is written through; the link stays a link, the file keeps its permissions.
    WriteBytes(real, "old");
    chmod(real.c_str(), 0640);
    fs::create_symlink("real.kiv", dir + "/link.kiv");
    ASSERT_TRUE(WriteFileAtomically(dir + "/link.kiv", "new"));
    EXPECT_TRUE(fs::is_symlink(dir + "/link.kiv"));
    EXPECT_EQ(FileText(real), "new");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));

    // A chain of links to a file not there yet creates it, with the permissions of a new file.
    fs::create_directory(dir + "/sub");
    fs::create_symlink(dir + "/sub/later.kiv", dir + "/mid.kiv");
    fs::create_symlink("mid.kiv", dir + "/dangling.kiv");
    ASSERT_TRUE(WriteFileAtomically(dir + "/dangling.kiv", "x"));
    EXPECT_EQ(FileText(dir + "/sub/later.kiv"), "x");
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(fs::status(dir + "/sub/later.kiv").permissions(), fs::perms(0666 & ~mask));

    // A loop of links names no file: the save is refused with its message, the links stay.
    fs::create_symlink("b.kiv", dir + "/a.kiv");
    fs::create_symlink("a.kiv", dir + "/b.kiv");
    HostedDoc loop;
    EXPECT_FALSE(loop.doc.OnSaveDocument(dir + "/a.kiv"));
    ASSERT_EQ(loop.host.messages.boxes.size(), 1u);
    EXPECT_EQ(loop.host.messages.boxes[0].text,
              "Nie można zapisać pliku. Sprawdź, czy folder istnieje i czy masz prawo zapisu.");
    EXPECT_EQ(fs::read_symlink(dir + "/a.kiv"), "b.kiv");
    EXPECT_EQ(fs::read_symlink(dir + "/b.kiv"), "a.kiv");

    // Unlocked leftovers of this document's saves go with the next save once they are old. A
    // save stalled half-way (a hung network folder, a stopped program) holds its temporary file
    // open, and so locked, however old; it stays until that save lets go of it (the lock is the
    // open file's, so even a save in the same process must leave it).
    const std::tuple<const char*, bool, bool> leftovers[] = {  // name, old, stays
        {"real.kiv.zapis-a1B2c3.tmp", true, false}, {"real.kiv.zapis-d4E5f6.tmp", false, true},
        {"other.kiv.zapis-a1B2c3.tmp", true, true}, {"real.kiv.zapis-a1B2c3d.tmp", true, true}};
    for (auto [name, old, stays] : leftovers) {
        WriteBytes(dir + "/" + name, "partial");
        if (old) MakeOld(dir + "/" + name);
    }
    std::string stalled;
    const int stalledFd = OpenSaveTemp(real, stalled);
    ASSERT_GE(stalledFd, 0);
    MakeOld(stalled);
    ASSERT_TRUE(WriteFileAtomically(real, "newer"));
    for (auto [name, old, stays] : leftovers) EXPECT_EQ(fs::exists(dir + "/" + name), stays) << name;
    EXPECT_TRUE(fs::exists(stalled)) << stalled;
    close(stalledFd);  // the next save, below, removes it

    // Another process holding the file open (and locked) keeps reading the whole old contents.
    const int held = open(real.c_str(), O_RDWR);
    struct flock lock{};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(fcntl(held, F_SETLK, &lock), 0);
    ASSERT_TRUE(WriteFileAtomically(real, "newest"));
    EXPECT_EQ(FileText(real), "newest");
    std::string seen(8, '\0');
    EXPECT_EQ(pread(held, seen.data(), seen.size(), 0), 5);
    EXPECT_EQ(seen.substr(0, 5), "newer");
    close(held);

    // Failures leave the old file and no temporary file behind.
    EXPECT_FALSE(WriteFileAtomically(dir + "/no/such/folder/x.kiv", "x"));
    EXPECT_FALSE(WriteFileAtomically(dir + "/sub", "x"));  // a folder is not replaced
    EXPECT_TRUE(fs::is_directory(dir + "/sub"));
    if (geteuid() != 0) {  // root may write anything
        for (auto [folder, file] : {std::pair{0755, 0440}, {0555, 0640}}) {
            chmod(dir.c_str(), folder), chmod(real.c_str(), file);
            EXPECT_FALSE(WriteFileAtomically(real, "lost")) << folder;
            EXPECT_EQ(FileText(real), "newest") << folder;
        }
        chmod(dir.c_str(), 0755);
    }
    EXPECT_EQ(SaveTemps(dir, "real.kiv.zapis-"), 2);  // only the young one and the one of another length
}

// Saves in other processes: two saving one file over and over all succeed, a reader only
// ever finds one whole version, nothing is left over.
TEST(SafeFile, SavesInOtherProcesses) {
    const std::string dir = TestDir("safefile_race"), path = dir + "/race.kiv";
    const std::string versions[2] = {std::string(30000, 'a'), std::string(20000, 'b')};
    WriteBytes(path, versions[0]);
    pid_t writers[2];
    for (int w = 0; w < 2; ++w)
        if ((writers[w] = fork()) == 0) {
            int failed = 0;
            for (int i = 0; i < 200; ++i) failed += !WriteFileAtomically(path, versions[w]);
            _exit(std::min(failed, 100));
        }
    int torn = 0, running = 2, status[2] = {-1, -1};
    while (running > 0) {
        const std::string seen = FileText(path);
        torn += seen != versions[0] && seen != versions[1];
        for (int w = 0; w < 2; ++w)
            running -= status[w] == -1 && waitpid(writers[w], &status[w], WNOHANG) == writers[w];
    }
    for (int w = 0; w < 2; ++w)
        EXPECT_EQ(WIFEXITED(status[w]) ? WEXITSTATUS(status[w]) : -1, 0) << "failed saves of writer " << w;
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(SaveTemps(dir, "race.kiv.zapis-"), 0);
}

namespace {

// Runs body in a child process that has a 64 KiB tmpfs of its own mounted on dir (a private
// mount namespace; a user namespace too when not root). The child's first failed check comes
// back as text; "skip: why" when the system allows no such namespace.
std::string InSmallTmpfs(const std::string& dir, const std::function<std::string()>& body) {
    int out[2];
    if (pipe(out) != 0) return "pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        std::string text;
        if (unshare(CLONE_NEWNS | (geteuid() == 0 ? 0 : CLONE_NEWUSER)) != 0)
            text = std::string("skip: unshare: ") + std::strerror(errno);
        else if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                 mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0)
            text = std::string("skip: mount: ") + std::strerror(errno);
        else
            text = body();
        (void)!write(out[1], text.data(), text.size());
        _exit(0);
    }
    close(out[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? text : "child died";
}

// Fills the file system with a filler file, then frees `room` bytes of it.
void FillUp(const std::string& dir, off_t room) {
    const int fd = open((dir + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    (void)!ftruncate(fd, std::max<off_t>(lseek(fd, 0, SEEK_END) - room, 0));
    close(fd);
}

}  // namespace

// A save that cannot be completed — a full disk (no room at all, or room for half the file), a
// folder mounted read-only — fails, leaves the document and Kiv.cfg as they were and no
// temporary file behind; the document stays modified.
TEST(SafeFile, FullDiskAndReadOnlyFolderKeepTheOldFile) {
    const std::string dir = TestDir("safefile_full");
    const std::string result = InSmallTmpfs(dir, [&]() -> std::string {
        const std::string path = dir + "/doc.kiv";
        CKivDoc doc;
        FillPlot(doc.Source(), 1, [](int i) { return i % 200; });
        if (!doc.OnSaveDocument(path)) return "first save";
        const std::vector<uint8_t> saved = FileBytes(path);
        const std::string cfgPath = dir + "/Kiv.cfg";
        // Kiv.cfg is written as the program closes.
        auto closeWithPort = [&](uint8_t port) { CAcquisition acq(cfgPath); acq.m_settings.nPort = port; };
        closeWithPort(3);
        const std::vector<uint8_t> cfg = FileBytes(cfgPath);
        if (cfg.size() != kConfigFileSize) return "first Kiv.cfg";

        FillPlot(doc.Source(), 2, [](int i) { return i % 100; });
        doc.SetModifiedFlag();
        for (const off_t room : {off_t(0), off_t(4096)}) {
            FillUp(dir, room);
            if (doc.OnSaveDocument(path)) return "saved on a full disk, room " + std::to_string(room);
            if (FileBytes(path) != saved) return "document damaged, room " + std::to_string(room);
            if (!doc.IsModified()) return "not modified, room " + std::to_string(room);
        }
        FillUp(dir, 0);
        closeWithPort(4);
        if (FileBytes(cfgPath) != cfg) return "Kiv.cfg damaged";
        unlink((dir + "/filler").c_str());

        if (mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return "remount";
        if (doc.OnSaveDocument(path) || FileBytes(path) != saved) return "read-only folder";
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().extension() == ".tmp") return "left " + e.path().filename().string();
        return "";
    });
    if (result.rfind("skip: ", 0) == 0) GTEST_SKIP() << "no private mount namespace here (" << result.substr(6) << ")";
    EXPECT_EQ(result, "");
}
