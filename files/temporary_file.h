#pragma once
// A file written beside the one it is to replace, so that the replaced file is either
// the old one or the new one, never a mixture, and nothing is left behind.

#include <string>

#include "ending_signals.h"
#include "failure.h"
#include "file_descriptor.h"
#include "file_ownership.h"

namespace marvolt {

// Where a rewrite of a file goes and what it keeps of the file it replaces.
struct Replacement {
    std::string target;       // the file itself: a symbolic link is followed, so it stays
    FileOwnership ownership;  // the original's mode and owner, or a new file's mode
};

// Works out, before anything is written, where a rewrite of `path` goes and the mode and
// owner it keeps (on Windows: the full path, nothing kept by hand; a read-only file, or one
// another program holds open without letting it be replaced, is refused). A file the user
// may not write is refused like one that cannot be created
// (although the folder would allow the rename), and so is one whose mode and owner cannot be
// read; a path that is not a regular file is refused with notRegularFile.
Replacement prepareReplacement(const std::string& path);

// An empty temporary file in the folder of `target`, removed again unless it replaces the
// target. It is removed also when the program ends by a signal it can catch (interrupt,
// hang-up, termination, quit, broken pipe, CPU limit): the handlers are installed with the
// first temporary file, for every such signal that is not ignored. A file size limit then
// makes writing fail with an error instead of ending the program (SIGXFSZ is ignored). On
// Windows the console's handler removes it on Ctrl+C, Ctrl+Break or the console's closing;
// its name there ends in a random suffix, and a file that exists is replaced with
// ReplaceFileW, a new name moved into place with MoveFileExW.
class TemporaryFile {
  public:
    // `shownName` is the name the user knows the target by, for the error texts. Fails with
    // "Cannot create file "<full path>". <reason>".
    TemporaryFile(const std::string& target, const std::string& shownName);
    // Where the file system allows, a second name beside `target` of the existing file
    // `secondNameOf` (a hard link: it stands for a copy, and nothing is written to it);
    // elsewhere an empty temporary file as above. isSecondName() tells which.
    TemporaryFile(const std::string& target, const std::string& shownName,
                  const std::string& secondNameOf);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return file_.get(); }             // -1 for a second name
    const std::string& path() const { return path_; }  // its own passing name
    bool isSecondName() const { return secondName_; }
    // Flushes what is written to disk now (replaceTarget does it too), so that a large file
    // is on disk before the next large write begins. Fails with "Stream write error".
    void flushToDisk();
    // Flushes the file to disk, gives it the mode, the group and the owner (an owner the user
    // may not give away is left, and the group is then given on its own, as any member of it
    // may), and, from the open file `attributesFrom` (-1: none), its extended attributes; then
    // closes it. Fails with "Stream write error" or "Cannot create file".
    void settle(const FileOwnership& ownership, int attributesFrom = -1);
    // Renames the settled file over the target and flushes the folder, so the new name
    // survives a power cut. Fails with "Stream write error" or "Cannot create file".
    void renameOverTarget();
    // Both, one after the other.
    void replaceTarget(const FileOwnership& ownership, int attributesFrom = -1) {
        settle(ownership, attributesFrom);
        renameOverTarget();
    }

  private:
    // Makes the name: a second name of the file where one is asked for and can be made.
    void create(const std::string* secondNameOf);

    std::string target_;
    std::string shownName_;
    std::string path_;
    int slot_ = -1;  // where the signal handlers find the path
    bool secondName_ = false;
    FileDescriptor file_;
};

// Flushes the folder that holds `path` to disk, so that a rename in it survives a power cut
// (a file system that cannot flush a folder keeps its names by other means). Fails with
// "Stream write error".
void flushFolderOf(const std::string& path);

// The error of a write that stopped part-way: "Stream write error".
Failure streamWriteError();
// "Cannot create file "<full path>". <the operating system's reason>".
Failure cannotCreate(const std::string& shownName, int errorNumber);

}  // namespace marvolt
