#include "backup_copy.h"

#include "block_writer.h"
#include "regular_file.h"

namespace marvolt {

namespace {

// The copy of the open file `source` ready under a passing name.
std::unique_ptr<TemporaryFile> copyBeside(int source, const std::string& backup) {
    auto copy = std::make_unique<TemporaryFile>(backup, backup);
    copyWholeFile(source, copy->fd());
    copy->settle({}, source);
    return copy;
}

}  // namespace

void makeBackupCopy(const std::string& file) {
    FileIdentity identity;
    const FileDescriptor source = openRegularFile(file, identity);
    copyBeside(source.get(), file + ".bak")->renameOverTarget();
}

PendingBackup::PendingBackup(const std::string& file) {
    FileIdentity identity;
    const FileDescriptor source = openRegularFile(file, identity);
    const std::string backup = file + ".bak";
    const std::optional<FileIdentity> existing = identityAt(backup);
    if (existing && existing->device == identity.device && existing->inode == identity.inode)
        return;
    name_ = std::make_unique<TemporaryFile>(backup, backup, file);
    if (name_->isSecondName()) return;
    name_.reset();
    name_ = copyBeside(source.get(), backup);
}

void PendingBackup::putInPlace() {
    if (name_) name_->renameOverTarget();
}

}  // namespace marvolt
