#include "backup_copy.h"

#include <sys/stat.h>

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

}  // namespace marvolt
