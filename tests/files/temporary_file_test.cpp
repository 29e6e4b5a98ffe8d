#include "temporary_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "failure_text.h"
#include "line_list.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

#ifndef _WIN32
std::size_t entriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}
#endif

// A program ended by a signal it can catch leaves no temporary file behind: each signal
// ends a child process (a death test) while its temporary file is open.
TEST(TemporaryFile, ASignalThatEndsTheProgramRemovesIt) {
    MARVOLT_NOT_ON_WINDOWS(
        "POSIX only: signals end the program (Windows: the console's Ctrl+C handler)");
#ifndef _WIN32
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE, SIGXCPU}) {
        SCOPED_TRACE(signal);
        testing::TempFolder folder;
        const std::string target = folder.write("survey.12o", "original\r\n");
        EXPECT_EXIT(
            {
                TemporaryFile file(target, target);
                if (write(file.fd(), "new", 3) != 3 || entriesIn(folder.path()) != 2) std::_Exit(1);
                std::raise(signal);
                std::_Exit(2);
            },
            ::testing::KilledBySignal(signal), "");
        EXPECT_EQ(entriesIn(folder.path()), 1u);
        EXPECT_EQ(testing::readBytes(target), "original\r\n");
    }
#endif
}

// A file size limit, with SIGXFSZ as the program started, makes the rewrite fail with an
// error rather than end the program; the original stays and nothing is left behind.
TEST(TemporaryFile, AFileSizeLimitIsAnErrorNotTheEnd) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: file size limits (setrlimit)");
#ifndef _WIN32
    testing::TempFolder folder;
    const std::string target = folder.write("survey.12o", "original\r\n");
    LineList lines;
    for (int i = 0; i < 20000; ++i) lines.add(" 12  4  3  6  0 12.0000000  0  1G05");
    const auto writeUnderLimit = [&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 100000;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::fputs(testing::failureText([&] { writeLines(target, lines); }).c_str(), stderr);
        std::_Exit(0);
    };
    EXPECT_EXIT(writeUnderLimit(), ::testing::ExitedWithCode(0), "^Stream write error$");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
    EXPECT_EQ(testing::readBytes(target), "original\r\n");
#endif
}

}  // namespace
}  // namespace marvolt
