#include "temp_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace marvolt::testing {

TempFolder::~TempFolder() {
    std::error_code ignored;
    // A test may have taken the write bit away; give it back so the folder can go.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::write(const std::string& name, std::string_view bytes) const {
    const std::string full = file(name);
    std::ofstream out(std::filesystem::u8path(full), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + full);
    return full;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
        names.insert(entry.path().filename().u8string());
    return names;
}

std::string utf16Bytes(const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : u"\uFEFF" + text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

}  // namespace marvolt::testing
