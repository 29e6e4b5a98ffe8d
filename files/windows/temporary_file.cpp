#include "temporary_file.h"

#include <fcntl.h>
#include <process.h>

#include <atomic>
#include <cerrno>
#include <random>
#include <string>

#include "file_attributes.h"
#include "file_path.h"
#include "regular_file.h"
#include "wide_text.h"
#include "windows_file.h"

namespace marvolt {

namespace {

// The temporary files that exist now, where the console's handler finds them: at most the
// rewrite of a file and, while it waits to replace the file, the file's backup.
constexpr int kSlotCount = 2;
std::wstring slotPaths[kSlotCount];
bool slotInUse[kSlotCount];

// Guards the slots between the program's threads and the console's handler.
CRITICAL_SECTION& slotsGuard() {
    static CRITICAL_SECTION guard = [] {
        CRITICAL_SECTION made;
        ::InitializeCriticalSection(&made);
        return made;
    }();
    return guard;
}

// Ctrl+C, Ctrl+Break, the console closed, the user logged off, the system shut down: the
// temporary files are removed (a file still open goes when the process ends), then the
// program ends as it would have.
BOOL WINAPI removeTemporaryFiles(DWORD) {
    ::EnterCriticalSection(&slotsGuard());
    for (int i = 0; i < kSlotCount; ++i)
        if (slotInUse[i]) ::DeleteFileW(slotPaths[i].c_str());
    // Held to the end: no new temporary name is made after this.
    return FALSE;
}

void installConsoleHandler() {
    static const bool installed = ::SetConsoleCtrlHandler(removeTemporaryFiles, TRUE);
    (void)installed;
}

int takeSlot(const std::wstring& path) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotInUse[i]) continue;
        slotPaths[i] = path;
        slotInUse[i] = true;
        return i;
    }
    return -1;
}

void releaseSlot(int& slot) {
    if (slot >= 0) {
        const EndingSignalsHeld held;
        slotInUse[slot] = false;
    }
    slot = -1;
}

// Six random letters and digits, so that names do not follow one another.
std::string randomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 6; ++i) suffix += kLetters[generator() % (sizeof kLetters - 1)];
    return suffix;
}

}  // namespace

EndingSignalsHeld::EndingSignalsHeld() { ::EnterCriticalSection(&slotsGuard()); }

EndingSignalsHeld::~EndingSignalsHeld() { ::LeaveCriticalSection(&slotsGuard()); }

Replacement prepareReplacement(const std::string& path) {
    // The full path: the replacing calls take no "." or ".." steps.
    const std::string target = fullPath(path);
    const std::wstring name = wideOf(target);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) throw cannotCreate(path, errnoOf(error));
        return {target, {}};
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) throw notRegularFile(path);
    if (attributes & FILE_ATTRIBUTE_READONLY) throw cannotCreate(path, EACCES);
    // A file another program holds open without letting it be replaced (as some editors do)
    // is refused now, before anything is written.
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw cannotCreate(path, errnoOf(::GetLastError()));
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        throw notRegularFile(path);
    }
    ::CloseHandle(file);
    return {target, {}};
}

void TemporaryFile::create(const std::string* secondNameOf) {
    installConsoleHandler();
    static std::atomic<unsigned> counter{0};
    // The console's handler waits while the name is made and handed to it.
    const EndingSignalsHeld held;
    while (secondNameOf) {
        path_ = target_ + "." + std::to_string(::_getpid()) + "-" + std::to_string(counter++);
        if (::CreateHardLinkW(wideOf(path_).c_str(), wideOf(*secondNameOf).c_str(), nullptr)) {
            secondName_ = true;
            break;
        }
        // Any other failure: no second names here (FAT, exFAT, a network share).
        if (::GetLastError() != ERROR_ALREADY_EXISTS) secondNameOf = nullptr;
    }
    for (int attempt = 0; !secondName_; ++attempt) {
        path_ = target_ + "." + randomSuffix();
        // Without the right to remove it through this handle (it goes by its name), so that
        // another program may open it as the C run-time does, which lets no one remove it
        // meanwhile: rnx2rtkp reads its configuration so.
        const HANDLE file =
            ::CreateFileW(wideOf(path_).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            file_ = descriptorOf(file, _O_RDWR);
            if (file_.get() < 0) {
                ::DeleteFileW(wideOf(path_).c_str());
                throw cannotCreate(shownName_, EMFILE);
            }
            break;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS || attempt == 100)
            throw cannotCreate(shownName_, errnoOf(error));
    }
    slot_ = takeSlot(wideOf(path_));
    if (slot_ < 0) {
        if (file_.get() >= 0) file_.close();
        ::DeleteFileW(wideOf(path_).c_str());
        throw cannotCreate(shownName_, ENAMETOOLONG);
    }
}

TemporaryFile::~TemporaryFile() {
    if (slot_ < 0) return;
    if (file_.get() >= 0) file_.close();
    ::DeleteFileW(wideOf(path_).c_str());
    releaseSlot(slot_);
}

void TemporaryFile::flushToDisk() {
    if (!::FlushFileBuffers(handleOf(file_.get()))) throw streamWriteError();
}

void TemporaryFile::settle(const FileOwnership&, int attributesFrom) {
    flushToDisk();
    if (attributesFrom >= 0) copyExtendedAttributes(attributesFrom, file_.get(), shownName_);
    if (!file_.close()) throw streamWriteError();
}

void TemporaryFile::renameOverTarget() {
    const std::wstring from = wideOf(path_);
    const std::wstring to = wideOf(target_);
    // An existing file is replaced keeping its attributes and security; a new name (and a
    // second name of a file, which has those of the file) is moved into place. Either waits
    // until the new name is on disk.
    bool done = !secondName_ && ::ReplaceFileW(to.c_str(), from.c_str(), nullptr,
                                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!done) {
        const DWORD error = ::GetLastError();
        if (!secondName_ && error != ERROR_FILE_NOT_FOUND)
            throw cannotCreate(shownName_, errnoOf(error));
        done = ::MoveFileExW(from.c_str(), to.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!done) throw cannotCreate(shownName_, errnoOf(::GetLastError()));
    }
    releaseSlot(slot_);
}

// NTFS keeps its names in its journal, and MOVEFILE_WRITE_THROUGH waits for them: nothing
// of a folder needs flushing by hand.
void flushFolderOf(const std::string&) {}

}  // namespace marvolt
