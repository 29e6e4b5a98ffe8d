// marvolt-cli run again on a file it marked: after a change to the table, or in the other
// style, the file ends as one run of the last table would leave it, and the backup keeps the
// file as it was before any marks. And what the rewritten file keeps of the file it replaces.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "cli_process.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt::testing {
namespace {

// The times of day (HH:MM:SS) of the data epochs flagged 0 of a RINEX file of any version,
// read from the fixed columns of its epoch lines.
std::vector<std::string> epochTimes(const std::string& bytes) {
    std::vector<std::string> times;
    bool inHeader = true;
    for (std::size_t start = 0, end; start < bytes.size(); start = end + 1) {
        end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        if (inHeader) {
            inHeader = line.find("END OF HEADER") == std::string::npos;
            continue;
        }
        const bool records = line.rfind("> ", 0) == 0;
        const std::size_t time = records ? 13 : 10;  // where the hour stands
        const std::size_t flag = records ? 31 : 28;
        const auto digit = [&](std::size_t at) { return line[at] >= '0' && line[at] <= '9'; };
        if (line.size() <= flag + 3 || line[flag] != '0' || line[time - 1] != ' ' ||
            !digit(time + 1) || !digit(time + 4) || !digit(time + 7) ||
            (!records && (line[0] != ' ' || line[3] != ' ')))
            continue;
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", std::stoi(line.substr(time, 2)),
                      std::stoi(line.substr(time + 3, 2)), std::stoi(line.substr(time + 5, 11)));
        if (times.empty() || times.back() != text) times.push_back(text);
    }
    return times;
}

const char* styleOption(bool records) { return records ? "--events=records" : "--events=flags"; }

// The file as marked by `modify` of each table in turn (each in its style) on a copy of
// `original`; the backup beside it in `backup`.
std::string markedBy(const std::string& name, const std::string& original,
                     const std::vector<std::pair<std::string, bool>>& runs,
                     std::string* backup = nullptr) {
    const TempFolder folder;
    const std::string rinex = folder.write(name, original);
    for (const auto& [times, records] : runs) {
        const std::string table = folder.write("punkty.txt", times);
        const CliRun run = runCli({"modify", styleOption(records), table, rinex});
        EXPECT_EQ(run.status, 0) << run.out << run.err;
    }
    if (backup) *backup = readBytes(rinex + ".bak");
    return readBytes(rinex);
}

TEST(CliRerun, AChangedTableReplacesTheMarksInEitherStyleOnEveryFile) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(MARVOLT_TEST_DATA)) {
        // The observation files: "*.yyo" and "*.rnx".
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() ||
            !(extension == ".rnx" || (extension.size() == 4 && extension.back() == 'o')))
            continue;
        SCOPED_TRACE(name);
        const std::string original = readBytes(entry.path().string());
        const std::vector<std::string> t = epochTimes(original);
        ASSERT_GE(t.size(), 2u);
        ++files;
        // The first STOP stays on the first epoch (the shift stays); P2 moves by an epoch. A
        // file of few epochs has one point, renamed, its GO moved to the last epoch.
        const bool two = t.size() >= 6;
        const std::string first =
            "P1 " + t[0] + " " + t[1] + "\n" + (two ? "P2 " + t[2] + " " + t[4] + "\n" : "");
        const std::string second =
            two ? "P1 " + t[0] + " " + t[1] + "\nP2 " + t[3] + " " + t[5] + "\n"
                : "Q1 " + t[0] + " " + t.back() + "\n";
        for (const bool before : {false, true}) {
            for (const bool after : {false, true}) {
                SCOPED_TRACE(std::string(styleOption(before)) + " then " + styleOption(after));
                std::string backup;
                EXPECT_EQ(markedBy(name, original, {{first, before}, {second, after}}, &backup),
                          markedBy(name, original, {{second, after}}));
                EXPECT_EQ(backup, original);
            }
            // The same table again changes nothing.
            EXPECT_EQ(markedBy(name, original, {{second, before}, {second, before}}),
                      markedBy(name, original, {{second, before}}));
        }
    }
    EXPECT_GE(files, 11);
}

TEST(CliRerun, AMarkedFileIsSaidToBeMarkedAndItsBackupStays) {
    const TempFolder folder;
    const std::string original = readBytes(MARVOLT_EXAMPLES "/pomiar.11o");
    const std::string rinex = folder.write("pomiar.11o", original);
    const std::string times = MARVOLT_EXAMPLES "/punkty.txt";
    const std::string shift = "Przesunięcie między zegarkiem a GMT 0:02:35\n";
    const std::string warning =
        "UWAGA: Plik ma już znaczniki Stop & Go z wcześniejszej modyfikacji (8); modyfikacja "
        "zastąpi je nowymi.\n";
    for (const char* style : {"--events=flags", "--events=records"}) {
        SCOPED_TRACE(style);
        ASSERT_EQ(runCli({"modify", style, times, rinex}).status, 0);
        const CliRun analysis = runCli({"analyse", times, rinex});
        EXPECT_NE(analysis.out.find(shift + warning + "Wiersz "), std::string::npos)
            << analysis.out;
        const CliRun again = runCli({"modify", times, rinex});
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_NE(again.out.find("Kopia oryginału z wcześniejszej modyfikacji zostaje bez zmian: " +
                                 rinex + ".bak\nZakończyłem modyfikację pliku " + rinex + "\n"),
                  std::string::npos)
            << again.out;
        EXPECT_EQ(readBytes(rinex + ".bak"), original);
    }
    EXPECT_EQ(runCli({"analyse", times, folder.write("clean.11o", original)}).out.find("UWAGA"),
              std::string::npos);
}

#ifndef _WIN32
// An access control list as the kernel stores it: the owner rw, user 1234 r, the group r,
// the mask r (so the group bits of the mode read r), others r.
std::string accessList() {
    std::string bytes;
    const auto add = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    add(2, 4);  // the version of the format
    for (const auto& [tag, permissions, id] :
         std::vector<std::tuple<int, int, std::uint32_t>>{{0x01, 6, 0xFFFFFFFF},
                                                          {0x02, 4, 1234},
                                                          {0x04, 4, 0xFFFFFFFF},
                                                          {0x10, 4, 0xFFFFFFFF},
                                                          {0x20, 4, 0xFFFFFFFF}}) {
        add(static_cast<std::uint32_t>(tag), 2);
        add(static_cast<std::uint32_t>(permissions), 2);
        add(id, 4);
    }
    return bytes;
}
#endif

#ifndef _WIN32
std::string attribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? "none" : std::string(value, static_cast<std::size_t>(size));
}
#endif

TEST(CliFileKept, TheRewriteKeepsTheAccessListAndTheUserAttributes) {
    MARVOLT_NOT_ON_WINDOWS(
        "POSIX only: access lists and extended attributes (Windows: ReplaceFileW keeps the "
        "security and attributes)");
#ifndef _WIN32
    const TempFolder folder;
    const std::string rinex = folder.write("pomiar.11o", readBytes(MARVOLT_EXAMPLES "/pomiar.11o"));
    const std::string list = accessList();
    if (setxattr(rinex.c_str(), "user.survey", "day 1", 5, 0) != 0 ||
        setxattr(rinex.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0)
        GTEST_SKIP() << "no access lists or user attributes on " << folder.path();
    struct stat before {};
    ASSERT_EQ(stat(rinex.c_str(), &before), 0);
    const CliRun run = runCli({"modify", MARVOLT_EXAMPLES "/punkty.txt", rinex});
    ASSERT_EQ(run.status, 0) << run.err;
    struct stat after {};
    ASSERT_EQ(stat(rinex.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(attribute(rinex, "user.survey"), "day 1");
    EXPECT_EQ(attribute(rinex, "system.posix_acl_access"), list);
#endif
}

// A member of the file's group who may not give files away: the file comes back theirs,
// still in the group, with its mode.
TEST(CliFileKept, AnotherMemberOfTheGroupLeavesTheFileInTheGroup) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: owners, groups and setpriv");
#ifndef _WIN32
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    const TempFolder folder;
    const std::string rinex = folder.write("pomiar.11o", readBytes(MARVOLT_EXAMPLES "/pomiar.11o"));
    const std::string times = folder.write("punkty.txt", readBytes(MARVOLT_EXAMPLES "/punkty.txt"));
    constexpr gid_t kSurvey = 100;    // a group the other user belongs to
    constexpr uid_t kMember = 65534;  // the other user
    ASSERT_EQ(chown(folder.path().c_str(), 0, kSurvey), 0);
    ASSERT_EQ(chmod(folder.path().c_str(), 0775), 0);
    ASSERT_EQ(chown(rinex.c_str(), 0, kSurvey), 0);
    ASSERT_EQ(chmod(rinex.c_str(), 0664), 0);
    ASSERT_EQ(chmod(times.c_str(), 0644), 0);
    const std::string command = "/usr/bin/setpriv --reuid=65534 --regid=65534 --groups=100 " +
                                std::string(MARVOLT_CLI) + " modify --no-backup '" + times + "' '" +
                                rinex + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    struct stat after {};
    ASSERT_EQ(stat(rinex.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, kMember);
    EXPECT_EQ(after.st_gid, kSurvey);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
#endif
}

}  // namespace
}  // namespace marvolt::testing
