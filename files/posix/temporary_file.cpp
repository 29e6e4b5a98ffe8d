#include "temporary_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "file_attributes.h"
#include "file_path.h"
#include "regular_file.h"

namespace marvolt {

namespace {

// The signals that end the program and can be caught: a temporary file is removed first.
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGXCPU};

// The temporary files that exist now, where a signal handler may read them: at most the
// rewrite of a file and, while it waits to replace the file, the file's backup.
constexpr int kSlotCount = 2;
char slotPaths[kSlotCount][PATH_MAX];
volatile std::sig_atomic_t slotInUse[kSlotCount];
struct sigaction previousActions[NSIG];

extern "C" void removeTemporaryFilesAndEnd(int signal) {
    for (int i = 0; i < kSlotCount; ++i)
        if (slotInUse[i]) ::unlink(slotPaths[i]);
    // The signal does what it did before: blocked while handled, it is taken on return.
    ::sigaction(signal, &previousActions[signal], nullptr);
    ::raise(signal);
}

void installSignalHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    struct sigaction action {};
    action.sa_handler = removeTemporaryFilesAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) sigaddset(&action.sa_mask, signal);
    for (const int signal : kEndingSignals) {
        struct sigaction previous {};
        ::sigaction(signal, nullptr, &previous);
        if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler == SIG_IGN) continue;
        previousActions[signal] = previous;
        ::sigaction(signal, &action, nullptr);
    }
    // Beyond a file size limit a write then fails with EFBIG, which is reported as an error.
    struct sigaction sizeLimit {};
    ::sigaction(SIGXFSZ, nullptr, &sizeLimit);
    if (!(sizeLimit.sa_flags & SA_SIGINFO) && sizeLimit.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

// Makes the path known to the signal handlers; the place taken, or -1 when none is free.
int takeSlot(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotInUse[i]) continue;
        std::memcpy(slotPaths[i], path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        slotInUse[i] = 1;
        return i;
    }
    return -1;
}

void releaseSlot(int& slot) {
    if (slot >= 0) slotInUse[slot] = 0;
    slot = -1;
}

// The file a rewrite really goes to: a symbolic link is followed so that the link stays.
std::string targetOf(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

EndingSignalsHeld::EndingSignalsHeld() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals) sigaddset(&ending, signal);
    ::sigprocmask(SIG_BLOCK, &ending, &previous_);
}

EndingSignalsHeld::~EndingSignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

Replacement prepareReplacement(const std::string& path) {
    Replacement replacement{targetOf(path), {newFileMode()}};
    struct stat original {};
    if (::stat(replacement.target.c_str(), &original) == 0) {
        if (!S_ISREG(original.st_mode)) throw notRegularFile(path);
        if (::faccessat(AT_FDCWD, replacement.target.c_str(), W_OK, AT_EACCESS) != 0)
            throw cannotCreate(path, errno);
        replacement.ownership = {static_cast<mode_t>(original.st_mode & 07777), original.st_uid,
                                 original.st_gid};
    } else if (errno != ENOENT) {
        throw cannotCreate(path, errno);
    }
    return replacement;
}

void TemporaryFile::create(const std::string* secondNameOf) {
    installSignalHandlers();
    static std::atomic<unsigned> counter{0};
    int error = ENAMETOOLONG;
    // The ending signals wait while the name is made and handed to the handlers, so no
    // moment leaves it behind.
    const EndingSignalsHeld held;
    while (secondNameOf) {
        path_ = target_ + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        if (::linkat(AT_FDCWD, secondNameOf->c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            secondName_ = true;
            break;
        }
        // Any other failure: no second names here (another file system, FAT, a policy).
        if (errno != EEXIST) secondNameOf = nullptr;
    }
    if (!secondName_) {
        path_ = target_ + ".XXXXXX";
        file_ = FileDescriptor(::mkostemp(path_.data(), O_CLOEXEC));
        if (file_.get() < 0) throw cannotCreate(shownName_, errno);
    }
    slot_ = takeSlot(path_);
    if (slot_ < 0) {
        if (file_.get() >= 0) file_.close();
        ::unlink(path_.c_str());
        throw cannotCreate(shownName_, error);
    }
}

TemporaryFile::~TemporaryFile() {
    if (slot_ < 0) return;
    if (file_.get() >= 0) file_.close();
    ::unlink(path_.c_str());
    releaseSlot(slot_);
}

void TemporaryFile::flushToDisk() {
    if (::fsync(file_.get()) != 0) throw streamWriteError();
}

void TemporaryFile::settle(const FileOwnership& ownership, int attributesFrom) {
    flushToDisk();
    const uid_t keep = static_cast<uid_t>(-1);
    if (ownership.owner != keep || ownership.group != static_cast<gid_t>(-1)) {
        // Where the owner cannot be given away, the group alone keeps the access of its members.
        if (::fchown(file_.get(), ownership.owner, ownership.group) != 0) {
            if (errno != EPERM) throw cannotCreate(shownName_, errno);
            if (::fchown(file_.get(), keep, ownership.group) != 0 && errno != EPERM)
                throw cannotCreate(shownName_, errno);
        }
    }
    // After the owner: a change of owner takes the set-user and set-group bits away.
    if (::fchmod(file_.get(), ownership.mode) != 0) throw cannotCreate(shownName_, errno);
    // After the mode: an access control list sets the group bits of the mode by its mask.
    if (attributesFrom >= 0) copyExtendedAttributes(attributesFrom, file_.get(), shownName_);
    if (!file_.close()) throw streamWriteError();
}

void TemporaryFile::renameOverTarget() {
    if (::rename(path_.c_str(), target_.c_str()) != 0) throw cannotCreate(shownName_, errno);
    // A rename between two names of one file does nothing: the passing name goes all the same.
    if (secondName_) ::unlink(path_.c_str());
    releaseSlot(slot_);

    // The rename is kept on disk only when the folder is flushed too.
    flushFolderOf(target_);
}

void flushFolderOf(const std::string& path) {
    // A file system that cannot flush a folder (EINVAL) keeps its names by other means.
    FileDescriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0 || (::fsync(folder.get()) != 0 && errno != EINVAL))
        throw streamWriteError();
}

}  // namespace marvolt
