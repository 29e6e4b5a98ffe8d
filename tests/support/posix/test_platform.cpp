// The POSIX side of the tests' helpers: temporary folders and a file size limit.

#include "test_platform.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "failure_text.h"
#include "temp_folder.h"

namespace marvolt::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marvolt-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

bool fileSizeLimits() { return true; }

void setVariable(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

std::string failureTextWithFileSizeLimit(std::size_t bytes, const std::function<void()>& action) {
    rlimit saved{};
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0) throw std::runtime_error("no file size limit");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) throw std::runtime_error("cannot limit files");
    std::string text;
    try {
        text = failureText(action);
    } catch (...) {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        throw;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return text;
}

}  // namespace marvolt::testing
