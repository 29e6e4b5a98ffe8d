// Preloaded into marvolt-cli by the fault-injection test: counts the file-system calls the
// program makes (reads, writes and syncs on descriptors past standard error; opens, status
// reads, renames, mode and owner changes, copies) and makes the Nth of them fail.
//
//   MARVOLT_FAIL_AT    N, counted from 1 (unset or 0: no call fails)
//   MARVOLT_FAIL_WITH  an errno number the call fails with, or "signal:S" to raise signal S
//                      at that call instead
//   MARVOLT_CALL_LOG   a file that gets one line per call counted: its name, with
//                      "-folder" added for the opening and the sync of a folder

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

long callCount = 0;

// Logs the call and decides its fate: true when it is to fail (errno set).
bool injected(const char* name, int fd = -1) {
    ++callCount;
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
    if (!at || std::atol(at) != callCount) return false;
    const char* with = std::getenv("MARVOLT_FAIL_WITH");
    if (!with) return false;
    if (std::strncmp(with, "signal:", 7) == 0) {
        std::raise(std::atoi(with + 7));
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
