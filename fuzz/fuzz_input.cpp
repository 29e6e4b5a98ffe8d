#include "fuzz_input.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace marvolt::fuzz {

namespace {

// Made on first use, removed with everything in it when the program ends.
struct ScratchFolder {
    ScratchFolder() {
        path = (std::filesystem::temp_directory_path() / "marvolt-fuzz-XXXXXX").string();
        require(mkdtemp(path.data()) != nullptr, "a scratch folder can be made");
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

}  // namespace

const std::string& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

std::string writeScratchFile(const std::string& name, std::string_view bytes) {
    const std::string path = scratchFolder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    require(static_cast<bool>(out), "the scratch file is written");
    return path;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> scratchNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder()))
        names.push_back(entry.path().filename().string());
    return names;
}

}  // namespace marvolt::fuzz
