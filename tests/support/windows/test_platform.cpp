// The Windows side of the tests' helpers: temporary folders; Windows has no file size limit.

#include "test_platform.h"

#include <stdlib.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "failure_text.h"
#include "temp_folder.h"

namespace marvolt::testing {

TempFolder::TempFolder() {
    static std::mt19937 generator{std::random_device{}()};
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder =
            temporary / ("marvolt-test-" + std::to_string(generator() % 1000000000));
        if (std::filesystem::create_directory(folder)) {
            path_ = folder.u8string();
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

bool fileSizeLimits() { return false; }

void setVariable(const std::string& name, const std::string& value) {
    ::_putenv_s(name.c_str(), value.c_str());
}

std::string failureTextWithFileSizeLimit(std::size_t, const std::function<void()>&) {
    throw std::runtime_error("Windows has no file size limit");
}

}  // namespace marvolt::testing
