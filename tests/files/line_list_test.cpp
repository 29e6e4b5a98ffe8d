#include "line_list.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "failure.h"
#include "failure_text.h"
#include "line_reader.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
using testing::TempFolder;

Lines linesOf(const LineList& list) {
    Lines lines;
    for (std::size_t i = 0; i < list.size(); ++i) lines.emplace_back(list[i]);
    return lines;
}

LineList listOf(const Lines& lines) {
    LineList list;
    for (const std::string& line : lines) list.add(line);
    return list;
}

using testing::failureText;
using testing::namesIn;

// The lines of a time file by the line reading rules; a line cut by a lone CR is one line.
TEST(LineReading, ReadsFilesAsTheyAre) {
    TempFolder folder;
    const std::string path = folder.write("times.txt", "P1 10:00 10:05\r\nP2\t10:10\r10:15\n\x1A");
    EXPECT_EQ(linesOf(readLines(path)), (Lines{"P1 10:00 10:05", "P2\t10:1010:15"}));
    EXPECT_TRUE(readLines(folder.write("empty.txt", "")).empty());
}

// A line longer than the reader's block comes in pieces and is held whole.
TEST(LineReading, LineLongerThanABlockIsOneLine) {
    TempFolder folder;
    const std::string longLine(LineReader::kBlockSize * 2 + 5, 'x');
    const std::string path = folder.write("long.txt", "a\r\n" + longLine + "\r\nb");
    EXPECT_EQ(linesOf(readLines(path)), (Lines{"a", longLine, "b"}));
}

TEST(LineReading, FileThatReportsNoSizeIsReadToItsEnd) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: files of /proc");
#ifndef _WIN32
    // A kernel file states its size as 0 and is read on in pieces, as a growing file is.
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(expected.size(), 0u);
    std::string read;
    const LineList lines = readLines("/proc/self/mountinfo");
    for (std::size_t i = 0; i < lines.size(); ++i) read.append(lines[i]).append("\n");
    EXPECT_EQ(read, expected);
#endif
}

TEST(LineReading, RealObservationFileComesBackByteForByte) {
    TempFolder folder;
    const std::string original = std::string(MARVOLT_TEST_DATA) + "/geo_14601736.18o";
    const LineList list = readLines(original);
    ASSERT_EQ(list.size(), 124u);
    const std::string copy = folder.file("copy.18o");
    writeLines(copy, list);
    EXPECT_EQ(testing::readBytes(copy), testing::readBytes(original));
}

TEST(LineReading, ErrorTexts) {
    TempFolder folder;
    const std::string file = folder.write("plain.txt", "x\n");
    EXPECT_EQ(failureText([&] { readLines(folder.file("missing.12o")); }), "File not found");
    EXPECT_EQ(failureText([&] { readLines(folder.file("no-folder/missing.12o")); }),
              "File not found");
#ifndef _WIN32  // Windows reports both as a missing folder or file
    EXPECT_EQ(failureText([&] { readLines(file + "/inside.12o"); }), "Invalid filename");
    EXPECT_EQ(failureText([&] { readLines(folder.file(std::string(300, 'n'))); }),
              "Invalid filename");
#endif
}

TEST(LineReading, UnreadableFileIsAccessDenied) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: permission bits (chmod)");
#ifndef _WIN32
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TempFolder folder;
    const std::string file = folder.write("locked.12o", "x\n");
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    EXPECT_EQ(failureText([&] { readLines(file); }), "File access denied");
#endif
}

// AddressSanitizer and ThreadSanitizer reserve more address space than any limit below.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitizer = true;
#elif defined(__has_feature)
constexpr bool kSanitizer = __has_feature(address_sanitizer) || __has_feature(thread_sanitizer);
#else
constexpr bool kSanitizer = false;
#endif

#ifndef _WIN32
// The address space the process holds now, in bytes.
std::size_t addressSpaceInUse() {
    std::size_t pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm || std::fscanf(statm, "%zu", &pages) != 1) std::abort();
    std::fclose(statm);
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}
#endif

#ifndef _WIN32
// Reads and rewrites the file with `allowance` bytes of address space beyond what the
// process holds; exits 0 when the result is `expected` (a failure text or "no failure"),
// else prints it and exits 1. Run in a child process.
void rewriteWithin(const std::string& path, std::size_t allowance, const std::string& expected) {
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = addressSpaceInUse() + allowance;
    setrlimit(RLIMIT_AS, &limit);
    const std::string text = failureText([&] { writeLines(path, readLines(path)); });
    if (text == expected) std::_Exit(0);
    std::fputs(text.c_str(), stderr);
    std::_Exit(1);
}
#endif

// Reading and rewriting a file takes at most 1.5 times its size, however long its lines;
// a file that does not fit is an error with a text, never an abort. Each row runs in a
// child process whose address space is limited (which the sanitizers cannot run under).
TEST(LineMemory, RewriteWithinOneAndAHalfTimesTheFileAndNoAbortBeyond) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: address space limits (setrlimit)");
#ifndef _WIN32
    if (kSanitizer) GTEST_SKIP() << "the sanitizers need an unlimited address space";
    constexpr std::size_t kSize = 64 << 20;
    TempFolder folder;
    std::string surveyLines;
    while (surveyLines.size() < kSize) surveyLines += std::string(78, 'x') + "\r\n";
    const std::string oneLine = folder.write("one-line.12o", std::string(kSize, 'x'));
    const std::string survey = folder.write("survey.12o", surveyLines);
    surveyLines.clear();
    surveyLines.shrink_to_fit();
    const struct {
        std::string path;
        std::size_t allowance;
        std::string expected;
    } rows[] = {
        {oneLine, kSize * 3 / 2, "no failure"},
        {survey, kSize * 3 / 2, "no failure"},
        {oneLine, kSize / 2, "Za mało pamięci, by wczytać plik \"" + oneLine + "\"."},
        {survey, kSize + kSize / 8, "Za mało pamięci, by wczytać plik \"" + survey + "\"."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path + " within " + std::to_string(row.allowance));
        EXPECT_EXIT(rewriteWithin(row.path, row.allowance, row.expected),
                    ::testing::ExitedWithCode(0), "");
    }
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"one-line.12o", "survey.12o"}));
#endif
}

TEST(LineWriting, EveryLineEndsInCrLf) {
    TempFolder folder;
    const std::string path = folder.write("out.12o", "old contents that are longer\n");
    writeLines(path, listOf({"a", "b", "", "\xB9\0z"s, "last"}));
    EXPECT_EQ(testing::readBytes(path), "a\r\nb\r\n\r\n\xB9\0z\r\nlast\r\n"s);
    writeLines(path, LineList());
    EXPECT_EQ(testing::readBytes(path), "");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"out.12o"});  // no temporary left
}

TEST(LineWriting, LargeFileCrossesWriteChunks) {
    TempFolder folder;
    LineList lines;
    std::string crLfBytes;
    for (int i = 0; i < 60000; ++i) {
        // Now and then a line longer than what is gathered for one write.
        const std::size_t length = i % 20000 == 1 ? 300000 : i % 97;
        const std::string line = " 12  4  3  7  5 " + std::to_string(i) + std::string(length, 'x');
        lines.add(line);
        crLfBytes += line + "\r\n";
    }
    const std::string path = folder.file("big.12o");
    writeLines(path, lines);
    EXPECT_EQ(testing::readBytes(path), crLfBytes);
    EXPECT_EQ(readLines(path).size(), 60000u);
}

TEST(LineWriting, KeepsPermissionsAndGivesNewFilesTheUmask) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: permission bits and the umask");
#ifndef _WIN32
    TempFolder folder;
    const std::string path = folder.write("kept.12o", "x\n");
    for (const mode_t mode : {0640, 0604, 0755}) {
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        writeLines(path, listOf({"y"}));
        struct stat status {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, mode);
    }
    const mode_t mask = umask(022);
    const std::string fresh = folder.file("fresh.12o");
    writeLines(fresh, listOf({"z"}));
    umask(mask);
    struct stat status {};
    ASSERT_EQ(stat(fresh.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
#endif
}

TEST(LineWriting, FollowsSymbolicLink) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: symbolic links");
#ifndef _WIN32
    TempFolder folder;
    const std::string target = folder.write("target.12o", "x\n");
    const std::string link = folder.file("link.12o");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    writeLines(link, listOf({"y"}));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testing::readBytes(target), "y\r\n");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"link.12o", "target.12o"}));
#endif
}

TEST(LineWriting, MissingFolderCannotCreateWithTheFullPath) {
    const std::string cwd = std::filesystem::current_path().string();
    const struct {
        std::string path, shown;
    } rows[] = {
#ifdef _WIN32
        // Mixed slashes made Windows' own.
        {"Z:/nonexistent-dir/x.12o", "Z:\\nonexistent-dir\\x.12o"},
        {"nonexistent-dir/./x.12o", cwd + "\\nonexistent-dir\\x.12o"},
        {"Z:\\nonexistent-dir/sub/../x.12o", "Z:\\nonexistent-dir\\x.12o"},
#else
        {"/nonexistent-dir/x.12o", "/nonexistent-dir/x.12o"},
        {"nonexistent-dir/./x.12o", cwd + "/nonexistent-dir/x.12o"},  // relative: made full
        {"/nonexistent-dir/sub/../x.12o", "/nonexistent-dir/x.12o"},
#endif
    };
    for (const auto& row : rows) {
        EXPECT_EQ(failureText([&] { writeLines(row.path, listOf({"a"})); }),
                  "Cannot create file \"" + row.shown + "\". No such file or directory");
    }
}

TEST(LineWriting, ReadOnlyFolderLeavesOriginalUntouched) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: permission bits of folders");
#ifndef _WIN32
    if (geteuid() == 0) GTEST_SKIP() << "root writes into every folder";
    TempFolder folder;
    const std::string path = folder.write("survey.12o", "original\r\n");
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    EXPECT_EQ(failureText([&] { writeLines(path, listOf({"new"})); }),
              "Cannot create file \"" + path + "\". Permission denied");
    EXPECT_EQ(testing::readBytes(path), "original\r\n");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"survey.12o"});
#endif
}

TEST(LineWriting, ReadOnlyFileLeftUntouched) {
    MARVOLT_NOT_ON_WINDOWS(
        "POSIX only: permission bits (the Windows read-only attribute has a test of its own)");
#ifndef _WIN32
    if (geteuid() == 0) GTEST_SKIP() << "root writes every file";
    TempFolder folder;
    const std::string path = folder.write("survey.12o", "original\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(failureText([&] { writeLines(path, listOf({"new"})); }),
              "Cannot create file \"" + path + "\". Permission denied");
    EXPECT_EQ(testing::readBytes(path), "original\r\n");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"survey.12o"});
#endif
}

TEST(LineWriting, WriteStoppingPartWayLeavesOriginalUntouched) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: file size limits (setrlimit)");
#ifndef _WIN32
    TempFolder folder;
    const std::string path = folder.write("survey.12o", "original\r\n");
    LineList lines;
    for (int i = 0; i < 200000; ++i) lines.add("epoch line");  // more than the size limit

    // A file size limit makes the write fail part-way, also for root.
    const std::string text =
        testing::failureTextWithFileSizeLimit(100000, [&] { writeLines(path, lines); });

    EXPECT_EQ(text, "Stream write error");
    EXPECT_EQ(testing::readBytes(path), "original\r\n");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"survey.12o"});
#endif
}

}  // namespace
}  // namespace marvolt
