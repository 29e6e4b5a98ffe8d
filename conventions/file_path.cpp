#include "file_path.h"

#include <filesystem>
#include <system_error>

namespace marvolt {

std::string fullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

}  // namespace marvolt
