// marvolt-cli modify with a backup, run once for every file-system call it makes, with that
// call failing (ENOSPC, EIO, EACCES) or interrupted by SIGTERM: whatever fails, no byte of
// the survey is lost, the backup is absent, the older one or an exact copy, and the exit
// status tells what became of the files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli_process.h"
#include "temp_folder.h"

namespace marvolt::testing {
namespace {

const std::string kOlderBackup = "the backup of an earlier run\r\n";
const std::string kBackupWarning = "UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!";
constexpr mode_t kSurveyMode = 0640;

// The example survey in a fresh folder, with or without an older backup beside it.
struct Survey {
    TempFolder folder;
    std::string times = folder.write("punkty.txt", readBytes(MARVOLT_EXAMPLES "/punkty.txt"));
    std::string rinex = folder.write("pomiar.11o", readBytes(MARVOLT_EXAMPLES "/pomiar.11o"));
    std::string backup = folder.file("pomiar.11o.bak");

    explicit Survey(bool olderBackup) {
        chmod(rinex.c_str(), kSurveyMode);
        if (olderBackup) folder.write("pomiar.11o.bak", kOlderBackup);
    }
    CliRun modify(const std::vector<std::string>& environment) const {
        std::vector<std::string> all = {"LD_PRELOAD=" MARVOLT_FAILING_CALLS,
                                        "ASAN_OPTIONS=verify_asan_link_order=0"};
        all.insert(all.end(), environment.begin(), environment.end());
        return runCli({"modify", times, rinex}, "", "", all);
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
    const std::string original = readBytes(MARVOLT_EXAMPLES "/pomiar.11o");
    std::vector<std::string> calls;
    std::string flagged;
    {
        const Survey survey(true);
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
    int runs = 0;
    for (std::size_t at = 1; at <= calls.size(); ++at) {
        for (const std::string& fault : faults) {
            SCOPED_TRACE("call " + std::to_string(at) + " (" + calls[at - 1] + ") fails with " +
                         fault);
            // The runs failing with EACCES start without an older backup.
            const bool olderBackup = fault != std::to_string(EACCES);
            const std::string previous = olderBackup ? "older backup" : "absent";
            const Survey survey(olderBackup);
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
    std::printf("fault injection: %d runs of marvolt-cli modify, %zu calls each failing in turn\n",
                runs, calls.size());
}

}  // namespace
}  // namespace marvolt::testing
