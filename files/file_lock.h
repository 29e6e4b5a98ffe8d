#pragma once
// A survey file held by one modification at a time: another window or marvolt-cli that
// starts to rewrite the same file meanwhile is turned away before it touches anything.

#include <sys/stat.h>

#include <string>

#include "file_descriptor.h"
#include "file_identity.h"

namespace marvolt {

class LockedFile {
  public:
    // Opens the regular file at `path` for reading (as openRegularFile) and takes an
    // exclusive advisory lock on it at once (flock: it holds between processes, and between
    // two opens of the file in one process). Fails with "Plik "<full path>" jest właśnie
    // modyfikowany przez inny program. Spróbuj ponownie za chwilę." when another holds it. On
    // a file system that keeps no such locks the file is opened without one.
    explicit LockedFile(const std::string& path);

    int fd() const { return file_.get(); }
    // The identity of the open file now; fails with the text of fileErrorText.
    FileIdentity identity() const;

  private:
    FileDescriptor file_;  // closing it lets the lock go
};

}  // namespace marvolt
