#include "file_lock.h"

#include <sys/file.h>

#include <cerrno>

#include "file_path.h"
#include "file_status.h"
#include "regular_file.h"

namespace marvolt {

LockedFile::LockedFile(const std::string& path) {
    struct stat status {};
    file_ = openRegularFile(path, status);
    if (::flock(file_.get(), LOCK_EX | LOCK_NB) == 0) return;
    if (errno == EWOULDBLOCK)
        throw Failure("Plik \"" + fullPath(path) +
                      "\" jest właśnie modyfikowany przez inny program. Spróbuj ponownie za "
                      "chwilę.");
    // No locks on this file system (some network and FUSE ones): the work goes on without.
    if (errno != ENOLCK && errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
        throw Failure(fileErrorText(errno));
}

FileIdentity LockedFile::identity() const {
    struct stat status {};
    if (::fstat(file_.get(), &status) != 0) throw Failure(fileErrorText(errno));
    return identityOf(status);
}

}  // namespace marvolt
