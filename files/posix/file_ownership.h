#pragma once
// What a replacing file keeps of the file it replaces on POSIX: the mode and the owner.

#include <sys/types.h>

namespace marvolt {

// The mode, and the owner where it is kept, that a replacing file is given.
struct FileOwnership {
    mode_t mode = 0;
    uid_t owner = static_cast<uid_t>(-1);  // -1: left as created
    gid_t group = static_cast<gid_t>(-1);
};

}  // namespace marvolt
