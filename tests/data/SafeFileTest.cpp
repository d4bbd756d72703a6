#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "data/SafeFile.h"
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
