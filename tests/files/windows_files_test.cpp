// What Windows does differently with the survey files: the read-only attribute, a file held
// open by another program, names with Polish letters, bytes that text mode would change, a
// file replaced while it exists, the backup as a second name, the lock.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "backup_copy.h"
#include "failure_text.h"
#include "file_lock.h"
#include "file_path.h"
#include "line_list.h"
#include "regular_file.h"
#include "temp_folder.h"
#include "wide_text.h"

namespace marvolt {
namespace {

using testing::failureText;
using testing::namesIn;
using testing::readBytes;
using testing::TempFolder;

std::vector<std::string> linesOf(const LineList& list) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i) lines.emplace_back(list[i]);
    return lines;
}

LineList listOf(const std::vector<std::string>& lines) {
    LineList list;
    for (const std::string& line : lines) list.add(line);
    return list;
}

// A read-only file, and one another program holds open without letting it be replaced: both
// are refused before anything is written, and left as they are.
TEST(WindowsFiles, ReadOnlyAndHeldFilesAreRefusedUntouched) {
    const TempFolder folder;
    const std::string readOnly = folder.write("read-only.12o", "old\r\n");
    ASSERT_TRUE(::SetFileAttributesW(wideOf(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(failureText([&] { writeLines(readOnly, listOf({"new"})); }),
              "Cannot create file \"" + readOnly + "\". Permission denied");
    EXPECT_EQ(readBytes(readOnly), "old\r\n");
    ::SetFileAttributesW(wideOf(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string held = folder.write("held.12o", "old\r\n");
    const HANDLE other = ::CreateFileW(wideOf(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(failureText([&] { writeLines(held, listOf({"new"})); }),
              "Cannot create file \"" + held + "\". Permission denied");
    EXPECT_EQ(readLines(held).size(), 1u);  // reading goes on beside the other program
    ::CloseHandle(other);
    EXPECT_EQ(readBytes(held), "old\r\n");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"held.12o", "read-only.12o"}));
}

// A folder and a device are no survey files: refused by name, nothing opened or made.
TEST(WindowsFiles, FoldersAndDevicesAreRefused) {
    const TempFolder folder;
    const std::string subfolder = folder.file("folder.12o");
    std::filesystem::create_directory(subfolder);
    EXPECT_EQ(failureText([&] { readLines(subfolder); }),
              "\"" + subfolder + "\" nie jest zwykłym plikiem.");
    EXPECT_EQ(failureText([&] { writeLines(subfolder, listOf({"x"})); }),
              "\"" + subfolder + "\" nie jest zwykłym plikiem.");
    EXPECT_EQ(failureText([&] { makeBackupCopy("NUL"); }),
              "\"" + fullPath("NUL") + "\" nie jest zwykłym plikiem.");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"folder.12o"});
}

// Names with Polish letters, in the folder and the file, are read, replaced and backed up,
// and shown as they are.
TEST(WindowsFiles, PolishLettersInTheNames) {
    const TempFolder base;
    const std::string folder = base.file("Pomiary Łódź");
    std::filesystem::create_directory(std::filesystem::u8path(folder));
    const std::string file = folder + "\\żółć ĄĘ.12o";
    writeLines(file, listOf({"pierwsza", "druga"}));
    EXPECT_EQ(linesOf(readLines(file)), (std::vector<std::string>{"pierwsza", "druga"}));
    makeBackupCopy(file);
    EXPECT_EQ(readBytes(file + ".bak"), "pierwsza\r\ndruga\r\n");
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"żółć ĄĘ.12o", "żółć ĄĘ.12o.bak"}));
    EXPECT_EQ(fullPath(file), file);
    EXPECT_TRUE(identityAt(file).has_value());
}

// Bytes go in and out as they are, never through text mode: CR LF stays, LF alone is not
// doubled, and 0x1A is read by the line rules rather than taken for the end of the file.
TEST(WindowsFiles, CrLfAndTheEndOfFileByteAreKept) {
    const TempFolder folder;
    const std::string bytes =
        "a\r\nb\x1A"
        "c\r\nd\n\x1A";
    const std::string file = folder.write("bytes.12o", bytes);
    EXPECT_EQ(linesOf(readLines(file)), (std::vector<std::string>{"a", "b", "d"}));
    makeBackupCopy(file);
    EXPECT_EQ(readBytes(file + ".bak"), bytes);
    writeLines(file, listOf({"x\x1Ay", "z"}));
    EXPECT_EQ(readBytes(file), "x\x1Ay\r\nz\r\n");
}

// A file that exists, open for reading elsewhere, is replaced; its backup made ready as a
// second name of it (a hard link, nothing copied) keeps the old bytes.
TEST(WindowsFiles, AnExistingFileIsReplacedAndItsBackupIsTheOldFile) {
    const TempFolder folder;
    const std::string file = folder.write("survey.12o", "old\r\n");
    const std::optional<FileIdentity> old = identityAt(file);
    ASSERT_TRUE(old.has_value());
    {
        const LineList reading = readLines(file);
        PendingBackup backup(file);
        backup.putInPlace();
        writeLines(file, listOf({"new"}));
    }
    EXPECT_EQ(readBytes(file), "new\r\n");
    EXPECT_EQ(readBytes(file + ".bak"), "old\r\n");
    const std::optional<FileIdentity> backup = identityAt(file + ".bak");
    ASSERT_TRUE(backup.has_value());
    EXPECT_EQ(backup->inode, old->inode);
    EXPECT_NE(identityAt(file)->inode, old->inode);
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
}

// One modification of a file at a time, also between two opens in one program; the lock
// keeps no one from reading the file.
TEST(WindowsFiles, TheLockTurnsASecondModificationAwayButNotReading) {
    const TempFolder folder;
    const std::string file = folder.write("survey.12o", "line\r\n");
    {
        const LockedFile first(file);
        EXPECT_EQ(failureText([&] { LockedFile second(file); }),
                  "Plik \"" + file +
                      "\" jest właśnie modyfikowany przez inny program. Spróbuj ponownie za "
                      "chwilę.");
        EXPECT_EQ(linesOf(readLines(file)), std::vector<std::string>{"line"});
    }
    EXPECT_EQ(failureText([&] { LockedFile again(file); }), "no failure");
}

}  // namespace
}  // namespace marvolt
