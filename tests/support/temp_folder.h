#pragma once
// A fresh folder for the files one test makes; removed with everything in it afterwards.

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace marvolt::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes the bytes to a file in the folder; returns its full path.
    std::string write(const std::string& name, std::string_view bytes) const;
    // The full path of a name in the folder, with the system's own separator.
    std::string file(const std::string& name) const {
        return path_ + static_cast<char>(std::filesystem::path::preferred_separator) + name;
    }

  private:
    std::string path_;
};

// The bytes of a file, or throws std::runtime_error.
std::string readBytes(const std::string& path);
// The names (UTF-8) of what a folder holds.
std::set<std::string> namesIn(const std::string& folder);
// The bytes of UTF-16 text, little or big endian, a byte-order mark first.
std::string utf16Bytes(const std::u16string& text, bool bigEndian);

}  // namespace marvolt::testing
