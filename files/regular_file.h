#pragma once
// Survey files are read and rewritten only when they are regular files: a device, a pipe,
// a socket or a folder given in their place is refused before anything is read or written.

#include <cstdint>
#include <optional>
#include <string>

#include "failure.h"
#include "file_descriptor.h"
#include "file_identity.h"

namespace marvolt {

// The Failure for a path that is not a regular file: "\"<full path>\" nie jest zwykłym plikiem."
Failure notRegularFile(const std::string& path);

// The error text for an errno of opening or reading a file: "File not found",
// "Invalid filename", "Too many open files", "File access denied" or "I/O error N".
std::string fileErrorText(int errorNumber);

// The identity of the file a path names now (device or volume, inode or file index, size and
// modification time); none when it cannot be looked at.
std::optional<FileIdentity> identityAt(const std::string& path);
// The size of an open file; fails with "Stream write error".
std::uint64_t sizeOf(int fd);
// True when something has the name (a symbolic link counts, wherever it points).
bool nameExists(const std::string& path);

// Opens a regular file for reading (binary, not passed on to programs started) and gives its
// identity. A path that is not a regular file is refused before it is opened, so a pipe is
// never opened (no wait for a writer) and a device is never touched; the opened file is
// checked again. Fails with notRegularFile or the text of fileErrorText.
FileDescriptor openRegularFile(const std::string& path, FileIdentity& identity);

}  // namespace marvolt
