#include "regular_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "backup_copy.h"
#include "failure_text.h"
#include "line_list.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

using testing::failureText;

#ifndef _WIN32
// Makes a listening-free Unix socket file at the path.
void makeSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(fd);
}
#endif

// A device, a pipe (never opened, so nothing waits for a writer), a socket or a folder, as
// the time file, as the RINEX file, as the source of a backup or as the file rewritten: each
// is refused with one text before anything is read or written, and nothing is made.
TEST(RegularFilesOnly, SpecialFilesAreRefusedUntouched) {
    MARVOLT_NOT_ON_WINDOWS(
        "POSIX only: pipes, sockets, symbolic links and /dev (Windows: its own test of folders and "
        "devices)");
#ifndef _WIN32
    testing::TempFolder folder;
    const std::string pipe = folder.file("pipe.12o");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const std::string socket = folder.file("socket.12o");
    makeSocket(socket);
    const std::string subfolder = folder.file("folder.12o");
    std::filesystem::create_directory(subfolder);
    const std::string linkToZero = folder.file("zero.12o");
    ASSERT_EQ(symlink("/dev/zero", linkToZero.c_str()), 0);

    const std::function<void(const std::string&)> actions[] = {
        [](const std::string& path) { readLines(path); },
        [](const std::string& path) { makeBackupCopy(path); },
        [](const std::string& path) {
            LineList lines;
            lines.add("new");
            writeLines(path, lines);
        },
    };
    for (const std::string& path : {pipe, socket, subfolder, linkToZero, std::string("/dev/null"),
                                    std::string("/dev/zero")}) {
        for (std::size_t i = 0; i < std::size(actions); ++i) {
            SCOPED_TRACE(path + ", action " + std::to_string(i));
            EXPECT_EQ(failureText([&] { actions[i](path); }),
                      "\"" + path + "\" nie jest zwykłym plikiem.");
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_TRUE(std::filesystem::is_socket(socket));
    EXPECT_TRUE(std::filesystem::is_empty(subfolder));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4);
    EXPECT_FALSE(std::filesystem::exists("/dev/null.bak"));
#endif
}

TEST(FileErrorText, OperatingSystemCodes) {
    const struct {
        int code;
        std::string text;
    } rows[] = {
        {ENOENT, "File not found"},
        {ENOTDIR, "Invalid filename"},
        {ENAMETOOLONG, "Invalid filename"},
        {EINVAL, "Invalid filename"},
        {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {EISDIR, "File access denied"},
        {EIO, "I/O error 5"},
        {EBUSY, "I/O error 16"},
        {ETXTBSY, "I/O error " + std::to_string(ETXTBSY)},  // 26 on Linux
    };
    for (const auto& row : rows) EXPECT_EQ(fileErrorText(row.code), row.text) << row.code;
}

}  // namespace
}  // namespace marvolt
