#include "backup_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "block_writer.h"
#include "file_path.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

void makeBackupCopy(const std::string& file) {
    struct stat status {};
    const FileDescriptor source = openRegularFile(file, status);
    const std::string backup = file + ".bak";
    TemporaryFile copy(backup, backup);
    copyWholeFile(source.get(), copy.fd());
    copy.replaceTarget({static_cast<mode_t>(status.st_mode & 07777), status.st_uid, status.st_gid},
                       source.get());
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

// True when a second name of the file could not be taken away again: in a folder with the
// sticky bit only the owner of the file or of the folder may remove a name.
bool nameWouldStay(const struct stat& file, const std::string& folder) {
    struct stat status {};
    const uid_t user = ::geteuid();
    if (user == 0 || file.st_uid == user) return false;
    return ::stat(folder.c_str(), &status) != 0 ||
           ((status.st_mode & S_ISVTX) && status.st_uid != user);
}

}  // namespace

void makeBackupBeforeReplacing(const std::string& file) {
    struct stat status {};
    openRegularFile(file, status);
    const std::string backup = file + ".bak";
    // A backup name that is already a second name of the file will hold the old bytes once
    // the file is replaced: it stays as it is.
    struct stat existing {};
    if (::lstat(backup.c_str(), &existing) == 0 && existing.st_dev == status.st_dev &&
        existing.st_ino == status.st_ino)
        return;
    if (nameWouldStay(status, folderOf(backup))) {
        makeBackupCopy(file);
        return;
    }
    std::string name;
    bool linked = false;
    int error = 0;
    {
        // The ending signals wait while the second name exists under its passing name, so
        // that no moment leaves it behind.
        const EndingSignalsHeld held;
        linked = linkBeside(file, backup, name);
        if (linked && ::rename(name.c_str(), backup.c_str()) != 0) error = errno;
        // Gone after a rename, unless the backup name had become a second name of the same
        // file meanwhile (a rename between two names of one file does nothing).
        if (linked) ::unlink(name.c_str());
    }
    if (error != 0) throw cannotCreate(backup, error);
    if (linked)
        flushFolderOf(backup);
    else
        makeBackupCopy(file);
}

}  // namespace marvolt
