#include "regular_file.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "temporary_file.h"
#include "wide_text.h"
#include "windows_file.h"

namespace marvolt {

namespace {

// 100 ns intervals from 1601 (FILETIME) to 1970.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000;

}  // namespace

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

FileDescriptor descriptorOf(HANDLE handle, int flags) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) ::CloseHandle(handle);
    return FileDescriptor(fd);
}

int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return EINVAL;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

std::optional<FileIdentity> handleIdentity(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information)) return std::nullopt;
    const auto wide = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | low;
    };
    const std::int64_t ticks = static_cast<std::int64_t>(wide(
        information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime));
    return FileIdentity{information.dwVolumeSerialNumber,
                        wide(information.nFileIndexHigh, information.nFileIndexLow),
                        wide(information.nFileSizeHigh, information.nFileSizeLow),
                        (ticks - kUnixEpochTicks) * 100};
}

FileDescriptor openRegularFile(const std::string& path, FileIdentity& identity) {
    const std::wstring name = wideOf(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw Failure(fileErrorText(errnoOf(::GetLastError())));
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) throw notRegularFile(path);
    const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw Failure(fileErrorText(errnoOf(::GetLastError())));
    // A pipe or a device given by a name such as CON or \\.\pipe\... is not read.
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    const std::optional<FileIdentity> known = disk ? handleIdentity(handle) : std::nullopt;
    const DWORD error = ::GetLastError();
    FileDescriptor file = descriptorOf(handle, _O_RDONLY);
    if (!disk) throw notRegularFile(path);
    if (!known) throw Failure(fileErrorText(errnoOf(error)));
    if (file.get() < 0) throw Failure(fileErrorText(EMFILE));
    identity = *known;
    return file;
}

std::optional<FileIdentity> identityAt(const std::string& path) {
    // Opened for its attributes alone, which no other program's sharing refuses.
    const HANDLE handle =
        ::CreateFileW(wideOf(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::optional<FileIdentity> identity = handleIdentity(handle);
    ::CloseHandle(handle);
    return identity;
}

std::uint64_t sizeOf(int fd) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handleOf(fd), &size)) throw streamWriteError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool nameExists(const std::string& path) {
    return ::GetFileAttributesW(wideOf(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace marvolt
