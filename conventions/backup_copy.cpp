#include "backup_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "block_writer.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

void makeBackupCopy(const std::string& file) {
    struct stat status {};
    const FileDescriptor source = openRegularFile(file, status);
    const std::string backup = file + ".bak";
    TemporaryFile copy(backup, backup);
    copyWholeFile(source.get(), copy.fd());
    copy.replaceTarget({static_cast<mode_t>(status.st_mode & 07777), status.st_uid, status.st_gid});
}

namespace {

// A name beside `path` that nothing has yet, made a second name of `file`: true when made,
// false when the file system makes no second names for this file (the reason in errno).
bool linkBeside(const std::string& file, const std::string& path, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        name = path + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        if (::linkat(AT_FDCWD, file.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST) return false;
    }
}

}  // namespace

void makeBackupBeforeReplacing(const std::string& file) {
    struct stat status {};
    openRegularFile(file, status);
    const std::string backup = file + ".bak";
    std::string name;
    bool linked = false;
    int error = 0;
    {
        // The ending signals wait while the second name exists under its passing name, so
        // that no moment leaves it behind.
        const EndingSignalsHeld held;
        linked = linkBeside(file, backup, name);
        if (linked && ::rename(name.c_str(), backup.c_str()) != 0) {
            error = errno;
            ::unlink(name.c_str());
        }
    }
    if (error != 0) throw cannotCreate(backup, error);
    if (linked)
        flushFolderOf(backup);
    else
        makeBackupCopy(file);
}

}  // namespace marvolt
