#pragma once
// The backup of a survey file made before it is rewritten.

#include <memory>
#include <string>

#include "temporary_file.h"

namespace marvolt {

// Copies a regular file byte for byte to "<file>.bak" beside it, with the file's mode, owner
// where allowed, group and extended attributes. The copy is written to a temporary file in
// the same folder, flushed to disk and renamed over the backup name, so an older backup stays
// exactly as it was until the new one is complete, and nothing is left of a copy that failed.
// A backup name that is a symbolic link is replaced by the new file; the file it pointed to
// is not written. Fails with notRegularFile, the texts of line reading, "Cannot create file"
// or "Stream write error".
void makeBackupCopy(const std::string& file);

// The backup of a file that a rename of its rewrite is about to replace, made ready under a
// passing name beside "<file>.bak" and put in place just before that rename. Where the file
// system allows it is a second name of the file itself (a hard link), which the rename then
// leaves as the only name of the old bytes: nothing is copied, and the old bytes are never
// written again; elsewhere, and in a folder with the sticky bit where the user could not
// take a second name away again, it is a copy as makeBackupCopy makes it. A backup name that
// is already a second name of the file is left as it is: it will hold the old bytes. Until
// it is put in place the older backup stays as it is, and a backup never put in place
// leaves no name behind. Fails as makeBackupCopy does.
class PendingBackup {
  public:
    explicit PendingBackup(const std::string& file);
    // Renames it over "<file>.bak" and flushes the folder.
    void putInPlace();

  private:
    std::unique_ptr<TemporaryFile> name_;  // none when there is nothing to do
};

}  // namespace marvolt
