#include "file_lock.h"

#include <cerrno>

#include "file_path.h"
#include "regular_file.h"
#include "windows_file.h"

namespace marvolt {

namespace {

// The byte locked: far beyond any end of file, so that the lock keeps no one from reading
// the file's bytes (a Windows lock refuses reads of the bytes it covers).
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockOffsetLow = 0xFFFFFFFE;

}  // namespace

LockedFile::LockedFile(const std::string& path) {
    FileIdentity identity;
    file_ = openRegularFile(path, identity);
    OVERLAPPED place{};
    place.Offset = kLockOffsetLow;
    place.OffsetHigh = kLockOffsetHigh;
    if (::LockFileEx(handleOf(file_.get()), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                     1, 0, &place))
        return;
    const DWORD error = ::GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
        throw Failure("Plik \"" + fullPath(path) +
                      "\" jest właśnie modyfikowany przez inny program. Spróbuj ponownie za "
                      "chwilę.");
    // No locks on this file system (some network shares): the work goes on without.
    if (error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION &&
        error != ERROR_INVALID_PARAMETER)
        throw Failure(fileErrorText(errnoOf(error)));
}

FileIdentity LockedFile::identity() const {
    const std::optional<FileIdentity> identity = handleIdentity(handleOf(file_.get()));
    if (!identity) throw Failure(fileErrorText(errnoOf(::GetLastError())));
    return *identity;
}

}  // namespace marvolt
