#pragma once
// The backup of a survey file made before it is rewritten.

#include <string>

namespace marvolt {

// Copies a regular file byte for byte to "<file>.bak" beside it, with the file's mode (and
// owner where allowed). The copy is written to a temporary file in the same folder, flushed
// to disk and renamed over the backup name, so an older backup stays exactly as it was until
// the new one is complete, and nothing is left of a copy that failed. A backup name that is
// a symbolic link is replaced by the new file; the file it pointed to is not written.
// Fails with notRegularFile, the texts of line reading, "Cannot create file" or
// "Stream write error".
void makeBackupCopy(const std::string& file);

// The backup of a file that a rename of its rewrite is about to replace: "<file>.bak" is
// made a second name of the file itself (a hard link, renamed over an older backup and
// flushed), which the rename then leaves as the only name of the old bytes. Nothing is
// copied, and the old bytes are never written again. Where the file system has no such
// names, or the file is on another one than its name, makeBackupCopy. Fails as that does.
void makeBackupBeforeReplacing(const std::string& file);

}  // namespace marvolt
