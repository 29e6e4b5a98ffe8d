#include "file_path.h"

#include <filesystem>
#include <system_error>

namespace marvolt {

std::string fullPath(const std::string& path) {
    std::error_code error;
    // UTF-8 both ways, whatever the system's own encoding of names (Windows: UTF-16).
    const std::filesystem::path full =
        std::filesystem::absolute(std::filesystem::u8path(path), error);
    return error ? path : full.lexically_normal().u8string();
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace marvolt
