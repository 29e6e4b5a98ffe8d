#include "backup_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "line_list.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

namespace {

constexpr std::size_t kCopyPiece = 1 << 17;
const char* const kBackupSuffix = ".bak";

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t count = ::write(fd, data, size);
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

void makeBackupCopy(const std::string& file) {
    struct stat status {};
    const FileDescriptor source = openRegularFile(file, status);
    const std::string backup = file + kBackupSuffix;
    TemporaryFile copy(backup, backup);

    char piece[kCopyPiece];
    for (;;) {
        const ssize_t count = ::read(source.get(), piece, sizeof piece);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw Failure(fileErrorText(errno));
        }
        if (count == 0) break;
        if (!writeAll(copy.fd(), piece, static_cast<std::size_t>(count))) throw streamWriteError();
    }
    copy.replaceTarget({static_cast<mode_t>(status.st_mode & 07777), status.st_uid, status.st_gid});
}

}  // namespace marvolt
