#include "regular_file.h"

#include <cerrno>

#include "file_path.h"

namespace marvolt {

std::string fileErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "File not found";
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return "Invalid filename";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        case EACCES:
        case EPERM:
        case EISDIR:
            return "File access denied";
        default:
            return "I/O error " + std::to_string(errorNumber);
    }
}

Failure notRegularFile(const std::string& path) {
    return Failure("\"" + fullPath(path) + "\" nie jest zwykłym plikiem.");
}

}  // namespace marvolt
