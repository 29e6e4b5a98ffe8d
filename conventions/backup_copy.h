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

}  // namespace marvolt
