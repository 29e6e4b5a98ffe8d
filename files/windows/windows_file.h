#pragma once
// The Windows side of the file layer: CRT descriptors over file handles, names in UTF-16,
// Windows errors as the errno values the error texts are made from.

#include <windows.h>

#include <optional>
#include <string>

#include "file_descriptor.h"
#include "file_identity.h"

namespace marvolt {

// The handle of an open descriptor; INVALID_HANDLE_VALUE for none.
HANDLE handleOf(int fd);

// A descriptor over the handle (binary: no byte is changed or taken for the end), which
// owns it from now on; the handle is closed and -1 given when none can be made.
FileDescriptor descriptorOf(HANDLE handle, int flags);

// The errno value nearest to a Windows error (ENOENT, EACCES, EEXIST, ENOSPC...; EIO else).
int errnoOf(DWORD error);

// The identity of an open file: volume serial number, file index, size and last-write time.
std::optional<FileIdentity> handleIdentity(HANDLE file);

// What every file of the program is opened with: shared for reading, writing and renaming
// or removing, so that another program's reading and the rename over it go on.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace marvolt
