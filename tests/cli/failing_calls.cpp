// Preloaded into marvolt-cli by the fault-injection test: counts the file-system calls the
// program makes (reads, writes and syncs on descriptors past standard error; opens, status
// reads, links, renames, locks, mode and owner changes, extended attributes, copies), from
// any of its threads, and makes the Nth of them fail, or does something else to the files
// at that moment.
//
//   MARVOLT_FAIL_AT    N, counted from 1 (unset or 0: no call fails)
//   MARVOLT_FAIL_WITH  what happens at that call:
//                      an errno number the call fails with;
//                      "signal:S" to raise signal S at that call instead;
//                      "truncate:SIZE:PATH" to cut the file PATH to SIZE bytes, then go on;
//                      "append:PATH" to append a line to the file PATH, then go on;
//                      "hold:PATH" to create PATH.held, then wait until PATH exists
//   MARVOLT_CALL_LOG   a file that gets one line per call counted: its name, with
//                      "-folder" added for the opening and the sync of a folder

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

std::atomic<long> callCount{0};

// What happens at the chosen call other than a failure: the files changed by someone else,
// or the program held until the test lets it go.
void act(const char* what) {
    static const auto realOpen = real<int (*)(const char*, int, ...)>("open");
    static const auto realWrite = real<ssize_t (*)(int, const void*, size_t)>("write");
    static const auto realClose = real<int (*)(int)>("close");
    if (std::strncmp(what, "truncate:", 9) == 0) {
        char* path = nullptr;
        const long size = std::strtol(what + 9, &path, 10);
        if (*path != ':' || ::truncate(path + 1, size) != 0) _exit(98);
    } else if (std::strncmp(what, "append:", 7) == 0) {
        const int fd = realOpen(what + 7, O_WRONLY | O_APPEND | O_CLOEXEC);
        const char line[] = "appended by another program\r\n";
        if (fd < 0 || realWrite(fd, line, sizeof line - 1) != sizeof line - 1) _exit(98);
        realClose(fd);
    } else if (std::strncmp(what, "hold:", 5) == 0) {
        const std::string release = what + 5;
        const int fd = realOpen((release + ".held").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) _exit(98);
        realClose(fd);
        while (::access(release.c_str(), F_OK) != 0) ::usleep(2000);
    }
}

// Logs the call and decides its fate: true when it is to fail (errno set).
bool injected(const char* name, int fd = -1) {
    const long count = ++callCount;
    if (const char* log = std::getenv("MARVOLT_CALL_LOG")) {
        static const auto realOpen = real<int (*)(const char*, int, ...)>("open");
        static const auto realWrite = real<ssize_t (*)(int, const void*, size_t)>("write");
        static const auto realFstat = real<int (*)(int, struct stat*)>("fstat");
        static const int logFd = realOpen(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        struct stat status {};
        const bool folder = fd >= 0 && realFstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
        char line[64];
        const int length =
            std::snprintf(line, sizeof line, "%s%s\n", name, folder ? "-folder" : "");
        if (logFd >= 0 && realWrite(logFd, line, static_cast<size_t>(length)) != length) _exit(99);
    }
    const char* at = std::getenv("MARVOLT_FAIL_AT");
    if (!at || std::atol(at) != count) return false;
    const char* with = std::getenv("MARVOLT_FAIL_WITH");
    if (!with) return false;
    if (std::strncmp(with, "signal:", 7) == 0) {
        ::kill(::getpid(), std::atoi(with + 7));  // the process, whichever thread calls
        return false;
    }
    if (!(with[0] >= '0' && with[0] <= '9')) {
        act(with);
        return false;
    }
    errno = std::atoi(with);
    return true;
}

// Only the program's own files count, not its standard streams.
bool ownFile(int fd) { return fd > STDERR_FILENO; }

int modeArgument(int flags, va_list arguments) {
    return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(arguments, int) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int mode = modeArgument(flags, arguments);
    va_end(arguments);
    if (injected(flags & O_DIRECTORY ? "open-folder" : "open")) return -1;
    return real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int mode = modeArgument(flags, arguments);
    va_end(arguments);
    if (injected(flags & O_DIRECTORY ? "open-folder" : "open")) return -1;
    return real<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int mode = modeArgument(flags, arguments);
    va_end(arguments);
    if (injected(flags & O_DIRECTORY ? "openat-folder" : "openat")) return -1;
    return real<int (*)(int, const char*, int, ...)>("openat")(folder, path, flags, mode);
}

int mkostemp(char* pattern, int flags) {
    if (injected("mkostemp")) return -1;
    return real<int (*)(char*, int)>("mkostemp")(pattern, flags);
}

int mkstemp(char* pattern) {
    if (injected("mkstemp")) return -1;
    return real<int (*)(char*)>("mkstemp")(pattern);
}

ssize_t read(int fd, void* data, size_t size) {
    if (ownFile(fd) && injected("read")) return -1;
    return real<ssize_t (*)(int, void*, size_t)>("read")(fd, data, size);
}

ssize_t write(int fd, const void* data, size_t size) {
    if (ownFile(fd) && injected("write")) return -1;
    return real<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
}

ssize_t writev(int fd, const iovec* pieces, int count) {
    if (ownFile(fd) && injected("writev")) return -1;
    return real<ssize_t (*)(int, const iovec*, int)>("writev")(fd, pieces, count);
}

ssize_t copy_file_range(int in, loff_t* inOffset, int out, loff_t* outOffset, size_t size,
                        unsigned flags) {
    if (injected("copy_file_range")) return -1;
    return real<ssize_t (*)(int, loff_t*, int, loff_t*, size_t, unsigned)>("copy_file_range")(
        in, inOffset, out, outOffset, size, flags);
}

ssize_t sendfile(int out, int in, off_t* offset, size_t size) {
    if (injected("sendfile")) return -1;
    return real<ssize_t (*)(int, int, off_t*, size_t)>("sendfile")(out, in, offset, size);
}

int fsync(int fd) {
    if (ownFile(fd) && injected("fsync", fd)) return -1;
    return real<int (*)(int)>("fsync")(fd);
}

int fdatasync(int fd) {
    if (ownFile(fd) && injected("fdatasync", fd)) return -1;
    return real<int (*)(int)>("fdatasync")(fd);
}

int close(int fd) {
    if (ownFile(fd) && injected("close")) {
        real<int (*)(int)>("close")(fd);  // a failed close still frees the descriptor
        return -1;
    }
    return real<int (*)(int)>("close")(fd);
}

int stat(const char* path, struct stat* status) {
    if (injected("stat")) return -1;
    return real<int (*)(const char*, struct stat*)>("stat")(path, status);
}

int lstat(const char* path, struct stat* status) {
    if (injected("lstat")) return -1;
    return real<int (*)(const char*, struct stat*)>("lstat")(path, status);
}

int fstat(int fd, struct stat* status) {
    if (ownFile(fd) && injected("fstat")) return -1;
    return real<int (*)(int, struct stat*)>("fstat")(fd, status);
}

int fstatat(int folder, const char* path, struct stat* status, int flags) {
    if (injected("fstatat")) return -1;
    return real<int (*)(int, const char*, struct stat*, int)>("fstatat")(folder, path, status,
                                                                         flags);
}

int faccessat(int folder, const char* path, int mode, int flags) {
    if (injected("faccessat")) return -1;
    return real<int (*)(int, const char*, int, int)>("faccessat")(folder, path, mode, flags);
}

int fchmod(int fd, mode_t mode) {
    if (injected("fchmod")) return -1;
    return real<int (*)(int, mode_t)>("fchmod")(fd, mode);
}

int fchown(int fd, uid_t owner, gid_t group) {
    if (injected("fchown")) return -1;
    return real<int (*)(int, uid_t, gid_t)>("fchown")(fd, owner, group);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    if (ownFile(fd) && injected("pwrite")) return -1;
    return real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite")(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset) {
    if (ownFile(fd) && injected("pwrite")) return -1;
    return real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64")(fd, data, size, offset);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    if (injected("linkat")) return -1;
    return real<int (*)(int, const char*, int, const char*, int)>("linkat")(fromFolder, from,
                                                                            toFolder, to, flags);
}

int flock(int fd, int operation) {
    if (injected("flock")) return -1;
    return real<int (*)(int, int)>("flock")(fd, operation);
}

ssize_t flistxattr(int fd, char* names, size_t size) {
    if (injected("flistxattr")) return -1;
    return real<ssize_t (*)(int, char*, size_t)>("flistxattr")(fd, names, size);
}

ssize_t fgetxattr(int fd, const char* name, void* value, size_t size) {
    if (injected("fgetxattr")) return -1;
    return real<ssize_t (*)(int, const char*, void*, size_t)>("fgetxattr")(fd, name, value, size);
}

int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) {
    if (injected("fsetxattr")) return -1;
    return real<int (*)(int, const char*, const void*, size_t, int)>("fsetxattr")(fd, name, value,
                                                                                  size, flags);
}

int rename(const char* from, const char* to) {
    if (injected("rename")) return -1;
    return real<int (*)(const char*, const char*)>("rename")(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    if (injected("renameat")) return -1;
    return real<int (*)(int, const char*, int, const char*)>("renameat")(fromFolder, from, toFolder,
                                                                         to);
}

}  // extern "C"
