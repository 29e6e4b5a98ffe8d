#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "file_status.h"
#include "temporary_file.h"

namespace marvolt {

FileDescriptor openRegularFile(const std::string& path, struct stat& status) {
    if (::stat(path.c_str(), &status) != 0) throw Failure(fileErrorText(errno));
    if (!S_ISREG(status.st_mode)) throw notRegularFile(path);
    // Not blocking, should a pipe have taken the file's place since it was looked at.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) throw Failure(fileErrorText(errno));
    if (::fstat(file.get(), &status) != 0) throw Failure(fileErrorText(errno));
    if (!S_ISREG(status.st_mode)) throw notRegularFile(path);
    return file;
}

FileDescriptor openRegularFile(const std::string& path, FileIdentity& identity) {
    struct stat status {};
    FileDescriptor file = openRegularFile(path, status);
    identity = identityOf(status);
    return file;
}

FileIdentity identityOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

std::optional<FileIdentity> identityAt(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return identityOf(status);
}

std::uint64_t sizeOf(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) throw streamWriteError();
    return static_cast<std::uint64_t>(status.st_size);
}

bool nameExists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

}  // namespace marvolt
