#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "acquisition/CAcquisition.h"
#include "data/CKivDoc.h"
#include "data/SafeFile.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& path) {
    const std::vector<uint8_t> b = FileBytes(path);
    return std::string(b.begin(), b.end());
}

mode_t Mode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace

TEST(SafeFile, LinksPermissionsAndLeftoversOfInterruptedSaves) {
    const std::string dir = TestDir("safefile");
    const std::string real = dir + "/real.kiv";

    // A link is written through; the link stays a link, the file keeps its permissions.
    WriteBytes(real, "old");
    chmod(real.c_str(), 0640);
    fs::create_symlink("real.kiv", dir + "/link.kiv");
    ASSERT_TRUE(WriteFileAtomically(dir + "/link.kiv", "new"));
    EXPECT_TRUE(fs::is_symlink(dir + "/link.kiv"));
    EXPECT_EQ(Contents(real), "new");
    EXPECT_EQ(Mode(real), 0640u);

    // A link to a file not there yet creates it, with the permissions of a new file.
    fs::create_directory(dir + "/sub");
    fs::create_symlink(dir + "/sub/later.kiv", dir + "/dangling.kiv");
    ASSERT_TRUE(WriteFileAtomically(dir + "/dangling.kiv", "x"));
    EXPECT_EQ(Contents(dir + "/sub/later.kiv"), "x");
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(Mode(dir + "/sub/later.kiv"), 0666u & ~mask);

    // Leftovers of this document's interrupted saves go with the next save; others stay.
    const std::string prefix = SaveTempPrefix("real.kiv");
    EXPECT_EQ(prefix, "real.kiv.zapis-");
    for (const char* name : {"real.kiv.zapis-a1B2c3.tmp", "other.kiv.zapis-a1B2c3.tmp", "real.kiv.zapis-a1B2c3d.tmp"})
        WriteBytes(dir + "/" + name, "partial");
    ASSERT_TRUE(WriteFileAtomically(real, "newer"));
    EXPECT_FALSE(fs::exists(dir + "/real.kiv.zapis-a1B2c3.tmp"));
    EXPECT_TRUE(fs::exists(dir + "/other.kiv.zapis-a1B2c3.tmp"));
    EXPECT_TRUE(fs::exists(dir + "/real.kiv.zapis-a1B2c3d.tmp"));

    // Failures leave the old file and no temporary file behind.
    EXPECT_FALSE(WriteFileAtomically(dir + "/no/such/folder/x.kiv", "x"));
    EXPECT_FALSE(WriteFileAtomically(dir + "/sub", "x"));  // a folder is not replaced
    EXPECT_TRUE(fs::is_directory(dir + "/sub"));
    if (geteuid() != 0) {  // root may write anything
        chmod(real.c_str(), 0440);
        EXPECT_FALSE(WriteFileAtomically(real, "lost"));
        EXPECT_EQ(Contents(real), "newer");
        chmod(dir.c_str(), 0555);
        chmod(real.c_str(), 0640);
        EXPECT_FALSE(WriteFileAtomically(real, "lost"));
        EXPECT_EQ(Contents(real), "newer");
        chmod(dir.c_str(), 0755);
    }
    int temps = 0;
    for (const auto& e : fs::directory_iterator(dir))
        temps += e.path().filename().string().rfind("real.kiv.zapis-", 0) == 0;
    EXPECT_EQ(temps, 1);  // only the one with the wrong length
}

namespace {

// Runs body in a child process that has a 64 KiB tmpfs of its own mounted on dir (a private
// mount namespace; a user namespace too when not root). The child's first failed check comes
// back as text; "skip" when the system allows no such namespace.
std::string InSmallTmpfs(const std::string& dir, const std::function<std::string()>& body) {
    int out[2];
    if (pipe(out) != 0) return "pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        auto report = [&](const std::string& text) {
            (void)!write(out[1], text.data(), text.size());
            _exit(0);
        };
        const int flags = CLONE_NEWNS | (geteuid() == 0 ? 0 : CLONE_NEWUSER);
        if (unshare(flags) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0)
            report("skip");
        report(body());
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
    const std::string filler = dir + "/filler";
    const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    const off_t size = lseek(fd, 0, SEEK_END);
    if (ftruncate(fd, size > room ? size - room : 0) != 0) {
    }
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
        auto closeWithPort = [&](uint8_t port) {  // Kiv.cfg is written as the program closes
            CAcquisition acq(cfgPath);
            acq.m_settings.nPort = port;
        };
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
    if (result == "skip") GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(result, "");
}

// Another process holding the file open (and locked) keeps reading the complete old
// contents while the save puts the new ones under the name.
TEST(SafeFile, AFileHeldOpenElsewhereIsReplacedWhole) {
    const std::string path = TestDir("safefile_held") + "/held.kiv";
    const std::string old(10000, 'o');
    WriteBytes(path, old);
    const int fd = open(path.c_str(), O_RDWR);
    struct flock lock{};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(fcntl(fd, F_SETLK, &lock), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(Contents(path), "new");
    std::string seen(old.size() + 1, '\0');
    EXPECT_EQ(pread(fd, seen.data(), seen.size(), 0), static_cast<ssize_t>(old.size()));
    EXPECT_EQ(seen.substr(0, old.size()), old);
    close(fd);
}
