#include "backup_copy.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "failure_text.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

using namespace std::string_literals;
using testing::failureText;
using testing::namesIn;
using testing::readBytes;

#ifndef _WIN32
mode_t modeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0);
    return status.st_mode & 07777;
}
#endif

TEST(BackupCopy, CopiesEveryByteAndTheModeOverAnOlderBackup) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: permission bits");
#ifndef _WIN32
    testing::TempFolder folder;
    std::string bytes = "survey\r\n\x1A\0\xB9"s;
    for (int i = 0; i < 20000; ++i) bytes += " 12  4  3  6  0 12.0000000  0  1G05\n";
    const std::string file = folder.write("survey.12o", bytes);
    folder.write("survey.12o.bak", "an older backup");
    for (const mode_t mode : {0640, 0604}) {
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
        makeBackupCopy(file);
        EXPECT_EQ(readBytes(file + ".bak"), bytes);
        EXPECT_EQ(modeOf(file + ".bak"), mode);
    }
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
#endif
}

// The file a symbolic link named like the backup points to is never written: the link
// itself is replaced by the backup.
TEST(BackupCopy, ABackupNameThatIsALinkIsReplacedNotFollowed) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: symbolic links");
#ifndef _WIN32
    testing::TempFolder folder;
    const std::string file = folder.write("survey.12o", "survey\n");
    const std::string other = folder.write("other.txt", "someone else's file\n");
    ASSERT_EQ(symlink(other.c_str(), (file + ".bak").c_str()), 0);
    makeBackupCopy(file);
    EXPECT_FALSE(std::filesystem::is_symlink(file + ".bak"));
    EXPECT_EQ(readBytes(file + ".bak"), "survey\n");
    EXPECT_EQ(readBytes(other), "someone else's file\n");
#endif
}

// A copy that stops part-way (here at a file size limit, also for root) leaves the older
// backup as it was and no part of the new one.
TEST(BackupCopy, ACopyThatFailsLeavesTheOlderBackupAndNothingElse) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: file size limits (setrlimit)");
#ifndef _WIN32
    testing::TempFolder folder;
    const std::string file = folder.write("survey.12o", std::string(300000, 'x'));
    folder.write("survey.12o.bak", "an older backup");

    const std::string text =
        testing::failureTextWithFileSizeLimit(100000, [&] { makeBackupCopy(file); });

    EXPECT_EQ(text, "Stream write error");
    EXPECT_EQ(readBytes(file + ".bak"), "an older backup");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
    EXPECT_EQ(failureText([&] { makeBackupCopy(folder.file("missing.12o")); }), "File not found");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
#endif
}

// Before a rename replaces the file, the backup is the file itself under a second name (an
// older backup replaced), and keeps its bytes once the file is replaced. A file on another
// file system than its name (here through a link to /dev/shm) gets a copy beside the name.
TEST(BackupCopy, ABackupBeforeReplacingIsTheFileItselfOrElseACopy) {
    MARVOLT_NOT_ON_WINDOWS(
        "POSIX only: inodes, symbolic links and a second file system (Windows: its own test of the "
        "hard link)");
#ifndef _WIN32
    testing::TempFolder folder;
    const std::string file = folder.write("survey.12o", "survey\r\n");
    folder.write("survey.12o.bak", "an older backup");
    {
        // Never put in place: the older backup stays, no passing name is left.
        const PendingBackup dropped(file);
        EXPECT_EQ(namesIn(folder.path()).size(), 3u);
    }
    EXPECT_EQ(readBytes(file + ".bak"), "an older backup");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
    PendingBackup(file).putInPlace();
    struct stat original {
    }, backup{};
    ASSERT_EQ(stat(file.c_str(), &original), 0);
    ASSERT_EQ(stat((file + ".bak").c_str(), &backup), 0);
    EXPECT_EQ(backup.st_ino, original.st_ino);
    const std::string rewrite = folder.write("survey.12o.new", "rewritten\r\n");
    ASSERT_EQ(std::rename(rewrite.c_str(), file.c_str()), 0);
    EXPECT_EQ(readBytes(file + ".bak"), "survey\r\n");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));

    // A backup name that is already a second name of the file stays, and nothing is left.
    ASSERT_EQ(std::remove((file + ".bak").c_str()), 0);
    ASSERT_EQ(link(file.c_str(), (file + ".bak").c_str()), 0);
    PendingBackup(file).putInPlace();
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
    EXPECT_EQ(std::filesystem::hard_link_count(file), 2u);

    const std::string elsewhere = "/dev/shm/marvolt-backup-" + std::to_string(getpid());
    if (!(std::ofstream(elsewhere, std::ios::binary) << "on another file system\n"))
        GTEST_SKIP() << "no /dev/shm";
    const std::string link = folder.file("linked.12o");
    ASSERT_EQ(symlink(elsewhere.c_str(), link.c_str()), 0);
    PendingBackup(link).putInPlace();
    EXPECT_EQ(readBytes(link + ".bak"), "on another file system\n");
    EXPECT_FALSE(std::filesystem::is_symlink(link + ".bak"));
    EXPECT_EQ(std::filesystem::hard_link_count(elsewhere), 1u);
    std::filesystem::remove(elsewhere);
#endif
}

}  // namespace
}  // namespace marvolt
