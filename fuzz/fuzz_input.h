#pragma once
// What the fuzz targets share: the input as text, a check that stops the run, and the
// window's services and fields answered quietly.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "services.h"

namespace marvolt::fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Ends the run as a crash (so libFuzzer keeps the input) when a property does not hold.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// A text as a Failure carries it: up to its first NUL byte.
inline std::string asFailureText(const std::string& text) { return text.c_str(); }

// Keeps the messages.
class QuietServices : public Services {
  public:
    void message(const std::string& text) override { messages.push_back(text); }
    void errorBox(const std::string&) override {}
    void busyCursor() override {}
    void normalCursor() override {}
    std::vector<std::string> messages;
};

// A folder of its own for the files a target writes, removed when the run ends.
const std::string& scratchFolder();

// Writes the bytes to a file in the scratch folder; its path.
std::string writeScratchFile(const std::string& name, std::string_view bytes);

// The bytes of a file, or the empty text when it cannot be read.
std::string fileBytes(const std::string& path);

// The names in the scratch folder.
std::vector<std::string> scratchNames();

}  // namespace marvolt::fuzz
