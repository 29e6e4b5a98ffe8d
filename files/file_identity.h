#pragma once
// Which file, in which state, bytes were read from: a file replaced, written or grown since
// has another identity.

#include <cstdint>

namespace marvolt {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

}  // namespace marvolt
