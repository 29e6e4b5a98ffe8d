#include "backup_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include "block_writer.h"
#include "file_path.h"
#include "file_status.h"
#include "regular_file.h"

namespace marvolt {

namespace {

// The copy of the open file `source` (of status `status`) ready under a passing name.
std::unique_ptr<TemporaryFile> copyBeside(int source, const struct stat& status,
                                          const std::string& backup) {
    auto copy = std::make_unique<TemporaryFile>(backup, backup);
    copyWholeFile(source, copy->fd());
    copy->settle({static_cast<mode_t>(status.st_mode & 07777), status.st_uid, status.st_gid},
                 source);
    return copy;
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

void makeBackupCopy(const std::string& file) {
    struct stat status {};
    const FileDescriptor source = openRegularFile(file, status);
    copyBeside(source.get(), status, file + ".bak")->renameOverTarget();
}

PendingBackup::PendingBackup(const std::string& file) {
    struct stat status {};
    const FileDescriptor source = openRegularFile(file, status);
    const std::string backup = file + ".bak";
    struct stat existing {};
    if (::lstat(backup.c_str(), &existing) == 0 && existing.st_dev == status.st_dev &&
        existing.st_ino == status.st_ino)
        return;
    if (!nameWouldStay(status, folderOf(backup))) {
        name_ = std::make_unique<TemporaryFile>(backup, backup, file);
        if (name_->isSecondName()) return;
        name_.reset();
    }
    name_ = copyBeside(source.get(), status, backup);
}

void PendingBackup::putInPlace() {
    if (name_) name_->renameOverTarget();
}

}  // namespace marvolt
