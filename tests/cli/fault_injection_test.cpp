// marvolt-cli modify with a backup, run once for every file-system call it makes, with that
// call failing (ENOSPC, EIO, EACCES) or interrupted by SIGTERM: whatever fails, no byte of
// the survey is lost, the backup is absent, the older one or an exact copy, and the exit
// status tells what became of the files. The same library changes the file at a chosen
// call, as another program might, or holds the program there while a second one runs.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cli_process.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt::testing {
namespace {

const std::string kOlderBackup = "the backup of an earlier run\r\n";
const std::string kBackupWarning = "UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!";
constexpr mode_t kSurveyMode = 0640;

// The example survey in a fresh folder, with or without an older backup beside it; a large
// one has its header grown past one read block by comments, so that the reading thread runs.
struct Survey {
    TempFolder folder;
    std::string times = folder.write("punkty.txt", readBytes(MARVOLT_EXAMPLES "/punkty.txt"));
    std::string rinex = folder.write("pomiar.11o", example(false));
    std::string backup = folder.file("pomiar.11o.bak");

    explicit Survey(bool olderBackup, bool large = false) {
        if (large) folder.write("pomiar.11o", example(true));
        chmod(rinex.c_str(), kSurveyMode);
        if (olderBackup) folder.write("pomiar.11o.bak", kOlderBackup);
    }
    static std::string example(bool large) {
        std::string bytes = readBytes(MARVOLT_EXAMPLES "/pomiar.11o");
        if (!large) return bytes;
        std::string comments;
        const std::string comment = std::string(60, '-') + "COMMENT             \r\n";
        while (comments.size() < 300000) comments += comment;
        return bytes.insert(bytes.find('\n') + 1, comments);
    }
    CliRun modify(const std::vector<std::string>& environment,
                  const std::vector<std::string>& options = {}) const {
        std::vector<std::string> all = {"LD_PRELOAD=" MARVOLT_FAILING_CALLS,
                                        "ASAN_OPTIONS=verify_asan_link_order=0"};
        all.insert(all.end(), environment.begin(), environment.end());
        std::vector<std::string> arguments = {"modify"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.insert(arguments.end(), {times, rinex});
        return runCli(arguments, "", "", all);
    }
    std::set<std::string> names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    mode_t rinexMode() const {
        struct stat status {};
        return ::stat(rinex.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
    }
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(FaultInjection, EveryFailingCallLeavesTheFilesWholeAndTheStatusTrue) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: a preloaded library (LD_PRELOAD) fails the calls");
    int runs = 0;
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "larger than a read block" : "the example");
        const std::string original = Survey::example(large);
        std::vector<std::string> calls;
        std::string flagged;
        {
            const Survey survey(true, large);
            const std::string log = survey.folder.file("calls.log");
            const CliRun clean = survey.modify({"MARVOLT_CALL_LOG=" + log});
            ASSERT_EQ(clean.status, 0) << clean.err;
            calls = linesOf(readBytes(log));
            flagged = readBytes(survey.rinex);
            ASSERT_NE(flagged, original);
        }
        // Both renames, the backup's and the rewrite's, are kept on disk by a sync of the folder.
        std::size_t renames = 0;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i] != "rename") continue;
            ++renames;
            std::size_t next = i + 1;
            while (next < calls.size() && calls[next] != "fsync-folder" && calls[next] != "rename")
                ++next;
            EXPECT_TRUE(next < calls.size() && calls[next] == "fsync-folder") << "rename " << i;
        }
        EXPECT_EQ(renames, 2u);

        // What a file holds, named so that a failure reads short.
        const auto contents = [&](const std::string& path) -> std::string {
            if (!std::filesystem::exists(path)) return "absent";
            const std::string bytes = readBytes(path);
            if (bytes == original) return "original";
            if (bytes == flagged) return "flagged";
            if (bytes == kOlderBackup) return "older backup";
            return std::to_string(bytes.size()) + " other bytes";
        };
        const std::vector<std::string> faults = {std::to_string(ENOSPC), std::to_string(EIO),
                                                 std::to_string(EACCES),
                                                 "signal:" + std::to_string(SIGTERM)};
        for (std::size_t at = 1; at <= calls.size(); ++at) {
            for (const std::string& fault : faults) {
                SCOPED_TRACE("call " + std::to_string(at) + " (" + calls[at - 1] + ") fails with " +
                             fault);
                // The runs failing with EACCES start without an older backup.
                const bool olderBackup = fault != std::to_string(EACCES);
                const std::string previous = olderBackup ? "older backup" : "absent";
                const Survey survey(olderBackup, large);
                const CliRun run = survey.modify(
                    {"MARVOLT_FAIL_AT=" + std::to_string(at), "MARVOLT_FAIL_WITH=" + fault});
                ++runs;
                const std::string rinex = contents(survey.rinex);
                const std::string backup = contents(survey.backup);
                // Only the sync of the folder, which keeps a rename on disk, comes after it.
                const bool afterRename =
                    calls[at - 1] == "open-folder" || calls[at - 1] == "fsync-folder";
                std::set<std::string> names = {"punkty.txt", "pomiar.11o"};
                if (backup != "absent") names.insert("pomiar.11o.bak");
                EXPECT_EQ(survey.names(), names);
                EXPECT_EQ(survey.rinexMode(), kSurveyMode);
                EXPECT_EQ(readBytes(survey.times), readBytes(MARVOLT_EXAMPLES "/punkty.txt"));
                EXPECT_TRUE(backup == previous || backup == "original") << backup;
                if (fault.rfind("signal:", 0) == 0) {
                    EXPECT_EQ(run.status, 128 + SIGTERM);
                    EXPECT_TRUE(rinex == "original" || rinex == "flagged") << rinex;
                    continue;
                }
                const bool warned = run.out.find(kBackupWarning) != std::string::npos;
                switch (run.status) {
                    case 0:
                        EXPECT_EQ(rinex, "flagged");
                        EXPECT_EQ(backup, "original");
                        EXPECT_FALSE(warned);
                        break;
                    case 3:
                        EXPECT_EQ(rinex, "flagged");
                        EXPECT_TRUE(backup == previous || afterRename) << backup;
                        EXPECT_TRUE(warned);
                        break;
                    case 2:
                        EXPECT_TRUE(rinex == "original" || afterRename) << rinex;
                        EXPECT_NE(run.err, "");
                        break;
                    default:
                        ADD_FAILURE() << "status " << run.status << ": " << run.err;
                }
            }
        }
        std::printf("fault injection: %zu calls of marvolt-cli modify each failing in turn\n",
                    calls.size());
    }
    std::printf("fault injection: %d runs in all\n", runs);
}

const std::string kChanged = "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.\n";

// The index, from 1, of the first call of that name in a clean run's log, or 0.
std::size_t firstCall(const Survey& survey, const std::string& name,
                      const std::vector<std::string>& options = {}) {
    const std::string log = survey.folder.file("calls.log");
    const Survey clean(false);
    clean.modify({"MARVOLT_CALL_LOG=" + log}, options);
    const std::vector<std::string> calls = linesOf(readBytes(log));
    std::filesystem::remove(log);
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i] == name) return i + 1;
    return 0;
}

// Another program cuts the file short while it is copied, or appends to it between the
// analysis and the rename: the run is refused, the file and its backup left as they are.
TEST(FaultInjection, AFileChangedDuringTheWorkIsRefusedAndLeftAsItIs) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: a preloaded library (LD_PRELOAD) fails the calls");
    const struct {
        const char* call;
        std::vector<std::string> options;
        std::string change;  // what happens at the call, to the file named last
    } rows[] = {
        {"copy_file_range", {}, "truncate:60000:"}, {"linkat", {}, "append:"},
        {"fchmod", {"--no-backup"}, "append:"},     {"fchmod", {"--events=records"}, "append:"},
        {"pwrite", {}, "truncate:60000:"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.call) + " " + row.change);
        const Survey survey(true);
        const std::size_t at = firstCall(survey, row.call, row.options);
        ASSERT_GT(at, 0u);
        const CliRun run = survey.modify({"MARVOLT_FAIL_AT=" + std::to_string(at),
                                          "MARVOLT_FAIL_WITH=" + row.change + survey.rinex},
                                         row.options);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "Plik \"" + survey.rinex + kChanged);
        std::string expected = readBytes(MARVOLT_EXAMPLES "/pomiar.11o");
        if (row.change == "append:")
            expected += "appended by another program\r\n";
        else
            expected.resize(60000);
        EXPECT_EQ(readBytes(survey.rinex), expected);
        EXPECT_EQ(readBytes(survey.backup), kOlderBackup);
        EXPECT_EQ(survey.names(),
                  (std::set<std::string>{"punkty.txt", "pomiar.11o", "pomiar.11o.bak"}));
    }
}

// A second run while the first holds the file waits for nothing and touches nothing; the
// first then ends as if alone.
TEST(FaultInjection, ASecondRunWhileTheFirstHoldsTheFileIsTurnedAway) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: a preloaded library (LD_PRELOAD) fails the calls");
    const Survey survey(false);
    const std::size_t lock = firstCall(survey, "flock");
    ASSERT_GT(lock, 0u);
    const std::string release = survey.folder.file("release");
    CliRun first;
    std::thread firstRun([&] {
        first = survey.modify(
            {"MARVOLT_FAIL_AT=" + std::to_string(lock + 1), "MARVOLT_FAIL_WITH=hold:" + release});
    });
    while (!std::filesystem::exists(release + ".held"))
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const CliRun second = runCli({"modify", survey.times, survey.rinex});
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(second.err, "Plik \"" + survey.rinex +
                              "\" jest właśnie modyfikowany przez inny program. Spróbuj "
                              "ponownie za chwilę.\n");
    EXPECT_EQ(readBytes(survey.rinex), readBytes(MARVOLT_EXAMPLES "/pomiar.11o"));
    std::filesystem::remove(release + ".held");
    { std::ofstream(release) << ""; }
    firstRun.join();
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(readBytes(survey.backup), readBytes(MARVOLT_EXAMPLES "/pomiar.11o"));
    EXPECT_EQ(survey.names(),
              (std::set<std::string>{"punkty.txt", "pomiar.11o", "pomiar.11o.bak", "release"}));
}

// The final rename fails; the run after it finds the file as it was and the backup whole.
TEST(FaultInjection, ARunAfterARunWhoseRenameFailedEndsAsOneRun) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: a preloaded library (LD_PRELOAD) fails the calls");
    const Survey survey(false);
    std::size_t rename = 0;
    {
        const std::string log = survey.folder.file("calls.log");
        const Survey clean(false);
        clean.modify({"MARVOLT_CALL_LOG=" + log});
        const std::vector<std::string> calls = linesOf(readBytes(log));
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i] == "rename") rename = i + 1;  // the last: the rewrite's
        std::filesystem::remove(log);
    }
    const std::string original = readBytes(MARVOLT_EXAMPLES "/pomiar.11o");
    const CliRun failed =
        survey.modify({"MARVOLT_FAIL_AT=" + std::to_string(rename), "MARVOLT_FAIL_WITH=5"});
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(readBytes(survey.rinex), original);
    const CliRun again = survey.modify({});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(readBytes(survey.rinex), original);
    EXPECT_EQ(readBytes(survey.backup), original);
    EXPECT_EQ(survey.names(),
              (std::set<std::string>{"punkty.txt", "pomiar.11o", "pomiar.11o.bak"}));
}

}  // namespace
}  // namespace marvolt::testing
