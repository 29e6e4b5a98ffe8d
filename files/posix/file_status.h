#pragma once
// A file's status as POSIX gives it (mode, owner, device and inode), for the POSIX side of
// the file layer.

#include <sys/stat.h>

#include <string>

#include "file_descriptor.h"
#include "file_identity.h"

namespace marvolt {

// The identity of a file from its status: device, inode, size and modification time.
FileIdentity identityOf(const struct stat& status);

// Opens a regular file for reading and gives its status. The path is looked at before it is
// opened, so a pipe is never opened (no wait for a writer) and a device is never touched;
// the opened file is checked again. Fails with notRegularFile or the text of fileErrorText.
FileDescriptor openRegularFile(const std::string& path, struct stat& status);

}  // namespace marvolt
